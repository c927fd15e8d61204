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

} // namespace FileDialogs
