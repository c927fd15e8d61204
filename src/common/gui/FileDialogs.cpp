#include "FileDialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

namespace FileDialogs {

namespace {
FolderHandler g_folderHandler;
}

QString chooseFolder(QWidget* parent, const QString& title, const QString& start)
{
    if (g_folderHandler)
        return g_folderHandler(title, start);
    const QString chosen = QFileDialog::getExistingDirectory(parent, title, start, QFileDialog::ShowDirsOnly);
    if (chosen.isEmpty())
        return {};
    // cleanPath drops a trailing separator (but keeps a bare root).
    return QDir::toNativeSeparators(QDir::cleanPath(QFileInfo(chosen).absoluteFilePath()));
}

void setFolderHandler(FolderHandler handler)
{
    g_folderHandler = std::move(handler);
}

} // namespace FileDialogs
