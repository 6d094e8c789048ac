#include "platform/gui/file_dialog_qt.h"

#include <QAbstractFileIconProvider>
#include <QFileDialog>
#include <QFileInfo>

namespace lv::gui_internal {

namespace {

// Types and icons by name and kind; never opens a file.
class NameOnlyIconProvider : public QAbstractFileIconProvider {
 public:
  QIcon icon(IconType type) const override { return QAbstractFileIconProvider::icon(type); }
  QIcon icon(const QFileInfo& info) const override {
    return QAbstractFileIconProvider::icon(info.isDir() ? QAbstractFileIconProvider::Folder
                                                        : QAbstractFileIconProvider::File);
  }
  QString type(const QFileInfo& info) const override {
    if (info.isDir()) {
      return QStringLiteral("Folder");
    }
    const QString suffix = info.suffix();
    return suffix.isEmpty() ? QStringLiteral("File") : suffix.toUpper() + QStringLiteral(" File");
  }
};

}  // namespace

void KeepFileDialogFromReadingFiles(QFileDialog* dialog) {
  // One provider for every dialog, on the GUI thread, for the program's life.
  static NameOnlyIconProvider* const provider = new NameOnlyIconProvider();
  dialog->setIconProvider(provider);
}

}  // namespace lv::gui_internal
