#include "platform/gui/dialog.h"

#include <QApplication>
#include <QGuiApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QThread>
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <mutex>

#include "platform/gui/dialog_window.h"
#include "platform/gui/fonts.h"
#include "platform/gui/ip_address_qt.h"
#include "platform/gui/qt_bridge.h"

namespace lv {

namespace {

std::mutex g_hookMutex;
DialogFailureHook g_failureHook;

// v * mul / div rounded to nearest, halves away from zero.
int MulDivRound(int v, int mul, int div) {
  if (div == 0) {
    return 0;
  }
  const int64_t p = static_cast<int64_t>(v) * mul;
  const int64_t half = div / 2;
  return static_cast<int>(p >= 0 ? (p + half) / div : -((-p + half) / div));
}

std::wstring ToWide(const QString& s) { return s.toStdWString(); }

QString Letters() { return QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"); }

}  // namespace

bool WindowSystemAvailable() { return qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr; }

bool OnGuiThread() {
  QCoreApplication* app = QCoreApplication::instance();
  return app != nullptr && QThread::currentThread() == app->thread();
}

DialogFailureHook SetDialogFailureHook(DialogFailureHook hook) {
  std::lock_guard<std::mutex> lock(g_hookMutex);
  DialogFailureHook previous = std::move(g_failureHook);
  g_failureHook = std::move(hook);
  return previous;
}

const ControlTemplate* FindControl(const DialogTemplate& tmpl, int id) {
  for (const auto& c : tmpl.controls) {
    if (c.id == id) {
      return &c;
    }
  }
  return nullptr;
}

int DialogXToPixels(int x, Size base) { return MulDivRound(x, base.cx, 4); }
int DialogYToPixels(int y, Size base) { return MulDivRound(y, base.cy, 8); }

Rect DialogRectToPixels(int x, int y, int w, int h, Size base) {
  const int left = DialogXToPixels(x, base);
  const int top = DialogYToPixels(y, base);
  return Rect{left, top, left + DialogXToPixels(w, base), top + DialogYToPixels(h, base)};
}

Size DialogBaseUnits(const DialogFont& font) { return gui_internal::BaseUnitsOf(gui_internal::DialogQFont(font)); }

namespace gui_internal {

QFont DialogQFont(const DialogFont& font) {
  QFont f(QString::fromLatin1(RequestedFontFamily(font.face)));
  // Points at 96 pixels per inch, as the classic dialog fonts were sized.
  f.setPixelSize(std::max(1, MulDivRound(font.pointSize, 96, 72)));
  f.setWeight(font.bold ? QFont::Bold : QFont::Normal);
  f.setStyleHint(font.face == FontFace::kMono ? QFont::TypeWriter : QFont::SansSerif);
  f.setStyleStrategy(QFont::NoSubpixelAntialias);
  return f;
}

Size BaseUnitsOf(const QFont& font) {
  const QFontMetrics m(font);
  const int letters = m.horizontalAdvance(Letters());
  return Size{(letters / 26 + 1) / 2, m.height()};
}

void BringToFront(QWidget* w) {
  w->show();
  // The offscreen platform has no stacking order (and says so on raise()).
  if (QGuiApplication::platformName() != QLatin1String("offscreen")) {
    w->raise();
    w->activateWindow();
  }
}

void Guarded(const std::function<void()>& handler) {
  try {
    handler();
  } catch (...) {
    DialogFailureHook hook;
    {
      std::lock_guard<std::mutex> lock(g_hookMutex);
      hook = g_failureHook;
    }
    if (hook) {
      try {
        hook(std::current_exception());
      } catch (...) {
      }
    } else {
      std::fputs("Lumvard Sorvek: a dialog handler failed\n", stderr);
    }
  }
}

DialogWidget::DialogWidget(QWidget* parent) : QDialog(parent) {
  setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
}

void DialogWidget::reject() {
  if (cancel) {
    cancel();
  } else {
    QDialog::reject();
  }
}

Control* DialogWindow::Find(int id) {
  for (auto& c : controls) {
    if (c.id == id && c.widget != nullptr) {
      return &c;
    }
  }
  return nullptr;
}

const Control* DialogWindow::Find(int id) const { return const_cast<DialogWindow*>(this)->Find(id); }

namespace {

// The height of one list-box entry: the font's cell plus a pixel above and below.
int ListItemHeight(const QWidget* list) { return QFontMetrics(list->font()).height() + 2; }

void ApplyExtent(QListWidget* list, int extent) {
  const QFontMetrics m(list->font());
  const int h = ListItemHeight(list);
  for (int i = 0; i < list->count(); ++i) {
    QListWidgetItem* item = list->item(i);
    const int textWidth = m.horizontalAdvance(item->text()) + 6;
    item->setSizeHint(QSize(std::max(extent, textWidth), h));
  }
}

void InsertListItem(Control& c, QListWidget* list, const QString& text, int& index) {
  index = list->count();
  if ((c.style & kStyleSort) != 0) {
    index = 0;
    while (index < list->count() && QString::compare(list->item(index)->text(), text, Qt::CaseInsensitive) <= 0) {
      ++index;
    }
  }
  auto* item = new QListWidgetItem(text);
  list->insertItem(index, item);
  ApplyExtent(list, c.extent);
}

}  // namespace

Control* DialogWindow::AddControl(const ControlTemplate& t, const QRect& rect) {
  const QString text = gui_internal::ToQString(t.text);
  QWidget* w = nullptr;
  const int id = t.id;
  Qt::Alignment textAlign = Qt::AlignLeft;
  if ((t.style & kStyleRight) != 0) {
    textAlign = Qt::AlignRight;
  } else if ((t.style & kStyleCenter) != 0) {
    textAlign = Qt::AlignHCenter;
  }
  switch (t.kind) {
    case ControlKind::kStaticText: {
      auto* label = new QLabel(text, root);
      label->setWordWrap(true);
      label->setAlignment(textAlign | Qt::AlignTop);
      label->setTextFormat(Qt::PlainText);
      w = label;
      break;
    }
    case ControlKind::kFrame: {
      auto* frame = new QFrame(root);
      frame->setFrameStyle(QFrame::Box | QFrame::Sunken);
      w = frame;
      break;
    }
    case ControlKind::kEdit: {
      auto* edit = new QLineEdit(text, root);
      edit->setReadOnly((t.style & kStyleReadOnly) != 0);
      edit->setAlignment(textAlign | Qt::AlignVCenter);
      if ((t.style & kStyleNumber) != 0) {
        edit->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), edit));
      }
      QObject::connect(edit, &QLineEdit::textChanged, edit, [this, id] { EditChanged(id); });
      w = edit;
      break;
    }
    case ControlKind::kPushButton:
    case ControlKind::kDefPushButton: {
      auto* button = new QPushButton(text, root);
      button->setDefault(t.kind == ControlKind::kDefPushButton);
      button->setAutoDefault(dialog != nullptr);
      QObject::connect(button, &QPushButton::clicked, button, [this, id] { Clicked(id); });
      w = button;
      break;
    }
    case ControlKind::kCheckBox: {
      auto* box = new QCheckBox(text, root);
      QObject::connect(box, &QCheckBox::clicked, box, [this, id] { Clicked(id); });
      w = box;
      break;
    }
    case ControlKind::kRadioButton: {
      auto* radio = new QRadioButton(text, root);
      radio->setAutoExclusive(false);
      // A run of radio buttons is one group; kStyleGroup starts a new run.
      QButtonGroup* group = nullptr;
      if (!controls.empty() && (t.style & kStyleGroup) == 0 && controls.back().kind == ControlKind::kRadioButton &&
          controls.back().widget != nullptr) {
        group = static_cast<QRadioButton*>(controls.back().widget)->group();
      }
      if (group == nullptr) {
        group = new QButtonGroup(root);
        group->setExclusive(true);
      }
      group->addButton(radio);
      QObject::connect(radio, &QRadioButton::clicked, radio, [this, id] { Clicked(id); });
      w = radio;
      break;
    }
    case ControlKind::kGroupBox: {
      auto* group = new QGroupBox(text, root);
      // The classic group box: its frame line runs through the middle of the
      // title, so the template's rectangle is the frame's outer edge with the
      // title on its top line.
      const int half = QFontMetrics(root->font()).height() / 2;
      group->setStyleSheet(QStringLiteral("QGroupBox { border: 1px solid palette(mid); border-radius: 0px;"
                                          " margin-top: %1px; }"
                                          " QGroupBox::title { subcontrol-origin: margin;"
                                          " subcontrol-position: top left; left: 6px; padding: 0px 2px; }")
                               .arg(half));
      w = group;
      break;
    }
    case ControlKind::kDropDownList: {
      auto* combo = new QComboBox(root);
      combo->setEditable(false);
      combo->setMaxVisibleItems(std::max(1, (rect.height() - 24) / std::max(1, QFontMetrics(combo->font()).height())));
      QObject::connect(combo, &QComboBox::activated, combo, [this, id] { SelectionChanged(id); });
      w = combo;
      break;
    }
    case ControlKind::kListBox: {
      auto* list = new QListWidget(root);
      list->setSelectionMode((t.style & kStyleNoSelection) != 0 ? QAbstractItemView::NoSelection
                                                                 : QAbstractItemView::SingleSelection);
      list->setVerticalScrollBarPolicy((t.style & kStyleVScroll) != 0 ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
      list->setHorizontalScrollBarPolicy((t.style & kStyleHScroll) != 0 ? Qt::ScrollBarAsNeeded
                                                                        : Qt::ScrollBarAlwaysOff);
      list->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
      list->setUniformItemSizes(true);
      list->setTextElideMode(Qt::ElideNone);
      list->setWordWrap(false);
      if ((t.style & kStyleBorder) == 0) {
        list->setFrameShape(QFrame::NoFrame);
      }
      if ((t.style & kStyleNotify) != 0) {
        QObject::connect(list, &QListWidget::currentRowChanged, list, [this, id] { SelectionChanged(id); });
      }
      w = list;
      break;
    }
    case ControlKind::kTabControl: {
      auto* tabs = new QTabWidget(root);
      QObject::connect(tabs, &QTabWidget::currentChanged, tabs, [this, id] { SelectionChanged(id); });
      w = tabs;
      break;
    }
    case ControlKind::kIpAddress: {
      auto* ip = new IpAddressWidget(root);
      ip->changed = [this, id] { EditChanged(id); };
      w = ip;
      break;
    }
  }
  Control c;
  c.id = id;
  c.kind = t.kind;
  c.style = t.style;
  c.widget = w;
  c.font = owner->template_.font;
  QRect r = rect;
  if (t.kind == ControlKind::kDropDownList) {
    // The template's height is that of the open list; closed, the control
    // is as high as its font needs.
    r.setHeight(std::min(rect.height(), w->sizeHint().height()));
  } else if (t.kind == ControlKind::kListBox && (t.style & kStyleNoIntegralHeight) == 0) {
    auto* list = static_cast<QListWidget*>(w);
    const int frame = 2 * list->frameWidth();
    const int item = ListItemHeight(list);
    r.setHeight(frame + std::max(1, (rect.height() - frame) / item) * item);
  }
  w->setGeometry(r);
  if (!text.isEmpty()) {
    w->setAccessibleName(QString(text).remove(QLatin1Char('&')));
  }
  const bool tabStop = (t.style & kStyleTabStop) != 0;
  switch (t.kind) {
    case ControlKind::kStaticText:
    case ControlKind::kFrame:
    case ControlKind::kGroupBox:
      w->setFocusPolicy(Qt::NoFocus);
      break;
    default:
      w->setFocusPolicy(tabStop ? Qt::StrongFocus : Qt::ClickFocus);
      break;
  }
  if ((t.style & kStyleDisabled) != 0) {
    w->setEnabled(false);
  }
  w->setVisible((t.style & kStyleHidden) == 0);
  controls.push_back(c);
  return &controls.back();
}

DialogWindow* DialogWindow::Build(Dialog& owner, QWidget* root) {
  auto* win = new DialogWindow;
  win->owner = &owner;
  win->root = root;
  win->dialog = dynamic_cast<DialogWidget*>(root);
  if (win->dialog != nullptr) {
    win->dialog->dialogOwner = &owner;
  }
  win->font = DialogQFont(owner.template_.font);
  win->base = BaseUnitsOf(win->font);
  root->setFont(win->font);
  root->setWindowTitle(ToQString(owner.template_.caption));
  const Rect client = DialogRectToPixels(0, 0, owner.template_.width, owner.template_.height, win->base);
  if (win->dialog != nullptr) {
    win->dialog->setFixedSize(client.Width(), client.Height());
    win->dialog->setSizeGripEnabled(false);
  } else {
    root->setMinimumSize(client.Width(), client.Height());
    root->resize(client.Width(), client.Height());
  }
  for (const auto& t : owner.template_.controls) {
    const Rect r = DialogRectToPixels(t.x, t.y, t.w, t.h, win->base);
    win->AddControl(t, QRect(r.left, r.top, r.Width(), r.Height()));
  }
  if (win->dialog != nullptr) {
    win->dialog->cancel = [win] { win->CancelRequested(); };
    QObject::connect(win->dialog, &QDialog::finished, win->dialog, [win](int r) { win->Finished(r); });
  }
  return win;
}

void DialogWindow::Dispose(bool later) {
  QCoreApplication* app = QCoreApplication::instance();
  if (!OnGuiThread() && app != nullptr) {
    // Widgets are touched on the GUI thread only: the owner lets go now, the
    // widgets go there.
    owner = nullptr;
    QMetaObject::invokeMethod(app, [this] { Dispose(false); }, Qt::QueuedConnection);
    return;
  }
  for (auto& c : controls) {
    if (c.widget != nullptr) {
      QObject::disconnect(c.widget, nullptr, nullptr, nullptr);
      if (c.kind == ControlKind::kIpAddress) {
        static_cast<IpAddressWidget*>(c.widget)->changed = nullptr;  // it may outlive this window
      }
    }
  }
  if (dialog != nullptr) {
    QObject::disconnect(dialog, nullptr, nullptr, nullptr);
    dialog->cancel = nullptr;
    dialog->hide();
  }
  if (later) {
    root->deleteLater();
  } else {
    delete root;
  }
  delete this;
}

void DialogWindow::Clicked(int id) {
  Dialog* d = owner;
  if (d == nullptr) {
    return;
  }
  Guarded([d, id] { d->OnButtonClicked(id); });
}

void DialogWindow::EditChanged(int id) {
  Dialog* d = owner;
  if (d == nullptr) {
    return;
  }
  Guarded([d, id] { d->OnEditChanged(id); });
}

void DialogWindow::SelectionChanged(int id) {
  Dialog* d = owner;
  if (d == nullptr) {
    return;
  }
  Guarded([d, id] { d->OnSelectionChanged(id); });
}

void DialogWindow::CancelRequested() {
  Dialog* d = owner;
  if (d == nullptr) {
    return;
  }
  Guarded([d] { d->OnCancel(); });
}

void DialogWindow::Finished(int result) {
  if (!modal || owner == nullptr) {
    return;
  }
  Dialog* d = owner;
  ModalDone finish = std::move(done);
  d->result_ = result;
  d->window_ = nullptr;
  Dispose(true);
  if (finish) {
    finish(result);
  }
}

}  // namespace gui_internal

using gui_internal::Control;
using gui_internal::DialogWindow;

Dialog::Dialog(DialogTemplate tmpl) : template_(std::move(tmpl)) {}

Dialog::~Dialog() {
  if (window_ != nullptr) {
    window_->Dispose(!OnGuiThread());
    window_ = nullptr;
  }
}

int Dialog::DoModal() {
  if (!WindowSystemAvailable()) {
    result_ = kIdCancel;
    return result_;
  }
  result_ = RunModal(
      [this](gui_internal::ModalDone done) {
        if (window_ != nullptr) {  // already open modeless
          done(kIdCancel);
          return;
        }
        auto* widget = new gui_internal::DialogWidget;
        widget->setAttribute(Qt::WA_DeleteOnClose, false);
        window_ = DialogWindow::Build(*this, widget);
        window_->modal = true;
        window_->done = std::move(done);
        result_ = kIdCancel;
        gui_internal::Guarded([this] { OnInitDialog(); });
        if (window_ == nullptr) {  // ended during OnInitDialog
          return;
        }
        widget->setWindowModality(Qt::ApplicationModal);
        gui_internal::BringToFront(widget);
      },
      kIdCancel);
  return result_;
}

bool Dialog::Create() {
  if (!WindowSystemAvailable() || !OnGuiThread() || window_ != nullptr) {
    return false;
  }
  auto* widget = new gui_internal::DialogWidget;
  window_ = DialogWindow::Build(*this, widget);
  window_->modal = false;
  gui_internal::Guarded([this] { OnInitDialog(); });
  return window_ != nullptr;
}

void Dialog::Show(bool show) {
  if (window_ == nullptr || window_->dialog == nullptr) {
    return;
  }
  if (show) {
    gui_internal::BringToFront(window_->dialog);
  } else {
    window_->dialog->hide();
  }
}

bool Dialog::IsVisible() const { return window_ != nullptr && window_->root->isVisible(); }

void Dialog::Destroy() {
  if (window_ == nullptr) {
    return;
  }
  DialogWindow* w = window_;
  window_ = nullptr;
  if (w->modal) {
    gui_internal::ModalDone finish = std::move(w->done);
    w->Dispose(true);
    if (finish) {
      finish(kIdCancel);
    }
    return;
  }
  w->Dispose(false);
}

bool Dialog::HasWindow() const { return window_ != nullptr; }

void Dialog::EndDialog(int result) {
  result_ = result;
  if (window_ == nullptr || embedded_ || window_->dialog == nullptr) {
    return;
  }
  if (window_->modal) {
    window_->dialog->done(result);  // finished -> Finished
  } else {
    window_->dialog->hide();
  }
}

void Dialog::OnButtonClicked(int id) {
  if (id == kIdOk) {
    OnOK();
  } else if (id == kIdCancel) {
    OnCancel();
  }
}

std::wstring Dialog::GetCaption() const {
  return window_ != nullptr ? ToWide(window_->root->windowTitle()) : template_.caption;
}

void Dialog::SetCaption(std::wstring_view caption) {
  template_.caption = std::wstring(caption);
  if (window_ != nullptr) {
    window_->root->setWindowTitle(gui_internal::ToQString(caption));
  }
}

Size Dialog::BaseUnits() const {
  if (window_ != nullptr) {
    return window_->base;
  }
  return WindowSystemAvailable() ? DialogBaseUnits(template_.font) : Size{};
}

Rect Dialog::MapDialogRect(int x, int y, int w, int h) const { return DialogRectToPixels(x, y, w, h, BaseUnits()); }

Size Dialog::ClientSize() const {
  if (window_ != nullptr) {
    return Size{window_->root->width(), window_->root->height()};
  }
  const Rect r = MapDialogRect(0, 0, template_.width, template_.height);
  return Size{r.Width(), r.Height()};
}

bool Dialog::HasControl(int id) const { return window_ != nullptr && window_->Find(id) != nullptr; }

std::wstring Dialog::GetItemText(int id) const {
  const Control* c = window_ != nullptr ? window_->Find(id) : nullptr;
  if (c == nullptr) {
    return {};
  }
  QWidget* w = c->widget;
  switch (c->kind) {
    case ControlKind::kStaticText:
      return ToWide(static_cast<QLabel*>(w)->text());
    case ControlKind::kEdit:
      return ToWide(static_cast<QLineEdit*>(w)->text());
    case ControlKind::kPushButton:
    case ControlKind::kDefPushButton:
    case ControlKind::kCheckBox:
    case ControlKind::kRadioButton:
      return ToWide(static_cast<QAbstractButton*>(w)->text());
    case ControlKind::kGroupBox:
      return ToWide(static_cast<QGroupBox*>(w)->title());
    case ControlKind::kDropDownList:
      return ToWide(static_cast<QComboBox*>(w)->currentText());
    case ControlKind::kListBox: {
      auto* list = static_cast<QListWidget*>(w);
      return list->currentItem() != nullptr ? ToWide(list->currentItem()->text()) : std::wstring();
    }
    case ControlKind::kTabControl: {
      auto* tabs = static_cast<QTabWidget*>(w);
      return tabs->currentIndex() >= 0 ? ToWide(tabs->tabText(tabs->currentIndex())) : std::wstring();
    }
    case ControlKind::kFrame:
      return ToWide(w->accessibleName());
    case ControlKind::kIpAddress:
      return ToWide(static_cast<gui_internal::IpAddressWidget*>(w)->Text());
  }
  return {};
}

bool Dialog::SetItemText(int id, std::wstring_view text) {
  Control* c = window_ != nullptr ? window_->Find(id) : nullptr;
  if (c == nullptr) {
    return false;
  }
  const QString q = gui_internal::ToQString(text);
  QWidget* w = c->widget;
  switch (c->kind) {
    case ControlKind::kStaticText:
      static_cast<QLabel*>(w)->setText(q);
      break;
    case ControlKind::kEdit:
      static_cast<QLineEdit*>(w)->setText(q);  // reports the change, as an edit does
      break;
    case ControlKind::kPushButton:
    case ControlKind::kDefPushButton:
    case ControlKind::kCheckBox:
    case ControlKind::kRadioButton:
      static_cast<QAbstractButton*>(w)->setText(q);
      break;
    case ControlKind::kGroupBox:
      static_cast<QGroupBox*>(w)->setTitle(q);
      break;
    case ControlKind::kFrame:
      break;
    case ControlKind::kIpAddress:
      static_cast<gui_internal::IpAddressWidget*>(w)->SetText(q);  // reports the change
      return true;
    case ControlKind::kDropDownList:
    case ControlKind::kListBox:
    case ControlKind::kTabControl:
      return false;  // their texts are their entries
  }
  w->setAccessibleName(QString(q).remove(QLatin1Char('&')));
  return true;
}

int Dialog::GetCheck(int id) const {
  const Control* c = window_ != nullptr ? window_->Find(id) : nullptr;
  if (c == nullptr || (c->kind != ControlKind::kCheckBox && c->kind != ControlKind::kRadioButton)) {
    return kUnchecked;
  }
  return static_cast<QAbstractButton*>(c->widget)->isChecked() ? kChecked : kUnchecked;
}

bool Dialog::SetCheck(int id, int state) {
  Control* c = window_ != nullptr ? window_->Find(id) : nullptr;
  if (c == nullptr || (c->kind != ControlKind::kCheckBox && c->kind != ControlKind::kRadioButton)) {
    return false;
  }
  auto* b = static_cast<QAbstractButton*>(c->widget);
  if (c->kind == ControlKind::kRadioButton && b->group() != nullptr && state != kUnchecked) {
    b->setChecked(true);  // the group unchecks the others
  } else if (c->kind == ControlKind::kRadioButton && b->group() != nullptr) {
    // An exclusive group cannot uncheck its checked button directly.
    QButtonGroup* g = b->group();
    g->setExclusive(false);
    b->setChecked(false);
    g->setExclusive(true);
  } else {
    b->setChecked(state != kUnchecked);
  }
  return true;
}

bool Dialog::EnableItem(int id, bool enable) {
  Control* c = window_ != nullptr ? window_->Find(id) : nullptr;
  if (c == nullptr) {
    return false;
  }
  c->widget->setEnabled(enable);
  return true;
}

bool Dialog::IsItemEnabled(int id) const {
  const Control* c = window_ != nullptr ? window_->Find(id) : nullptr;
  return c != nullptr && c->widget->isEnabled();
}

bool Dialog::ShowItem(int id, bool show) {
  Control* c = window_ != nullptr ? window_->Find(id) : nullptr;
  if (c == nullptr) {
    return false;
  }
  c->widget->setVisible(show);
  return true;
}

bool Dialog::IsItemVisible(int id) const {
  const Control* c = window_ != nullptr ? window_->Find(id) : nullptr;
  // Visible as the control's own style says, whether or not the dialog shows.
  return c != nullptr && !c->widget->isHidden();
}

Rect Dialog::GetItemRect(int id) const {
  const Control* c = window_ != nullptr ? window_->Find(id) : nullptr;
  if (c == nullptr) {
    return {};
  }
  const QRect g = c->widget->geometry();
  return Rect{g.x(), g.y(), g.x() + g.width(), g.y() + g.height()};
}

bool Dialog::MoveItem(int id, const Rect& pixels) {
  Control* c = window_ != nullptr ? window_->Find(id) : nullptr;
  if (c == nullptr) {
    return false;
  }
  c->widget->setGeometry(pixels.left, pixels.top, pixels.Width(), pixels.Height());
  return true;
}

bool Dialog::SetItemFont(int id, const DialogFont& font) {
  Control* c = window_ != nullptr ? window_->Find(id) : nullptr;
  if (c == nullptr) {
    return false;
  }
  c->font = font;
  c->widget->setFont(gui_internal::DialogQFont(font));
  if (c->kind == ControlKind::kListBox) {
    gui_internal::ApplyExtent(static_cast<QListWidget*>(c->widget), c->extent);
  }
  return true;
}

DialogFont Dialog::GetItemFont(int id) const {
  const Control* c = window_ != nullptr ? window_->Find(id) : nullptr;
  return c != nullptr ? c->font : template_.font;
}

bool Dialog::SetFocusTo(int id) {
  Control* c = window_ != nullptr ? window_->Find(id) : nullptr;
  if (c == nullptr) {
    return false;
  }
  c->widget->setFocus(Qt::OtherFocusReason);
  return true;
}

bool Dialog::ResetContent(int id) {
  Control* c = window_ != nullptr ? window_->Find(id) : nullptr;
  if (c == nullptr) {
    return false;
  }
  QSignalBlocker block(c->widget);
  switch (c->kind) {
    case ControlKind::kDropDownList:
      static_cast<QComboBox*>(c->widget)->clear();
      return true;
    case ControlKind::kListBox:
      static_cast<QListWidget*>(c->widget)->clear();
      return true;
    case ControlKind::kTabControl: {
      auto* tabs = static_cast<QTabWidget*>(c->widget);
      while (tabs->count() > 0) {
        QWidget* page = tabs->widget(0);
        tabs->removeTab(0);
        delete page;
      }
      return true;
    }
    default:
      return false;
  }
}

int Dialog::AddString(int id, std::wstring_view text) {
  Control* c = window_ != nullptr ? window_->Find(id) : nullptr;
  if (c == nullptr) {
    return -1;
  }
  const QString q = gui_internal::ToQString(text);
  QSignalBlocker block(c->widget);
  switch (c->kind) {
    case ControlKind::kDropDownList: {
      auto* combo = static_cast<QComboBox*>(c->widget);
      int index = combo->count();
      if ((c->style & kStyleSort) != 0) {
        index = 0;
        while (index < combo->count() && QString::compare(combo->itemText(index), q, Qt::CaseInsensitive) <= 0) {
          ++index;
        }
      }
      const int selected = combo->currentIndex();
      combo->insertItem(index, q);
      // A drop-down list starts without a selection, as the classic one does.
      combo->setCurrentIndex(selected < 0 ? -1 : (selected >= index ? selected + 1 : selected));
      return index;
    }
    case ControlKind::kListBox: {
      int index = -1;
      gui_internal::InsertListItem(*c, static_cast<QListWidget*>(c->widget), q, index);
      return index;
    }
    case ControlKind::kTabControl: {
      auto* tabs = static_cast<QTabWidget*>(c->widget);
      return tabs->addTab(new QWidget, q);
    }
    default:
      return -1;
  }
}

int Dialog::GetCount(int id) const {
  const Control* c = window_ != nullptr ? window_->Find(id) : nullptr;
  if (c == nullptr) {
    return 0;
  }
  switch (c->kind) {
    case ControlKind::kDropDownList:
      return static_cast<QComboBox*>(c->widget)->count();
    case ControlKind::kListBox:
      return static_cast<QListWidget*>(c->widget)->count();
    case ControlKind::kTabControl:
      return static_cast<QTabWidget*>(c->widget)->count();
    default:
      return 0;
  }
}

std::wstring Dialog::GetListText(int id, int index) const {
  const Control* c = window_ != nullptr ? window_->Find(id) : nullptr;
  if (c == nullptr || index < 0 || index >= GetCount(id)) {
    return {};
  }
  switch (c->kind) {
    case ControlKind::kDropDownList:
      return ToWide(static_cast<QComboBox*>(c->widget)->itemText(index));
    case ControlKind::kListBox:
      return ToWide(static_cast<QListWidget*>(c->widget)->item(index)->text());
    case ControlKind::kTabControl:
      return ToWide(static_cast<QTabWidget*>(c->widget)->tabText(index));
    default:
      return {};
  }
}

int Dialog::GetCurSel(int id) const {
  const Control* c = window_ != nullptr ? window_->Find(id) : nullptr;
  if (c == nullptr) {
    return -1;
  }
  switch (c->kind) {
    case ControlKind::kDropDownList:
      return static_cast<QComboBox*>(c->widget)->currentIndex();
    case ControlKind::kListBox: {
      auto* list = static_cast<QListWidget*>(c->widget);
      return list->selectionMode() == QAbstractItemView::NoSelection ? -1 : list->currentRow();
    }
    case ControlKind::kTabControl:
      return static_cast<QTabWidget*>(c->widget)->currentIndex();
    default:
      return -1;
  }
}

bool Dialog::SetCurSel(int id, int index) {
  Control* c = window_ != nullptr ? window_->Find(id) : nullptr;
  if (c == nullptr || index < -1 || index >= GetCount(id)) {
    return false;
  }
  QSignalBlocker block(c->widget);
  switch (c->kind) {
    case ControlKind::kDropDownList:
      static_cast<QComboBox*>(c->widget)->setCurrentIndex(index);
      return true;
    case ControlKind::kListBox: {
      auto* list = static_cast<QListWidget*>(c->widget);
      if (list->selectionMode() == QAbstractItemView::NoSelection) {
        return false;
      }
      list->setCurrentRow(index);
      return true;
    }
    case ControlKind::kTabControl:
      if (index < 0) {
        return false;
      }
      static_cast<QTabWidget*>(c->widget)->setCurrentIndex(index);
      return true;
    default:
      return false;
  }
}

bool Dialog::SetHorizontalExtent(int id, int pixels) {
  Control* c = window_ != nullptr ? window_->Find(id) : nullptr;
  if (c == nullptr || c->kind != ControlKind::kListBox) {
    return false;
  }
  c->extent = std::max(0, pixels);
  gui_internal::ApplyExtent(static_cast<QListWidget*>(c->widget), c->extent);
  return true;
}

int Dialog::GetHorizontalExtent(int id) const {
  const Control* c = window_ != nullptr ? window_->Find(id) : nullptr;
  return c != nullptr && c->kind == ControlKind::kListBox ? c->extent : 0;
}

bool Dialog::CreateControl(const ControlTemplate& control, const Rect& pixels) {
  if (window_ == nullptr) {
    return false;
  }
  // A control that takes an existing id takes the place of that control.
  for (auto it = window_->controls.begin(); it != window_->controls.end(); ++it) {
    if (it->id == control.id && it->widget != nullptr && control.id != -1) {
      QObject::disconnect(it->widget, nullptr, nullptr, nullptr);
      delete it->widget;
      window_->controls.erase(it);
      break;
    }
  }
  Control* c = window_->AddControl(control, QRect(pixels.left, pixels.top, pixels.Width(), pixels.Height()));
  c->widget->raise();
  return true;
}

}  // namespace lv
