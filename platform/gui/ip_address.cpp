#include "platform/gui/ip_address.h"

#include <QCoreApplication>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QSignalBlocker>
#include <algorithm>
#include <cwchar>

#include "platform/gui/dialog_window.h"
#include "platform/gui/ip_address_qt.h"
#include "platform/gui/qt_bridge.h"

namespace lv {

namespace gui_internal {

IpAddressWidget::IpAddressWidget(QWidget* parent) : QWidget(parent) {
  // The frame and background of an edit behind the fields, so the control
  // looks like the dialog's other edits (and greys with them when disabled).
  backdrop_ = new QLineEdit(this);
  backdrop_->setReadOnly(true);
  backdrop_->setFocusPolicy(Qt::NoFocus);
  backdrop_->setAttribute(Qt::WA_TransparentForMouseEvents);
  const auto* digits = new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,3}")), this);
  for (size_t i = 0; i < fields_.size(); ++i) {
    auto* f = new QLineEdit(this);
    f->setFrame(false);
    f->setAlignment(Qt::AlignCenter);
    f->setMaxLength(3);
    f->setValidator(digits);
    f->setFocusPolicy(Qt::StrongFocus);
    f->installEventFilter(this);
    const int field = static_cast<int>(i);
    QObject::connect(f, &QLineEdit::textChanged, this, [this] { FieldChanged(); });
    QObject::connect(f, &QLineEdit::textEdited, this, [this, field] { OnEdited(field); });
    fields_[i] = f;
  }
  for (auto& dot : dots_) {
    dot = new QLabel(QStringLiteral("."), this);
    dot->setAlignment(Qt::AlignCenter);
    dot->setAttribute(Qt::WA_TransparentForMouseEvents);
  }
  setFocusProxy(fields_[0]);
  LayOut();
}

IpAddressWidget::~IpAddressWidget() {
  // The fields outlive this body (QWidget deletes them later): nothing they
  // report from now on may reach the dialog.
  dying_ = true;
  changed = nullptr;
  for (QLineEdit* f : fields_) {
    f->removeEventFilter(this);
    QObject::disconnect(f, nullptr, this, nullptr);
  }
}

IpAddressWidget::Values IpAddressWidget::GetValues() const {
  Values v{};
  for (size_t i = 0; i < fields_.size(); ++i) {
    // A field the user is still typing in reads as it will be once left.
    const QString t = fields_[i]->text();
    v[i] = t.isEmpty() ? kBlank : std::clamp(t.toInt(), low_[i], high_[i]);
  }
  return v;
}

void IpAddressWidget::SetValues(const Values& values) {
  ++quiet_;
  for (size_t i = 0; i < fields_.size(); ++i) {
    QString t;
    if (values[i] != kBlank) {
      t = QString::number(std::clamp(values[i], low_[i], high_[i]));
    }
    if (fields_[i]->text() != t) {
      fields_[i]->setText(t);
    }
  }
  --quiet_;
  if (quiet_ == 0 && quietChanged_) {
    quietChanged_ = false;
    if (changed) changed();
  }
}

QString IpAddressWidget::Text() const {
  const Values v = GetValues();
  if (std::all_of(v.begin(), v.end(), [](int x) { return x == kBlank; })) {
    return {};
  }
  QStringList parts;
  for (int x : v) parts << QString::number(x == kBlank ? 0 : x);
  return parts.join(QLatin1Char('.'));
}

void IpAddressWidget::SetText(const QString& text) {
  Values v{kBlank, kBlank, kBlank, kBlank};
  if (!text.isEmpty()) {
    const QStringList parts = text.split(QLatin1Char('.'));
    for (int i = 0; i < 4 && i < parts.size(); ++i) {
      const QString p = parts[i].trimmed();
      bool ok = false;
      const unsigned long n = p.toULong(&ok, 10);
      if (ok && !p.isEmpty() && p[0].isDigit()) {
        v[static_cast<size_t>(i)] = static_cast<int>(std::min<unsigned long>(n, 255));
      }
    }
  }
  SetValues(v);
}

bool IpAddressWidget::SetRange(int field, int low, int high) {
  if (field < 0 || field > 3 || low < 0 || high > 255 || low > high) {
    return false;
  }
  low_[static_cast<size_t>(field)] = low;
  high_[static_cast<size_t>(field)] = high;
  Complete(field);
  return true;
}

void IpAddressWidget::FocusField(int field, bool selectAll, int cursor) {
  if (field < 0 || field > 3) {
    return;
  }
  if (field != current_) {
    Complete(current_);
  }
  current_ = field;
  QLineEdit* f = fields_[static_cast<size_t>(field)];
  f->setFocus(Qt::OtherFocusReason);
  if (selectAll) {
    f->selectAll();
  } else {
    f->deselect();
    f->setCursorPosition(cursor < 0 ? static_cast<int>(f->text().size()) : cursor);
  }
}

int IpAddressWidget::IndexOf(QObject* o) const {
  for (size_t i = 0; i < fields_.size(); ++i) {
    if (fields_[i] == o) return static_cast<int>(i);
  }
  return -1;
}

bool IpAddressWidget::eventFilter(QObject* watched, QEvent* event) {
  const int field = dying_ ? -1 : IndexOf(watched);
  if (field < 0) {
    return QWidget::eventFilter(watched, event);
  }
  switch (event->type()) {
    case QEvent::FocusIn:
      current_ = field;
      break;
    case QEvent::FocusOut:
      Complete(field);
      break;
    case QEvent::KeyPress:
      current_ = field;
      return OnKey(field, static_cast<QKeyEvent*>(event));
    default:
      break;
  }
  return QWidget::eventFilter(watched, event);
}

bool IpAddressWidget::OnKey(int field, QKeyEvent* key) {
  QLineEdit* f = fields_[static_cast<size_t>(field)];
  const bool plain = (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) == 0;
  const int pos = f->cursorPosition();
  const bool selection = f->hasSelectedText();
  // A dot typed right after a third digit moved on belongs to that move.
  const bool afterAdvance = justAdvanced_;
  justAdvanced_ = false;
  switch (key->key()) {
    case Qt::Key_Backspace:
      if (pos == 0 && !selection && field > 0) {
        FocusField(field - 1, false);
        return true;
      }
      return false;
    case Qt::Key_Left:
      if (pos == 0 && !selection && field > 0) {
        FocusField(field - 1, false);
        return true;
      }
      return false;
    case Qt::Key_Right:
      if (pos == f->text().size() && !selection && field < 3) {
        FocusField(field + 1, false, 0);
        return true;
      }
      return false;
    case Qt::Key_Home:
      FocusField(0, false, 0);
      return true;
    case Qt::Key_End:
      FocusField(3, false);
      return true;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
      return false;  // the dialog's keys
    default:
      break;
  }
  const QString text = key->text();
  if (!plain || text.isEmpty()) {
    return false;  // shortcuts (copy, paste, select all) and the remaining keys
  }
  const QChar c = text[0];
  if (c == QLatin1Char('.') || c == QLatin1Char(' ')) {
    // Moves on once the field holds a number; an empty field keeps the input.
    if (!afterAdvance && !f->text().isEmpty() && field < 3) {
      FocusField(field + 1, true);
    }
    return true;
  }
  if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) {
    return false;  // the field takes it (three digits at most)
  }
  return true;  // nothing else belongs in an address
}

void IpAddressWidget::OnEdited(int field) {
  QLineEdit* f = fields_[static_cast<size_t>(field)];
  // A third digit typed at the end fills the field: on to the next one.
  if (f->text().size() == 3 && f->cursorPosition() == 3) {
    Complete(field);
    if (field < 3) {
      FocusField(field + 1, true);
      justAdvanced_ = true;
    }
  }
}

void IpAddressWidget::Complete(int field) {
  if (field < 0 || field > 3) {
    return;
  }
  QLineEdit* f = fields_[static_cast<size_t>(field)];
  const QString t = f->text();
  if (t.isEmpty()) {
    return;
  }
  const int v = std::clamp(t.toInt(), low_[static_cast<size_t>(field)], high_[static_cast<size_t>(field)]);
  const QString normal = QString::number(v);
  if (normal != t) {
    f->setText(normal);
  }
}

void IpAddressWidget::FieldChanged() {
  if (dying_) {
    return;
  }
  if (quiet_ > 0) {
    quietChanged_ = true;
    return;
  }
  if (changed) changed();
}

void IpAddressWidget::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  LayOut();
}

void IpAddressWidget::LayOut() {
  backdrop_->setGeometry(0, 0, width(), height());
  const int frame = 2;
  const int innerW = std::max(0, width() - 2 * frame);
  const int innerH = std::max(0, height() - 2 * frame);
  const int dotW = QFontMetrics(font()).horizontalAdvance(QLatin1Char('.')) + 2;
  const int fieldW = std::max(0, (innerW - 3 * dotW) / 4);
  // What the division leaves goes to the margins, so the fields stay centred.
  int x = frame + (innerW - 4 * fieldW - 3 * dotW) / 2;
  for (size_t i = 0; i < fields_.size(); ++i) {
    fields_[i]->setGeometry(x, frame, fieldW, innerH);
    fields_[i]->raise();
    x += fieldW;
    if (i < dots_.size()) {
      dots_[i]->setGeometry(x, frame, dotW, innerH);
      dots_[i]->raise();
      x += dotW;
    }
  }
}

}  // namespace gui_internal

class IpAddressAccess {
 public:
  static gui_internal::IpAddressWidget* Widget(const Dialog& d, int id) {
    const gui_internal::DialogWindow* win = d.window_;
    const gui_internal::Control* c = win != nullptr ? win->Find(id) : nullptr;
    if (c == nullptr || c->kind != ControlKind::kIpAddress) {
      return nullptr;
    }
    return static_cast<gui_internal::IpAddressWidget*>(c->widget);
  }
};

using gui_internal::IpAddressWidget;

std::wstring FormatIpAddress(uint32_t packed) {
  wchar_t text[32];
  std::swprintf(text, 32, L"%d.%d.%d.%d", IpAddressField(packed, 0), IpAddressField(packed, 1),
                IpAddressField(packed, 2), IpAddressField(packed, 3));
  return text;
}

bool SetIpAddress(Dialog& dialog, int id, uint32_t packed) {
  IpAddressWidget* w = IpAddressAccess::Widget(dialog, id);
  if (w == nullptr) return false;
  w->SetValues({IpAddressField(packed, 0), IpAddressField(packed, 1), IpAddressField(packed, 2),
                IpAddressField(packed, 3)});
  return true;
}

int GetIpAddress(const Dialog& dialog, int id, uint32_t* packed) {
  IpAddressWidget* w = IpAddressAccess::Widget(dialog, id);
  if (w == nullptr) return -1;
  const IpAddressWidget::Values v = w->GetValues();
  int filled = 0;
  uint32_t out = 0;
  for (int x : v) {
    out = (out << 8) | static_cast<uint32_t>(x == IpAddressWidget::kBlank ? 0 : x);
    filled += x == IpAddressWidget::kBlank ? 0 : 1;
  }
  if (packed != nullptr) *packed = out;
  return filled;
}

bool ClearIpAddress(Dialog& dialog, int id) {
  IpAddressWidget* w = IpAddressAccess::Widget(dialog, id);
  if (w == nullptr) return false;
  w->SetValues({IpAddressWidget::kBlank, IpAddressWidget::kBlank, IpAddressWidget::kBlank, IpAddressWidget::kBlank});
  return true;
}

bool IsIpAddressBlank(const Dialog& dialog, int id) {
  uint32_t packed = 0;
  return GetIpAddress(dialog, id, &packed) == 0;
}

bool SetIpAddressText(Dialog& dialog, int id, std::wstring_view text) {
  IpAddressWidget* w = IpAddressAccess::Widget(dialog, id);
  if (w == nullptr) return false;
  w->SetText(gui_internal::ToQString(text));
  return true;
}

bool SetIpAddressRange(Dialog& dialog, int id, int field, int low, int high) {
  IpAddressWidget* w = IpAddressAccess::Widget(dialog, id);
  return w != nullptr && w->SetRange(field, low, high);
}

bool SetIpAddressFocus(Dialog& dialog, int id, int field) {
  IpAddressWidget* w = IpAddressAccess::Widget(dialog, id);
  if (w == nullptr || field < 0 || field > 3) return false;
  w->FocusField(field, true);
  return true;
}

namespace {

bool SendKey(QWidget* target, int key, const QString& text) {
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
  QCoreApplication::sendEvent(target, &press);
  QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
  QCoreApplication::sendEvent(target, &release);
  return true;
}

int QtKeyOfCharacter(QChar c) {
  if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) return Qt::Key_0 + (c.unicode() - '0');
  if (c == QLatin1Char('.')) return Qt::Key_Period;
  if (c == QLatin1Char(' ')) return Qt::Key_Space;
  if (c >= QLatin1Char('a') && c <= QLatin1Char('z')) return Qt::Key_A + (c.unicode() - 'a');
  if (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) return Qt::Key_A + (c.unicode() - 'A');
  return Qt::Key_unknown;
}

}  // namespace

bool TypeIntoIpAddress(Dialog& dialog, int id, std::wstring_view characters) {
  IpAddressWidget* w = IpAddressAccess::Widget(dialog, id);
  if (w == nullptr || !w->isEnabled()) return false;
  const QString text = gui_internal::ToQString(characters);
  for (const QChar c : text) {
    SendKey(w->Field(w->InputField()), QtKeyOfCharacter(c), QString(c));
  }
  return true;
}

bool PressIpAddressKey(Dialog& dialog, int id, IpAddressKey key) {
  IpAddressWidget* w = IpAddressAccess::Widget(dialog, id);
  if (w == nullptr || !w->isEnabled()) return false;
  int k = Qt::Key_unknown;
  switch (key) {
    case IpAddressKey::kBackspace: k = Qt::Key_Backspace; break;
    case IpAddressKey::kDelete: k = Qt::Key_Delete; break;
    case IpAddressKey::kLeft: k = Qt::Key_Left; break;
    case IpAddressKey::kRight: k = Qt::Key_Right; break;
    case IpAddressKey::kHome: k = Qt::Key_Home; break;
    case IpAddressKey::kEnd: k = Qt::Key_End; break;
  }
  return SendKey(w->Field(w->InputField()), k, QString());
}

std::wstring IpAddressFieldText(const Dialog& dialog, int id, int field) {
  IpAddressWidget* w = IpAddressAccess::Widget(dialog, id);
  if (w == nullptr || field < 0 || field > 3) return {};
  return w->Field(field)->text().toStdWString();
}

int IpAddressInputField(const Dialog& dialog, int id) {
  IpAddressWidget* w = IpAddressAccess::Widget(dialog, id);
  return w != nullptr ? w->InputField() : -1;
}

int IpAddressCursor(const Dialog& dialog, int id) {
  IpAddressWidget* w = IpAddressAccess::Widget(dialog, id);
  return w != nullptr ? w->Field(w->InputField())->cursorPosition() : -1;
}

}  // namespace lv
