#include <memory>
#include <vector>

#include <gtest/gtest.h>

#include "core/arrays/carray.h"
#include "core/arrays/ciarray.h"
#include "core/arrays/farray.h"
#include "core/arrays/farray_fd.h"
#include "support/errors.h"

namespace {

using lv_test::Catch;

// 1000 samples at 1 MHz whose value i is (i, -i).
std::unique_ptr<CQCArrayTD> Ramp(int n = 1000, double rate = 1e6) {
  std::vector<CQComplex> v(static_cast<size_t>(n));
  for (int i = 0; i < n; ++i) v[static_cast<size_t>(i)] = CQComplex(static_cast<float>(i), static_cast<float>(-i));
  auto a = std::make_unique<CQCArrayTD>();
  a->Set(v.data(), n, rate, 0.0);
  return a;
}

TEST(CQCArrayTD, PadAndTrimKeepTheTimeOriginRight) {
  auto a = Ramp();
  a->PrependZeroData(10);
  EXPECT_EQ(a->GetNumPoints(), 1010);
  EXPECT_NEAR(a->GetTimeOrigin(), -10e-6, 1e-15);
  EXPECT_EQ(a->GetDataPtr()[10], CQComplex(0, 0));
  EXPECT_EQ(a->GetDataPtr()[11], CQComplex(1, -1));
  a->SkipNumPoints(20);
  EXPECT_EQ(a->GetNumPoints(), 990);
  EXPECT_NEAR(a->GetTimeOrigin(), 10e-6, 1e-15);
  EXPECT_EQ(a->GetDataPtr()[0], CQComplex(10, -10));
  a->AppendZeroData(5);
  a->LimitToNumPoints(2000);  // more than held: nothing
  EXPECT_EQ(a->GetNumPoints(), 995);
  a->RemoveData(-5, 0);  // nothing
  EXPECT_EQ(a->GetNumPoints(), 995);
  a->RemoveData(1, 4);
  EXPECT_EQ(a->GetNumPoints(), 990);
  EXPECT_EQ(a->GetDataPtr()[0], CQComplex(11, -11));
  EXPECT_NEAR(a->GetTimeOrigin(), 10e-6, 1e-15);  // RemoveData keeps the origin

  const auto e = Catch([&] { a->SkipNumPoints(990); });
  EXPECT_EQ(e.message, "Invalid number of points.");
  EXPECT_EQ(e.callStack, "CQCArray::SkipNumPoints\nCQCArrayTD::SkipNumPoints\n");
  EXPECT_EQ(a->GetNumPoints(), 990);
  EXPECT_NEAR(a->GetTimeOrigin(), 10e-6, 1e-15);  // unchanged on failure
  a->SkipNumPoints(0);
  EXPECT_EQ(a->GetDataPtr()[0], CQComplex(11, -11));
  a->RemoveData(500, 500);  // front + back >= count empties without error
  EXPECT_EQ(a->GetNumPoints(), 0);
  EXPECT_EQ(a->GetDataPtr(), nullptr);
  a->AppendZeroData(3);  // an empty complex array simply becomes zeros
  EXPECT_EQ(a->GetNumPoints(), 3);
  EXPECT_EQ(Catch([&] { a->PrependZeroData(0); }).message, "Invalid number of points.");
}

TEST(CQCArrayTD, ConstructionSetAndCopies) {
  const auto e = Catch([] { CQCArrayTD empty(0); });
  EXPECT_EQ(e.code, 1);
  EXPECT_EQ(e.callStack, "CQArrayMath::AllocComplex\nCQCArrayTD::CQCArrayTD\n");
  CQCArrayTD zeros(4);
  EXPECT_EQ(zeros.GetDataPtr()[3], CQComplex(0, 0));

  auto a = Ramp(10);
  a->Set(static_cast<const CQComplex*>(nullptr), 10);  // same count: nothing changes
  EXPECT_EQ(a->GetNumPoints(), 10);
  a->Set(static_cast<const CQComplex*>(nullptr), 5);  // other count: emptied, no error
  EXPECT_EQ(a->GetNumPoints(), 0);

  auto b = Ramp(10);
  const auto err = Catch([&] { b->Set(b->GetDataPtr(), 10, 0.0, 0.0); });
  EXPECT_EQ(err.message, "Invalid sample rate.");
  EXPECT_EQ(err.callStack, "CQCArrayTD::Set\n");
  EXPECT_EQ(Catch([&] { b->Set(static_cast<const CQComplex*>(nullptr), 0, 0.0, 0.0); }).message,
            "Null pointer to data.");

  b->SetCenterFreq(2.4e9);
  b->SetBandwidth(1e6);
  b->SetValid(false);
  b->StartDateTime().year = 2025;
  std::unique_ptr<CQCArrayTD> copy(b->MakeCopy());
  EXPECT_EQ(copy->GetNumPoints(), 10);
  EXPECT_EQ(copy->GetCenterFreq(), 2.4e9);
  EXPECT_FALSE(copy->IsValid());
  CQCArrayTD viaSet;
  viaSet.Set(b.get());
  EXPECT_EQ(viaSet.GetBandwidth(), 1e6);
  EXPECT_EQ(viaSet.StartDateTime().year, 2025);

  CQCArrayTD empty;
  empty.SetSampleRate(1.0);
  const auto ce = Catch([&] { delete empty.MakeCopy(); });
  EXPECT_EQ(ce.message, "Null pointer to data.");
  EXPECT_EQ(ce.callStack, "CQCArrayTD::Set\nCQCArrayTD::MakeCopy\n");
}

TEST(CQCArrayTD, SubsetWindowsAtTheEnds) {
  auto a = Ramp(100, 1e3);
  a->SetTimeOrigin(1.0);
  struct Case {
    int start, n;
    std::vector<float> re;  // expected real parts (-1 marks a zero that must be 0+0j)
    double origin;
  } cases[] = {
      {-5, 10, {0, 0, 0, 0, 0, 0, 1, 2, 3, 4}, 1.0 - 0.005},
      {95, 10, {95, 96, 97, 98, 99, 0, 0, 0, 0, 0}, 1.0 + 0.095},
      {200, 10, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, 1.0 + 0.2},
      {-30, 10, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, 1.0 - 0.03},
      {10, 3, {10, 11, 12}, 1.01},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.start);
    std::unique_ptr<CQCArrayTD> s(a->MakeCopyOfSubset(c.start, c.n));
    ASSERT_EQ(s->GetNumPoints(), c.n);
    for (int i = 0; i < c.n; ++i) EXPECT_EQ(s->GetDataPtr()[i].re, c.re[static_cast<size_t>(i)]) << i;
    EXPECT_NEAR(s->GetTimeOrigin(), c.origin, 1e-12);
  }
  std::unique_ptr<CQCArrayTD> none(a->MakeCopyOfSubset(0, 0));
  EXPECT_EQ(none->GetNumPoints(), 0);
  EXPECT_EQ(none->GetSampleRate(), 1e3);
}

TEST(CQCArray, DerivedViews) {
  auto a = Ramp(4);
  std::unique_ptr<CQFArrayTD> re(a->MakeCopyOfReal());
  std::unique_ptr<CQFArrayTD> im(a->MakeCopyOfImag());
  EXPECT_EQ(re->GetDataPtr()[3], 3.0f);
  EXPECT_EQ(im->GetDataPtr()[3], -3.0f);
  EXPECT_EQ(im->GetSampleRate(), 1e6);
  std::unique_ptr<CQDArray> t(a->MakeCopyOfTime());
  EXPECT_DOUBLE_EQ(t->GetDataPtr()[3], 3e-6);
  std::unique_ptr<CQFArray> ph(a->CQCArray::MakeCopyOfPhaseDeg());
  EXPECT_NEAR(ph->GetDataPtr()[1], -45.0f, 1e-4f);
  CQCArray empty;
  EXPECT_EQ(Catch([&] { delete empty.MakeCopyOfMagdB20(); }).message, "Error allocating memory.");
}

TEST(CQFArray, SetPadTrimAndTimeDomain) {
  CQFArray f;
  const float v[] = {1, 2, 3};
  f.Set(v, 3);
  auto e = Catch([&] { f.Set(nullptr, 3); });
  EXPECT_EQ(e.message, "Null pointer to data.");
  EXPECT_EQ(f.GetNumPoints(), 0);  // a failed Set leaves the array empty
  e = Catch([&] { f.PrependZeroData(2); });
  EXPECT_EQ(e.message, "Attempt to prepend zeros to non-existent data.");
  EXPECT_EQ(e.callStack, "CQFArray::PrependZeroData\n");
  EXPECT_EQ(Catch([&] { f.AppendZeroData(2); }).message, "Attempt to append zeros to non-existent data.");

  std::vector<float> hundred(100, 1.0f);
  CQFArrayTD td;
  td.Set(hundred.data(), 100, 1e3, 0.0);
  td.SkipNumPoints(10);
  EXPECT_EQ(td.GetNumPoints(), 90);
  EXPECT_NEAR(td.GetTimeOrigin(), 0.01, 1e-15);
  CQFArray emptyF;
  e = Catch([&] { td.Set(&emptyF, 1e3, 0.0); });
  EXPECT_EQ(e.message, "Null pointer to data.");
  EXPECT_EQ(e.callStack, "CQFArray::Set\nCQFArrayTD::Set\n");

  CQDArray d;
  const double a[] = {1, 2}, b[] = {3, 4};
  d.Set(a, 2);
  const double* storage = d.GetDataPtr();
  d.Set(b, 2);  // same count reuses the storage
  EXPECT_EQ(d.GetDataPtr(), storage);
  EXPECT_EQ(d.GetDataPtr()[1], 4.0);
}

TEST(CQFArrayFD, AxisAndList) {
  std::vector<float> v(401, 1.0f);
  CQFArrayFD fd;
  fd.Set(v.data(), 401, -1e6, 5e3, 0.0);
  EXPECT_DOUBLE_EQ(fd.GetStopFreq(), 1e6);

  CQFArrayFD g;
  std::vector<float> w(21, 2.0f);
  g.Set(w.data(), 21, -10e3, 1e3, 0.5);
  g.SetCenterFreq(2.4e9);
  std::unique_ptr<CQDArray> freq(g.MakeCopyOfFreq());
  EXPECT_DOUBLE_EQ(freq->GetDataPtr()[0], 2.39999e9);
  EXPECT_DOUBLE_EQ(freq->GetDataPtr()[20], 2.40001e9);

  CQFArrayFDList list(3);
  EXPECT_EQ(Catch([&] { list.SetItem(7, nullptr); }).message, "NULL pointer to item to set in list.");
  EXPECT_EQ(Catch([&] { list.GetItem(-1); }).message, "Invalid item index.");
  EXPECT_EQ(Catch([&] { list.GetItem(3); }).message, "Invalid item index.");
  list.SetItem(1, &g);
  w[0] = 99.0f;
  g.Set(w.data(), 21, -10e3, 1e3, 0.5);
  EXPECT_EQ(list.GetItem(1)->GetDataPtr()[0], 2.0f);  // the list holds a copy
  EXPECT_EQ(list.GetItem(1)->GetCenterFreq(), 2.4e9);
  list.SetNumItems(0);
  EXPECT_EQ(Catch([&] { list.GetItem(0); }).message, "Invalid item index.");
}

TEST(CQCIArray, PadTrimAndRelease) {
  CQCIArrayTD a;
  a.AppendZeroData(4);
  EXPECT_EQ(a.GetNumPoints(), 4);
  EXPECT_EQ(a.GetDataPtr()[3], (CQIComplex{0, 0}));
  CQCIArray ten;
  ten.AppendZeroData(10);
  for (int i = 0; i < 10; ++i) ten.GetDataPtr()[i] = CQIComplex{static_cast<int16_t>(i), 0};
  ten.RemoveData(2, 3);
  EXPECT_EQ(ten.GetNumPoints(), 5);
  EXPECT_EQ(ten.GetDataPtr()[0].re, 2);
  ten.PrependZeroData(1);
  EXPECT_EQ(ten.GetNumPoints(), 6);
  EXPECT_EQ(ten.GetDataPtr()[1].re, 2);
  ten.SkipNumPoints(0);
  EXPECT_EQ(ten.GetNumPoints(), 6);
  EXPECT_EQ(Catch([&] { ten.SkipNumPoints(6); }).callStack, "CQCIArray::SkipNumPoints\n");
  CQCIArrayTD td;
  td.SetSampleRate(2e6);
  td.AppendZeroData(10);
  td.SkipNumPoints(4);
  EXPECT_NEAR(td.GetTimeOrigin(), 2e-6, 1e-15);
}

TEST(CQComplex, Arithmetic) {
  const CQComplex a(1, 2), b(3, -1);
  EXPECT_EQ(a + b, CQComplex(4, 1));
  EXPECT_EQ(a * b, CQComplex(5, 5));
  const CQComplex q = a / b;
  EXPECT_NEAR(q.re, 0.1f, 1e-7f);
  EXPECT_NEAR(q.im, 0.7f, 1e-7f);
  EXPECT_EQ(a / CQComplex(0, 0), CQComplex(0, 0));
  CQComplex c = a;
  EXPECT_EQ(c += b, CQComplex(4, 1));
}

}  // namespace
