#include "common/gui/HelpManual.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

namespace HelpManual {

void open(const QString& fileName)
{
    const QString path = QDir(QCoreApplication::applicationDirPath()).filePath(fileName);
    if (QFileInfo::exists(path))
        QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

} // namespace HelpManual
