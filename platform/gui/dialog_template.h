// Dialog templates as data: the controls of a dialog (id, kind, text,
// rectangle in dialog units, style flags), its caption, size and font, and
// the conversion from dialog units to pixels.
//
// Dialog units scale with the dialog font: a horizontal unit is a quarter of
// the font's average character width, a vertical unit an eighth of its
// character height. The average width is taken over the 52 letters A-Z a-z
// as (width of the 52 letters / 26 + 1) / 2, the height is the cell height
// (ascent + descent); every coordinate is converted on its own with
// round-to-nearest (v * base / 4, v * base / 8).
//
// Plain data, no Qt: every subsystem may include this header.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/gui/command_ids.h"  // the end codes of the standard buttons
#include "platform/gui/drawing.h"

namespace lv {

enum class ControlKind : int32_t {
  kStaticText,     // QLabel: a label, wrapped at word boundaries
  kFrame,          // QFrame: an etched frame, often a hidden placeholder
  kEdit,           // QLineEdit
  kPushButton,     // QPushButton
  kDefPushButton,  // QPushButton, the dialog's default button
  kCheckBox,       // QCheckBox
  kRadioButton,    // QRadioButton; a run of radio buttons is one group
  kGroupBox,       // QGroupBox: a titled frame behind its sibling controls
  kDropDownList,   // QComboBox, not editable; the height is that of the open list
  kListBox,        // QListWidget
  kTabControl,     // QTabWidget without pages: a row of tabs
  kComboBox,       // QComboBox with an edit field; the height is that of the open list
  kIpAddress,      // four 0-255 fields with dots (ip_address.h); reports changes as an edit
};

// Style flags (combine with |).
enum ControlStyle : uint32_t {
  kStyleNone = 0,
  kStyleHidden = 1u << 0,           // created invisible
  kStyleDisabled = 1u << 1,         // created disabled
  kStyleTabStop = 1u << 2,          // reached with Tab
  kStyleGroup = 1u << 3,            // starts a new group (radio buttons)
  kStyleBorder = 1u << 4,           // a border around the control
  kStyleVScroll = 1u << 5,          // vertical scroll bar when needed
  kStyleHScroll = 1u << 6,          // horizontal scroll bar when needed
  kStyleNoSelection = 1u << 7,      // list box: entries cannot be selected
  kStyleNoIntegralHeight = 1u << 8, // list box: exactly the template height
  kStyleNotify = 1u << 9,           // list box: reports selection changes
  kStyleReadOnly = 1u << 10,        // edit: cannot be typed into
  kStyleNumber = 1u << 11,          // edit: digits only
  kStyleRight = 1u << 12,           // text aligned right (edit, static)
  kStyleCenter = 1u << 13,          // text centred (static)
  kStyleSort = 1u << 14,            // list box and drop-down list: sorted entries
  kStyleLeftText = 1u << 15,        // check box: the text left of the box
};

struct ControlTemplate {
  int id = 0;  // -1 for controls nobody addresses (labels)
  ControlKind kind = ControlKind::kStaticText;
  std::wstring text;
  int x = 0;  // dialog units
  int y = 0;
  int w = 0;
  int h = 0;
  uint32_t style = kStyleNone;
};

// The dialog font. pointSize is converted at 96 pixels per inch (8 points:
// an em of 11 pixels), as the dialog fonts of the classic desktop were.
struct DialogFont {
  FontFace face = FontFace::kSans;
  int pointSize = 8;
  bool bold = false;
  friend bool operator==(const DialogFont&, const DialogFont&) = default;
};

struct DialogTemplate {
  std::string name;       // the template's name ("ErrorDialog") or number ("126")
  std::wstring caption;   // the window title (a property page's tab text)
  int width = 0;          // client size in dialog units
  int height = 0;
  DialogFont font;
  std::vector<ControlTemplate> controls;
};

// The control of a template by id, or null.
const ControlTemplate* FindControl(const DialogTemplate& tmpl, int id);

// The base units of a font: x = average character width, y = cell height
// (pixels). Needs the Qt application object.
Size DialogBaseUnits(const DialogFont& font);

// One coordinate or extent in dialog units to pixels.
int DialogXToPixels(int x, Size base);
int DialogYToPixels(int y, Size base);
// A rectangle x, y, w, h in dialog units to pixels (each value converted on
// its own, as the dialog manager converts a template's controls).
Rect DialogRectToPixels(int x, int y, int w, int h, Size base);

}  // namespace lv
