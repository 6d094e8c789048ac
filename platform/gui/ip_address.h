// The IPv4 address control of dialogs (ControlKind::kIpAddress): four fields
// of 0 to 255 separated by dots, as the classic address control behaves.
//
// Typing: a field takes up to three digits; the third digit moves on to the
// next field, and so does "." or a space typed after at least one digit (a
// dot typed right after such a move belongs to it: "192.168.001.002" fills
// four fields).
// Backspace at the start of a field and the arrow keys at a field's edges
// move to the neighbouring field. A field is clamped into its range (0-255
// unless SetIpAddressRange says otherwise) when the user leaves it or fills
// it, and shows its number without leading zeros. A field may be blank; a
// blank control has four blank fields.
//
// The control reports every change of its fields (typed, clamped or set) to
// its dialog's OnEditChanged with its id, once per change; setting the value
// it already holds reports nothing. The dialog's other accessors work on it:
// GetItemText gives the dotted text ("" when blank, blank fields as 0),
// SetItemText takes dotted text as SetIpAddressText does, EnableItem enables
// and disables all four fields.
//
// Addresses are packed as the classic control packs them: the first field in
// the highest byte. Everything below runs on the GUI thread, on a dialog
// whose window exists; an unknown id or a control of another kind answers
// false (or 0, or an empty text).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/gui/dialog.h"

namespace lv {

inline constexpr int kIpAddressFields = 4;

// Four field values packed, the first in the highest byte (each taken
// modulo 256).
constexpr uint32_t MakeIpAddress(uint32_t first, uint32_t second, uint32_t third, uint32_t fourth) {
  return ((first & 0xFFu) << 24) | ((second & 0xFFu) << 16) | ((third & 0xFFu) << 8) | (fourth & 0xFFu);
}
// Field 0..3 of a packed address.
constexpr int IpAddressField(uint32_t packed, int field) {
  return static_cast<int>((packed >> (8 * (3 - (field & 3)))) & 0xFFu);
}
// "a.b.c.d" of a packed address.
std::wstring FormatIpAddress(uint32_t packed);

// Fills all four fields (none stays blank).
bool SetIpAddress(Dialog& dialog, int id, uint32_t packed);
// The packed address and the number of fields that are not blank (0..4);
// blank fields count as 0. -1 without such a control.
int GetIpAddress(const Dialog& dialog, int id, uint32_t* packed);
// Blanks all four fields.
bool ClearIpAddress(Dialog& dialog, int id);
// True when all four fields are blank.
bool IsIpAddressBlank(const Dialog& dialog, int id);
// Dotted text into the fields: up to four parts separated by ".", each a
// decimal number (clamped into its field's range) or empty (a blank field);
// missing parts are blank, parts past the fourth are ignored. A part that is
// not a number blanks its field. False without such a control.
bool SetIpAddressText(Dialog& dialog, int id, std::wstring_view text);
// The range of one field (0..3), low <= high within 0..255; the field's
// number is clamped into it at once. False for a bad field or range.
bool SetIpAddressRange(Dialog& dialog, int id, int field, int low, int high);
// Puts the keyboard focus into a field (0..3) and selects its text.
bool SetIpAddressFocus(Dialog& dialog, int id, int field);

// ---- test hooks (used only by tests) --------------------------------------

// Keys a user can press in the control besides characters.
enum class IpAddressKey { kBackspace, kDelete, kLeft, kRight, kHome, kEnd };

// Types the characters into the control as real key presses, one at a time,
// into whichever field has the input (digits, ".", " ", any other character).
bool TypeIntoIpAddress(Dialog& dialog, int id, std::wstring_view characters);
// Presses one of the keys above in the field that has the input.
bool PressIpAddressKey(Dialog& dialog, int id, IpAddressKey key);
// The text a field shows ("" when blank), and the field that has the input
// (-1 without such a control).
std::wstring IpAddressFieldText(const Dialog& dialog, int id, int field);
int IpAddressInputField(const Dialog& dialog, int id);
// The cursor position inside the field that has the input.
int IpAddressCursor(const Dialog& dialog, int id);

}  // namespace lv
