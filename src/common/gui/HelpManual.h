#pragma once

#include <QString>

// The user manuals next to the program. Most dialogs open the NET manual; a few the other one.
namespace HelpManual {

inline const QString NetManual = QStringLiteral("Tomaris NET - Handbuch.pdf");
inline const QString Manual = QStringLiteral("Tomaris - Handbuch.pdf");

// Opens the manual from the program's directory with the desktop's viewer; a missing file is
// not reported.
void open(const QString& fileName);

} // namespace HelpManual
