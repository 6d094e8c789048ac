#include "platform/gui/typed_save_dialog.h"

#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QTimer>
#include <memory>

#include "platform/gui/modal_bridge.h"
#include "platform/gui/qt_bridge.h"
#include "platform/gui/test_hooks.h"

namespace lv {

namespace {

QString FilterEntry(const FileFilter& f) {
  QString patterns = gui_internal::ToQString(f.patterns);
  patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
  return gui_internal::ToQString(f.name) + QStringLiteral(" (") + patterns + QStringLiteral(")");
}

QLineEdit* NameBox(QFileDialog* dialog) { return dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")); }

}  // namespace

std::wstring ShowTypedSaveFileDialog(const TypedSaveDialogOptions& options) {
  auto chosen = std::make_shared<QString>();
  const int result = RunModal(
      [options, chosen](ModalDone done) {
        auto* dialog = new QFileDialog(QApplication::activeWindow(), gui_internal::ToQString(options.file.title));
        dialog->setAttribute(Qt::WA_DeleteOnClose);
        dialog->setOption(QFileDialog::DontUseNativeDialog, true);
        dialog->setAcceptMode(QFileDialog::AcceptSave);
        dialog->setFileMode(QFileDialog::AnyFile);
        QStringList filters;
        for (const FileFilter& f : options.file.filters) {
          filters << FilterEntry(f);
        }
        if (!filters.isEmpty()) {
          dialog->setNameFilters(filters);
          const int index = options.selectedFilter;
          if (index >= 1 && index <= filters.size()) {
            dialog->selectNameFilter(filters[index - 1]);
          }
        }
        if (!options.file.initialPath.empty()) {
          const QString initial = gui_internal::ToQString(options.file.initialPath);
          if (QFileInfo(initial).isDir()) {
            dialog->setDirectory(initial);
          } else {
            dialog->selectFile(initial);
          }
        }
        QLineEdit* edit = NameBox(dialog);
        if (options.onTypeChange && edit != nullptr) {
          // Qt's own save dialog rewrites the name's suffix when the type
          // changes; the name the user last had (typed, or the initial one)
          // is kept aside so the callback alone decides.
          auto last = std::make_shared<QString>(edit->text());
          QObject::connect(edit, &QLineEdit::textEdited, [last](const QString& text) { *last = text; });
          auto onTypeChange = options.onTypeChange;
          QObject::connect(dialog, &QFileDialog::filterSelected, [edit, last, filters, onTypeChange](const QString& f) {
            const int index = static_cast<int>(filters.indexOf(f)) + 1;
            if (index < 1) {
              return;
            }
            *last = gui_internal::ToQString(onTypeChange(index, last->toStdWString()));
            // After Qt's own handling of the change, which rewrites the box.
            QMetaObject::invokeMethod(
                edit, [edit, last] { edit->setText(*last); }, Qt::QueuedConnection);
          });
        }
        QObject::connect(dialog, &QDialog::finished, [dialog, done, chosen](int r) {
          if (r == QDialog::Accepted && !dialog->selectedFiles().isEmpty()) {
            *chosen = dialog->selectedFiles().first();
          }
          done(r == QDialog::Accepted ? kIdOk : kIdCancel);
        });
        dialog->open();
      },
      kIdCancel);
  return result == kIdOk ? chosen->toStdWString() : std::wstring();
}

namespace test_hooks {

namespace {

// A save dialog not answered yet (of that title, when one is given).
QFileDialog* FindSaveDialog(const std::wstring& title) {
  QFileDialog* found = nullptr;
  for (QWidget* w : QApplication::topLevelWidgets()) {
    auto* d = qobject_cast<QFileDialog*>(w);
    if (d != nullptr && d->acceptMode() == QFileDialog::AcceptSave && !d->property("lvAnswered").toBool() &&
        (title.empty() || d->windowTitle().toStdWString() == title)) {
      found = d;
    }
  }
  return found;
}

void AnswerSaveDialog(QFileDialog* dialog, const std::wstring& typedPath, int filterIndex, bool accept) {
  dialog->setProperty("lvAnswered", true);
  const QFileInfo info(QString::fromStdWString(typedPath));
  dialog->setDirectory(info.absolutePath());
  if (QLineEdit* edit = NameBox(dialog)) {
    edit->setText(info.fileName());
    emit edit->textEdited(edit->text());  // as typed
  }
  if (filterIndex >= 1) {
    // As a person picks an entry of the type list: the combo box's
    // activation is what the dialog reports as a chosen type.
    if (auto* types = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"))) {
      types->setCurrentIndex(filterIndex - 1);
      emit types->activated(filterIndex - 1);
    }
  }
  // Queued: after the dialog has followed the chosen type.
  QMetaObject::invokeMethod(dialog, accept ? "accept" : "reject", Qt::QueuedConnection);
}

// The dialog may not be visible yet when the answer runs: look again a few
// times before giving up.
void AnswerWhenShown(std::wstring title, std::wstring typedPath, int filterIndex, bool accept, int triesLeft) {
  if (QFileDialog* d = FindSaveDialog(title)) {
    AnswerSaveDialog(d, typedPath, filterIndex, accept);
    return;
  }
  if (triesLeft > 0) {
    QTimer::singleShot(10, [=] { AnswerWhenShown(title, typedPath, filterIndex, accept, triesLeft - 1); });
  }
}

}  // namespace

void PushTypedSaveAnswer(const std::wstring& typedPath, int filterIndex, bool accept) {
  PushAnswer([typedPath, filterIndex, accept](ShownModal& shown) {
    auto* dialog = qobject_cast<QFileDialog*>(static_cast<QWidget*>(shown.Widget()));
    if (dialog != nullptr) {
      AnswerSaveDialog(dialog, typedPath, filterIndex, accept);
      return;
    }
    // The bridge named another window (one still closing) or none.
    AnswerWhenShown(shown.Title(), typedPath, filterIndex, accept, 200);
  });
}

}  // namespace test_hooks

}  // namespace lv
