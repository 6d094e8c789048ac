// The portable-FFT tests reach class 0 through the dispatched entry points:
// the whole program runs with the dispatch index forced to class 0.
#include <gtest/gtest.h>

#include <memory>

#include "cpu/dispatch_testing.h"

namespace {

class PortableClassEnvironment : public ::testing::Environment {
 public:
  void SetUp() override { scoped_ = std::make_unique<ScopedProcessorClass>(0); }
  void TearDown() override { scoped_.reset(); }

 private:
  std::unique_ptr<ScopedProcessorClass> scoped_;
};

[[maybe_unused]] ::testing::Environment* const kEnvironment =
    ::testing::AddGlobalTestEnvironment(new PortableClassEnvironment);

}  // namespace
