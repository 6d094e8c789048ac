#include "workers/gui/units_button.h"

#include <cmath>

#include "platform/gui/popup_menu.h"

namespace {

struct UnitRow {
  const wchar_t* text;
  double factor;
  uint32_t command;
};

// Codes 1 to 21. The two sample-rate families share texts and factors and
// differ only in their menu commands.
constexpr UnitRow kUnits[21] = {
    {L"sec", 1.0, 36200},     {L"msec", 1e-3, 36201},   {L"usec", 1e-6, 36202},   {L"nsec", 1e-9, 36203},
    {L"psec", 1e-12, 36204},  {L"Hz", 1.0, 36208},      {L"kHz", 1e3, 36207},     {L"MHz", 1e6, 36206},
    {L"GHz", 1e9, 36205},     {L"sps", 1.0, 36212},     {L"ksps", 1e3, 36211},    {L"Msps", 1e6, 36210},
    {L"Gsps", 1e9, 36209},    {L"sps", 1.0, 36216},     {L"ksps", 1e3, 36215},    {L"Msps", 1e6, 36214},
    {L"Gsps", 1e9, 36213},    {L"Points", 1.0, 36220},  {L"kPoints", 1e3, 36219}, {L"MPoints", 1e6, 36218},
    {L"GPoints", 1e9, 36217},
};

bool Valid(int32_t code) { return code >= CWUnitsButton::kFirstCode && code <= CWUnitsButton::kLastCode; }

// The base (smallest) code of a family other than time.
int32_t BaseOf(int32_t code) {
  if (code <= CWUnitsButton::kGHz) return CWUnitsButton::kHz;
  if (code <= CWUnitsButton::kGsps) return CWUnitsButton::kSps;
  if (code <= CWUnitsButton::kGsps2) return CWUnitsButton::kSps2;
  return CWUnitsButton::kPoints;
}

}  // namespace

const wchar_t* CWUnitsButton::UnitText(int32_t code) { return Valid(code) ? kUnits[code - 1].text : L""; }
double CWUnitsButton::UnitFactor(int32_t code) { return Valid(code) ? kUnits[code - 1].factor : 1.0; }
uint32_t CWUnitsButton::UnitCommand(int32_t code) { return Valid(code) ? kUnits[code - 1].command : 0; }

int32_t CWUnitsButton::CodeOfCommand(uint32_t command) {
  for (int32_t code = kFirstCode; code <= kLastCode; ++code) {
    if (kUnits[code - 1].command == command) return code;
  }
  return 0;
}

std::vector<int32_t> CWUnitsButton::FamilyCodes(int32_t code) {
  if (!Valid(code)) return {};
  if (code <= kPsec) return {kSec, kMsec, kUsec, kNsec, kPsec};
  const int32_t base = BaseOf(code);
  return {base + 3, base + 2, base + 1, base};
}

CWUnitsButton::CWUnitsButton(int32_t unitCode) {
  text_.clear();
  code_ = unitCode;
  UpdateUnitsText();
}

CWUnitsButton::~CWUnitsButton() {
  // The window belongs to the owner's dialog and goes with it; only the
  // release handler points back here.
  if (owner_ != nullptr) {
    lv::SetControlReleaseHandler(*owner_, id_, {});
  }
}

bool CWUnitsButton::Create(lv::Dialog& owner, int placeholderId) {
  if (!owner.HasControl(placeholderId)) return false;
  const lv::Rect place = owner.GetItemRect(placeholderId);
  lv::ControlTemplate button;
  button.id = placeholderId;
  button.kind = lv::ControlKind::kPushButton;
  button.text = text_;
  button.style = lv::kStyleTabStop;
  // Takes the placeholder's id and place (the placeholder goes) and the
  // dialog's font.
  if (!owner.CreateControl(button, place)) return false;
  owner_ = &owner;
  id_ = placeholderId;
  SetCaption();
  owner.ShowItem(id_, true);
  lv::SetControlReleaseHandler(owner, id_, [this](lv::Point p) { OnLButtonUp(p); });
  BuildUnitsMenu();
  return true;
}

void CWUnitsButton::SelectUnitsForValue(double value) {
  if (Valid(code_)) {
    const double a = std::fabs(value);
    if (code_ <= kPsec) {
      // A NaN fails every comparison and lands on the largest unit.
      if (a < 1e-9) code_ = kPsec;
      else if (a < 1e-6) code_ = kNsec;
      else if (a < 1e-3) code_ = kUsec;
      else if (a < 1.0) code_ = kMsec;
      else code_ = kSec;
    } else {
      const int32_t base = BaseOf(code_);
      if (a < 1e3) code_ = base;
      else if (a < 1e6) code_ = base + 1;
      else if (a < 1e9) code_ = base + 2;
      else code_ = base + 3;
    }
  }
  UpdateUnitsText();
  SetCaption();
}

double CWUnitsButton::GetMultiplier() const { return UnitFactor(code_); }

void CWUnitsButton::UpdateUnitsText() {
  if (!Valid(code_)) return;
  text_ = UnitText(code_);
  if (text_.size() > kUnitTextChars - 1) text_.resize(kUnitTextChars - 1);
}

void CWUnitsButton::BuildUnitsMenu() {
  menu_.clear();
  for (int32_t code : FamilyCodes(code_)) {
    menu_.push_back(lv::MenuItem::Command(UnitCommand(code), UnitText(code)));
  }
}

void CWUnitsButton::CheckCurrentUnits() {
  const uint32_t current = UnitCommand(code_);
  for (lv::MenuItem& item : menu_) {
    item.checked = item.id == current && current != 0;
  }
}

void CWUnitsButton::OnLButtonUp(lv::Point point) {
  if (owner_ == nullptr) return;
  CheckCurrentUnits();
  const std::weak_ptr<int> alive = alive_;
  const uint32_t command = lv::TrackControlPopupMenu(*owner_, id_, point, menu_);
  if (alive.expired()) return;
  if (command >= kFirstCommand && command <= kLastCommand) {
    OnUnitsCommand(command);
  }
}

void CWUnitsButton::OnUnitsCommand(uint32_t command) {
  const int32_t code = CodeOfCommand(command);
  if (code == 0) return;
  code_ = code;
  UpdateUnitsText();
  SetCaption();
  if (owner_ != nullptr) {
    lv::NotifyControlClicked(*owner_, id_);
  }
}

void CWUnitsButton::SetCaption() {
  if (owner_ != nullptr) owner_->SetItemText(id_, text_);
}
