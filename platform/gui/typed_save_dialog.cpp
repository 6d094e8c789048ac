#include "platform/gui/typed_save_dialog.h"

#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QPointer>
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
        auto* types = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
        if (options.onTypeChange && edit != nullptr) {
          // Qt's own save dialog rewrites the name's suffix to the first one
          // of a newly picked type, even for a type that lists the typed
          // suffix ("All Supported Files" turning "a.wv" into "a.iqbin").
          // The callback alone decides, from the name as it stood before the
          // pick: every change of the box (typing, a file clicked in the list)
          // is taken once the event that made it has been handled, and Qt's
          // rewrite happens inside the pick itself, so it is never taken.
          auto settled = std::make_shared<QString>(edit->text());
          QObject::connect(edit, &QLineEdit::textChanged, edit, [edit, settled](const QString&) {
            QMetaObject::invokeMethod(edit, [edit, settled] { *settled = edit->text(); }, Qt::QueuedConnection);
          });
          auto onTypeChange = options.onTypeChange;
          auto apply = [edit, settled, onTypeChange](int index) {
            if (index < 1) {
              return;
            }
            *settled = gui_internal::ToQString(onTypeChange(index, settled->toStdWString()));
            edit->setText(*settled);
            // Once more after everything else the pick set off.
            QMetaObject::invokeMethod(edit, [edit, settled] { edit->setText(*settled); }, Qt::QueuedConnection);
          };
          if (types != nullptr) {
            // Connected after the dialog's own handler, so it runs after the rewrite.
            QObject::connect(types, &QComboBox::activated, edit, [apply](int row) { apply(row + 1); });
          } else {
            QObject::connect(dialog, &QFileDialog::filterSelected, edit,
                             [apply, filters](const QString& f) { apply(static_cast<int>(filters.indexOf(f)) + 1); });
          }
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

void AnswerSaveDialog(QFileDialog* dialog, const std::wstring& typedPath, int filterIndex, bool accept, bool asTyped) {
  dialog->setProperty("lvAnswered", true);
  const QFileInfo info(QString::fromStdWString(typedPath));
  dialog->setDirectory(info.absolutePath());
  if (QLineEdit* edit = NameBox(dialog)) {
    edit->setText(info.fileName());
    if (asTyped) {
      emit edit->textEdited(edit->text());
    }
  }
  // A person picks the type after typing, in a later event, and the combo box
  // reports the pick as a real one does (the row, then its text); saving
  // comes after the dialog has followed the chosen type.
  QPointer<QFileDialog> guarded(dialog);
  QMetaObject::invokeMethod(
      dialog,
      [guarded, filterIndex, accept] {
        if (!guarded) {
          return;
        }
        if (filterIndex >= 1) {
          if (auto* types = guarded->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"))) {
            types->setCurrentIndex(filterIndex - 1);
            emit types->activated(filterIndex - 1);
            emit types->textActivated(types->itemText(filterIndex - 1));
          }
        }
        QMetaObject::invokeMethod(guarded, accept ? "accept" : "reject", Qt::QueuedConnection);
      },
      Qt::QueuedConnection);
}

// The dialog may not be visible yet when the answer runs: look again a few
// times before giving up.
void AnswerWhenShown(std::wstring title, std::wstring typedPath, int filterIndex, bool accept, bool asTyped,
                     int triesLeft) {
  if (QFileDialog* d = FindSaveDialog(title)) {
    AnswerSaveDialog(d, typedPath, filterIndex, accept, asTyped);
    return;
  }
  if (triesLeft > 0) {
    QTimer::singleShot(10, [=] { AnswerWhenShown(title, typedPath, filterIndex, accept, asTyped, triesLeft - 1); });
  }
}

}  // namespace

void PushTypedSaveAnswer(const std::wstring& typedPath, int filterIndex, bool accept, bool asTyped) {
  PushAnswer([typedPath, filterIndex, accept, asTyped](ShownModal& shown) {
    auto* dialog = qobject_cast<QFileDialog*>(static_cast<QWidget*>(shown.Widget()));
    if (dialog != nullptr) {
      AnswerSaveDialog(dialog, typedPath, filterIndex, accept, asTyped);
      return;
    }
    // The bridge named another window (one still closing) or none.
    AnswerWhenShown(shown.Title(), typedPath, filterIndex, accept, asTyped, 200);
  });
}

}  // namespace test_hooks

}  // namespace lv
