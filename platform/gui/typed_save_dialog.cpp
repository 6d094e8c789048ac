#include "platform/gui/typed_save_dialog.h"

#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
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
        if (options.onTypeChange) {
          auto onTypeChange = options.onTypeChange;
          QObject::connect(dialog, &QFileDialog::filterSelected, [dialog, filters, onTypeChange](const QString& f) {
            const int index = static_cast<int>(filters.indexOf(f)) + 1;
            QLineEdit* edit = NameBox(dialog);
            if (index < 1 || edit == nullptr) {
              return;
            }
            const std::wstring name = onTypeChange(index, edit->text().toStdWString());
            edit->setText(gui_internal::ToQString(name));
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

void PushTypedSaveAnswer(const std::wstring& typedPath, int filterIndex, bool accept) {
  PushAnswer([typedPath, filterIndex, accept](ShownModal& shown) {
    auto* dialog = qobject_cast<QFileDialog*>(static_cast<QWidget*>(shown.Widget()));
    if (dialog == nullptr) {
      shown.Finish(QDialog::Rejected);
      return;
    }
    const QFileInfo info(QString::fromStdWString(typedPath));
    dialog->setDirectory(info.absolutePath());
    if (QLineEdit* edit = NameBox(dialog)) {
      edit->setText(info.fileName());
    }
    if (filterIndex >= 1) {
      // As a person picks an entry of the type list: the combo box's
      // activation is what the dialog reports as a chosen type.
      if (auto* types = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"))) {
        types->setCurrentIndex(filterIndex - 1);
        emit types->activated(filterIndex - 1);
      }
    }
    if (accept) {
      QMetaObject::invokeMethod(dialog, "accept", Qt::DirectConnection);
    } else {
      dialog->reject();
    }
  });
}

}  // namespace test_hooks

}  // namespace lv
