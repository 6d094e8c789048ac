// CWBackgroundBlockList: the hatched x ranges the plot engine draws behind
// the data (the spectrum window's measurement bands).
#pragma once

#include <cstdint>
#include <memory>
#include <optional>

#include "platform/gui/drawing.h"

struct CWBackgroundBlock {
  bool on = false;
  double xStart = 0.0;  // data units
  double xEnd = 1.0;
  int32_t color = 6;    // palette index
  int32_t pattern = 0;  // 0 diagonal cross, 1 backward diagonal, 2 forward diagonal, 3 horizontal

  // The hatch of a pattern code; none for a code outside 0..3 (such a block
  // is not drawn).
  static std::optional<lv::HatchStyle> HatchOf(int32_t pattern);
};

class CWBackgroundBlockList {
 public:
  CWBackgroundBlockList() = default;
  CWBackgroundBlockList(const CWBackgroundBlockList&) = delete;
  CWBackgroundBlockList& operator=(const CWBackgroundBlockList&) = delete;

  // Copies the block to the end of the list. The array grows by exactly one
  // block when it is full; blocks kept after clearing are reused. A null
  // block: "NULL pointer to item to add to list.".
  void AddItem(const CWBackgroundBlock* block);
  // Block i (0 <= i < count): "Invalid item index." otherwise.
  CWBackgroundBlock* GetItem(int32_t i);
  const CWBackgroundBlock* GetItem(int32_t i) const;

  int32_t GetCount() const { return count_; }
  int32_t GetCapacity() const { return capacity_; }
  // Empties the list; the allocated blocks stay for reuse.
  void Clear() { count_ = 0; }

 private:
  int32_t count_ = 0;
  int32_t capacity_ = 0;
  std::unique_ptr<CWBackgroundBlock[]> blocks_;
};
