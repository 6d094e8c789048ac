#include "plots/background_blocks.h"

#include <new>

#include "core/error.h"

std::optional<lv::HatchStyle> CWBackgroundBlock::HatchOf(int32_t pattern) {
  switch (pattern) {
    case 0:
      return lv::HatchStyle::kDiagonalCross;
    case 1:
      return lv::HatchStyle::kBackwardDiagonal;
    case 2:
      return lv::HatchStyle::kForwardDiagonal;
    case 3:
      return lv::HatchStyle::kHorizontal;
    default:
      return std::nullopt;
  }
}

void CWBackgroundBlockList::AddItem(const CWBackgroundBlock* block) {
  if (block == nullptr) {
    throw new CQError("NULL pointer to item to add to list.", "CWBackgroundBlockList::AddItem");
  }
  if (count_ < capacity_) {
    blocks_[count_] = *block;
    ++count_;
    return;
  }
  std::unique_ptr<CWBackgroundBlock[]> grown(new (std::nothrow) CWBackgroundBlock[count_ + 1]);
  if (!grown) {
    throw new CQError(1, "CWBackgroundBlockList::AddItem");
  }
  for (int32_t i = 0; i < count_; ++i) {
    grown[i] = blocks_[i];
  }
  grown[count_] = *block;
  blocks_ = std::move(grown);
  count_ += 1;
  capacity_ = count_;
}

const CWBackgroundBlock* CWBackgroundBlockList::GetItem(int32_t i) const {
  if (i < 0 || i >= count_) {
    throw new CQError("Invalid item index.", "CWBackgroundBlockList::GetItem");
  }
  if (!blocks_) {
    throw new CQError("Empty list.", "CWBackgroundBlockList::GetItem");
  }
  return &blocks_[i];
}

CWBackgroundBlock* CWBackgroundBlockList::GetItem(int32_t i) {
  return const_cast<CWBackgroundBlock*>(static_cast<const CWBackgroundBlockList*>(this)->GetItem(i));
}
