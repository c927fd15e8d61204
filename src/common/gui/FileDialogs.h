#pragma once

#include <QString>
#include <functional>

class QWidget;

// Folder and file choosers go through here, so that tests can answer them.
namespace FileDialogs {

// The chosen folder's full path, or "" when the user cancelled.
QString chooseFolder(QWidget* parent, const QString& title, const QString& start);

// Tests: answer instead of the user (return "" to cancel). Empty handler: real dialogs.
using FolderHandler = std::function<QString(const QString& title, const QString& start)>;
void setFolderHandler(FolderHandler handler);

// A file to write: the chosen full path, or "" when the user cancelled. `filter` as
// "CSV-Dateien (*.csv)"; a name typed without extension gets `defaultSuffix`. The file name
// starts empty.
QString chooseSaveFile(QWidget* parent, const QString& title, const QString& filter, const QString& defaultSuffix);

// Tests: answer instead of the user (return "" to cancel). Empty handler: real dialogs.
using SaveFileHandler =
    std::function<QString(const QString& title, const QString& filter, const QString& defaultSuffix)>;
void setSaveFileHandler(SaveFileHandler handler);

// The chosen existing file's full path, or "" when the user cancelled. `filter` as QFileDialog
// takes it; empty for every file.
QString chooseOpenFile(QWidget* parent, const QString& title, const QString& start, const QString& filter);

// Tests: answer instead of the user (return "" to cancel). Empty handler: real dialogs.
using OpenFileHandler = std::function<QString(const QString& title, const QString& start)>;
void setOpenFileHandler(OpenFileHandler handler);

} // namespace FileDialogs
