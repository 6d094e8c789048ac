#include "platform/gui/property_sheet.h"

#include <QCoreApplication>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTabBar>
#include <QTabWidget>
#include <algorithm>

#include "platform/gui/dialog_window.h"
#include "platform/gui/qt_bridge.h"

namespace lv {

namespace {
// The sheet's margins and buttons, in dialog units of the sheet's font.
constexpr int kMarginDlu = 7;
constexpr int kButtonWidthDlu = 50;
constexpr int kButtonHeightDlu = 14;
constexpr int kButtonGapDlu = 4;
}  // namespace

// ---- PropertyPage ---------------------------------------------------------

PropertyPage::PropertyPage(DialogTemplate tmpl) : Dialog(std::move(tmpl)) {}

void PropertyPage::SetModified(bool modified) {
  modified_ = modified;
  if (sheet_ != nullptr) {
    sheet_->PageModified();
  }
}

bool PropertyPage::OnApply() {
  modified_ = false;
  return true;
}

void PropertyPage::OnReset() { modified_ = false; }

// ---- the sheet's window ---------------------------------------------------

namespace gui_internal {

SheetWindow* SheetWindow::Build(PropertySheet& owner) {
  auto* win = new SheetWindow;
  win->owner = &owner;
  win->dialog = new DialogWidget;
  win->dialog->sheetOwner = &owner;
  const QFont font = DialogQFont(owner.font_);
  const Size base = BaseUnitsOf(font);
  win->dialog->setFont(font);
  win->dialog->setWindowTitle(ToQString(owner.caption_));
  win->tabs = new QTabWidget(win->dialog);

  // Every page's window, in tab order, sized to the largest page.
  int pageW = 0;
  int pageH = 0;
  for (PropertyPage* page : owner.pages_) {
    auto* root = new QWidget;
    page->embedded_ = true;
    page->sheet_ = &owner;
    page->window_ = DialogWindow::Build(*page, root);
    pageW = std::max(pageW, root->width());
    pageH = std::max(pageH, root->height());
    win->tabs->addTab(root, ToQString(page->template_.caption));
  }
  for (int i = 0; i < win->tabs->count(); ++i) {
    win->tabs->widget(i)->setMinimumSize(pageW, pageH);
  }
  const int margin = DialogXToPixels(kMarginDlu, base);
  const int marginY = DialogYToPixels(kMarginDlu, base);
  const QSize tabsSize = win->tabs->sizeHint().expandedTo(win->tabs->minimumSizeHint());
  win->tabs->setGeometry(margin, marginY, tabsSize.width(), tabsSize.height());

  const int bw = DialogXToPixels(kButtonWidthDlu, base);
  const int bh = DialogYToPixels(kButtonHeightDlu, base);
  const int gap = DialogXToPixels(kButtonGapDlu, base);
  const int clientW = std::max(tabsSize.width() + 2 * margin, 3 * bw + 2 * gap + 2 * margin);
  const int buttonTop = marginY + tabsSize.height() + marginY;
  const int clientH = buttonTop + bh + marginY;
  win->dialog->setFixedSize(clientW, clientH);

  win->ok = new QPushButton(QStringLiteral("OK"), win->dialog);
  win->cancel = new QPushButton(QStringLiteral("Cancel"), win->dialog);
  win->apply = new QPushButton(QStringLiteral("&Apply"), win->dialog);
  int right = clientW - margin;
  for (QPushButton* b : {win->apply, win->cancel, win->ok}) {
    b->setGeometry(right - bw, buttonTop, bw, bh);
    right -= bw + gap;
  }
  win->ok->setDefault(true);
  win->apply->setEnabled(false);
  QObject::connect(win->ok, &QPushButton::clicked, win->ok, [win] { win->OkPressed(); });
  QObject::connect(win->cancel, &QPushButton::clicked, win->cancel, [win] { win->CancelPressed(); });
  QObject::connect(win->apply, &QPushButton::clicked, win->apply, [win] { win->ApplyPressed(); });
  win->dialog->cancel = [win] { win->CancelPressed(); };
  QObject::connect(win->dialog, &QDialog::finished, win->dialog, [win](int r) { win->Finished(r); });

  // Every page initialises once its window exists, then the sheet.
  for (PropertyPage* page : owner.pages_) {
    Guarded([page] { page->OnInitDialog(); });
  }
  const int first = owner.pages_.empty() ? -1 : std::clamp(owner.initialPage_, 0, owner.GetPageCount() - 1);
  {
    QSignalBlocker block(win->tabs);
    if (first >= 0) {
      win->tabs->setCurrentIndex(first);
    }
  }
  QObject::connect(win->tabs, &QTabWidget::currentChanged, win->tabs, [win](int i) { win->TabChanged(i); });
  return win;
}

// Asks the active page to let go, then every page to apply. A page that
// refuses to apply becomes the active one; the sheet's buttons then do no
// more than mark it modified, as the refusing page is still being edited.
SheetWindow::ApplyOutcome SheetWindow::ApplyPages(PropertySheet* sheet) {
  if (current >= 0 && !sheet->pages_[current]->OnKillActive()) {
    return ApplyOutcome::kStayed;
  }
  for (size_t i = 0; i < sheet->pages_.size(); ++i) {
    if (!sheet->pages_[i]->OnApply()) {
      sheet->SetActivePage(static_cast<int>(i));
      sheet->PageModified();
      return ApplyOutcome::kRefused;
    }
  }
  sheet->PageModified();
  return ApplyOutcome::kApplied;
}

void SheetWindow::OkPressed() {
  if (owner == nullptr) {
    return;
  }
  PropertySheet* sheet = owner;
  Guarded([this, sheet] {
    if (ApplyPages(sheet) == ApplyOutcome::kApplied) {
      sheet->OnOK();
    }
  });
}

void SheetWindow::ApplyPressed() {
  if (owner == nullptr) {
    return;
  }
  PropertySheet* sheet = owner;
  Guarded([this, sheet] {
    if (ApplyPages(sheet) == ApplyOutcome::kApplied) {
      sheet->OnApplied();
    }
  });
}

void SheetWindow::CancelPressed() {
  if (owner == nullptr) {
    return;
  }
  PropertySheet* sheet = owner;
  Guarded([sheet] {
    for (PropertyPage* page : sheet->pages_) {
      page->OnReset();
    }
    sheet->PageModified();
    sheet->OnCancel();
  });
}

void SheetWindow::TabChanged(int index) {
  if (owner == nullptr) {
    return;
  }
  PropertySheet* sheet = owner;
  const int previous = current;
  bool keep = true;
  Guarded([&] {
    if (previous >= 0 && previous != index && !sheet->pages_[previous]->OnKillActive()) {
      keep = false;
      return;
    }
    if (index >= 0 && !sheet->pages_[index]->OnSetActive()) {
      keep = false;
    }
  });
  if (!keep && previous >= 0) {
    QSignalBlocker block(tabs);
    tabs->setCurrentIndex(previous);
    return;
  }
  current = index;
}

void SheetWindow::Finished(int result) {
  if (!modal || owner == nullptr) {
    return;
  }
  PropertySheet* sheet = owner;
  ModalDone finish = std::move(done);
  sheet->result_ = result;
  sheet->window_ = nullptr;
  Dispose(true);
  if (finish) {
    finish(result);
  }
}

void SheetWindow::Dispose(bool later) {
  // The pages and the sheet let go of the windows at once; the widgets are
  // touched on the GUI thread only.
  std::vector<DialogWindow*> pageWindows;
  if (owner != nullptr) {
    for (PropertyPage* page : owner->pages_) {
      if (page->window_ != nullptr) {
        page->window_->owner = nullptr;
        pageWindows.push_back(page->window_);
        page->window_ = nullptr;
      }
    }
  }
  owner = nullptr;
  auto finish = [this, pageWindows, later] {
    for (DialogWindow* w : pageWindows) {
      for (auto& c : w->controls) {
        if (c.widget != nullptr) {
          QObject::disconnect(c.widget, nullptr, nullptr, nullptr);
        }
      }
      delete w;  // the page widgets go with the sheet's widget
    }
    QObject::disconnect(tabs, nullptr, nullptr, nullptr);
    for (QPushButton* b : {ok, cancel, apply}) {
      QObject::disconnect(b, nullptr, nullptr, nullptr);
    }
    QObject::disconnect(dialog, nullptr, nullptr, nullptr);
    dialog->cancel = nullptr;
    dialog->hide();
    if (later) {
      dialog->deleteLater();
    } else {
      delete dialog;
    }
    delete this;
  };
  QCoreApplication* app = QCoreApplication::instance();
  if (!OnGuiThread() && app != nullptr) {
    QMetaObject::invokeMethod(app, finish, Qt::QueuedConnection);
    return;
  }
  finish();
}

}  // namespace gui_internal

// ---- PropertySheet --------------------------------------------------------

using gui_internal::ModalDone;
using gui_internal::SheetWindow;

PropertySheet::PropertySheet(std::wstring caption, DialogFont font) : caption_(std::move(caption)), font_(font) {}

PropertySheet::~PropertySheet() {
  if (window_ != nullptr) {
    window_->Dispose(!OnGuiThread());
    window_ = nullptr;
  }
  for (PropertyPage* page : pages_) {
    page->sheet_ = nullptr;
  }
}

void PropertySheet::AddPage(PropertyPage* page) {
  if (page != nullptr && window_ == nullptr &&
      std::find(pages_.begin(), pages_.end(), page) == pages_.end()) {
    pages_.push_back(page);
  }
}

PropertyPage* PropertySheet::GetPage(int index) const {
  return index >= 0 && index < GetPageCount() ? pages_[static_cast<size_t>(index)] : nullptr;
}

namespace {
bool AnyPageHasWindow(const std::vector<PropertyPage*>& pages) {
  for (const PropertyPage* p : pages) {
    if (p->HasWindow()) {
      return true;
    }
  }
  return false;
}
}  // namespace

int PropertySheet::DoModal() {
  if (!WindowSystemAvailable()) {
    result_ = kIdCancel;
    return result_;
  }
  result_ = RunModal(
      [this](gui_internal::ModalDone done) {
        if (window_ != nullptr || AnyPageHasWindow(pages_)) {
          done(kIdCancel);
          return;
        }
        window_ = SheetWindow::Build(*this);
        window_->modal = true;
        window_->done = std::move(done);
        result_ = kIdCancel;
        gui_internal::Guarded([this] { OnInitDialog(); });
        if (window_ == nullptr) {
          return;
        }
        window_->TabChanged(window_->tabs->currentIndex());
        gui_internal::DialogWidget* widget = window_->dialog;
        widget->setWindowModality(Qt::ApplicationModal);
        gui_internal::BringToFront(widget);
      },
      kIdCancel);
  return result_;
}

bool PropertySheet::Create() {
  if (!WindowSystemAvailable() || !OnGuiThread() || window_ != nullptr || AnyPageHasWindow(pages_)) {
    return false;
  }
  window_ = SheetWindow::Build(*this);
  window_->modal = false;
  gui_internal::Guarded([this] { OnInitDialog(); });
  if (window_ != nullptr) {
    window_->TabChanged(window_->tabs->currentIndex());
  }
  return window_ != nullptr;
}

void PropertySheet::Show(bool show) {
  if (window_ == nullptr) {
    return;
  }
  if (show) {
    gui_internal::BringToFront(window_->dialog);
  } else {
    window_->dialog->hide();
  }
}

bool PropertySheet::IsVisible() const { return window_ != nullptr && window_->dialog->isVisible(); }

void PropertySheet::Destroy() {
  if (window_ == nullptr) {
    return;
  }
  SheetWindow* w = window_;
  window_ = nullptr;
  ModalDone finish = w->modal ? std::move(w->done) : ModalDone();
  w->Dispose(w->modal);
  if (finish) {
    finish(kIdCancel);
  }
}

bool PropertySheet::HasWindow() const { return window_ != nullptr; }

void PropertySheet::EndDialog(int result) {
  result_ = result;
  if (window_ == nullptr) {
    return;
  }
  if (window_->modal) {
    window_->dialog->done(result);
  } else {
    window_->dialog->hide();
  }
}

bool PropertySheet::SetActivePage(int index) {
  if (index < 0 || index >= GetPageCount()) {
    return false;
  }
  if (window_ == nullptr) {
    initialPage_ = index;
    return true;
  }
  window_->tabs->setCurrentIndex(index);  // the pages' activation handlers run
  return window_->current == index;
}

int PropertySheet::GetActiveIndex() const { return window_ != nullptr ? window_->current : initialPage_; }

bool PropertySheet::SetTabText(int index, std::wstring_view text) {
  if (window_ == nullptr || index < 0 || index >= window_->tabs->count()) {
    return false;
  }
  window_->tabs->setTabText(index, gui_internal::ToQString(text));
  return true;
}

std::wstring PropertySheet::GetTabText(int index) const {
  if (window_ == nullptr || index < 0 || index >= window_->tabs->count()) {
    return {};
  }
  return window_->tabs->tabText(index).toStdWString();
}

bool PropertySheet::IsApplyEnabled() const { return window_ != nullptr && window_->apply->isEnabled(); }

Rect PropertySheet::GetButtonRect(int id) const {
  if (window_ == nullptr) {
    return {};
  }
  QPushButton* b = id == kIdOk ? window_->ok : id == kIdCancel ? window_->cancel : id == kIdApply ? window_->apply : nullptr;
  if (b == nullptr) {
    return {};
  }
  const QRect g = b->geometry();
  return Rect{g.x(), g.y(), g.x() + g.width(), g.y() + g.height()};
}

Size PropertySheet::ClientSize() const {
  return window_ != nullptr ? Size{window_->dialog->width(), window_->dialog->height()} : Size{};
}

void PropertySheet::PageModified() {
  if (window_ == nullptr) {
    return;
  }
  bool any = false;
  for (const PropertyPage* p : pages_) {
    any = any || p->IsModified();
  }
  window_->apply->setEnabled(any);
}

}  // namespace lv
