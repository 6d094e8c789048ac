#include "platform/gui/save_file_choice.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <memory>

#include "platform/gui/modal_bridge.h"
#include "platform/gui/qt_bridge.h"
#include "platform/gui/test_hooks.h"

namespace lv {

namespace {

QString FilterTextOf(const FileFilter& f) {
  QString patterns = gui_internal::ToQString(f.patterns);
  patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
  return gui_internal::ToQString(f.name) + QStringLiteral(" (") + patterns + QStringLiteral(")");
}

}  // namespace

SaveFileChoice ShowSaveFileDialogWithFilter(const FileDialogOptions& options, int selectedFilter,
                                            bool overwritePrompt) {
  struct Answer {
    QString path;
    int filter = -1;
  };
  auto answer = std::make_shared<Answer>();
  const int result = RunModal(
      [options, selectedFilter, overwritePrompt, answer](ModalDone done) {
        auto* dialog = new QFileDialog(QApplication::activeWindow(), gui_internal::ToQString(options.title));
        dialog->setAttribute(Qt::WA_DeleteOnClose);
        dialog->setOption(QFileDialog::DontUseNativeDialog, true);
        dialog->setOption(QFileDialog::DontConfirmOverwrite, !overwritePrompt);
        dialog->setAcceptMode(QFileDialog::AcceptSave);
        dialog->setFileMode(QFileDialog::AnyFile);
        QStringList filters;
        for (const FileFilter& f : options.filters) {
          filters << FilterTextOf(f);
        }
        if (!filters.isEmpty()) {
          dialog->setNameFilters(filters);
          if (selectedFilter >= 0 && selectedFilter < filters.size()) {
            dialog->selectNameFilter(filters[selectedFilter]);
          }
        }
        if (!options.initialPath.empty()) {
          const QString initial = gui_internal::ToQString(options.initialPath);
          if (QFileInfo(initial).isDir()) {
            dialog->setDirectory(initial);
          } else {
            dialog->selectFile(initial);
          }
        }
        QObject::connect(dialog, &QDialog::finished, [dialog, done, answer, filters](int r) {
          if (r == QDialog::Accepted && !dialog->selectedFiles().isEmpty()) {
            answer->path = dialog->selectedFiles().first();
            answer->filter = static_cast<int>(filters.indexOf(dialog->selectedNameFilter()));
          }
          done(r == QDialog::Accepted ? kIdOk : kIdCancel);
        });
        dialog->open();
      },
      kIdCancel);
  SaveFileChoice choice;
  if (result == kIdOk) {
    choice.path = answer->path.toStdWString();
    choice.filterIndex = answer->filter;
  }
  return choice;
}

namespace test_hooks {

void PushFileAnswerWithFilter(const std::wstring& path, int filterIndex) {
  PushAnswer([path, filterIndex](ShownModal& shown) {
    auto* dialog = qobject_cast<QFileDialog*>(static_cast<QWidget*>(shown.Widget()));
    if (dialog == nullptr || path.empty()) {
      shown.Finish(kIdCancel);
      return;
    }
    const QStringList filters = dialog->nameFilters();
    if (filterIndex >= 0 && filterIndex < filters.size()) {
      dialog->selectNameFilter(filters[filterIndex]);
    }
    const QFileInfo info(QString::fromStdWString(path));
    dialog->setDirectory(info.absolutePath());
    if (auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))) {
      edit->setText(info.fileName());
    } else {
      dialog->selectFile(info.absoluteFilePath());
    }
    QMetaObject::invokeMethod(dialog, "accept", Qt::DirectConnection);
  });
}

}  // namespace test_hooks

}  // namespace lv
