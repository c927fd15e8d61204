#include "FileDialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

namespace FileDialogs {

namespace {
FolderHandler g_folderHandler;
SaveFileHandler g_saveFileHandler;
OpenFileHandler g_openFileHandler;
} // namespace

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

QString chooseSaveFile(QWidget* parent, const QString& title, const QString& filter, const QString& defaultSuffix)
{
    if (g_saveFileHandler)
        return g_saveFileHandler(title, filter, defaultSuffix);
    QFileDialog dialog(parent, title, QString(), filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(defaultSuffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return QDir::toNativeSeparators(dialog.selectedFiles().constFirst());
}

void setSaveFileHandler(SaveFileHandler handler)
{
    g_saveFileHandler = std::move(handler);
}

QString chooseOpenFile(QWidget* parent, const QString& title, const QString& start, const QString& filter)
{
    if (g_openFileHandler)
        return g_openFileHandler(title, start);
    const QString chosen = QFileDialog::getOpenFileName(parent, title, start, filter);
    return chosen.isEmpty() ? QString() : QDir::toNativeSeparators(QFileInfo(chosen).absoluteFilePath());
}

void setOpenFileHandler(OpenFileHandler handler)
{
    g_openFileHandler = std::move(handler);
}

} // namespace FileDialogs
