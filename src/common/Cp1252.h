#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

// Windows-1252, the code page of the files other programs exchange with us.
namespace Cp1252 {

// A character the code page lacks becomes '?'. Surrogate pairs count as one character.
QByteArray encode(const QString& text);
// The same, appended to `out`; returns how many characters became '?'.
qsizetype appendEncoded(QByteArray& out, QStringView text);
// Every byte maps to a character; the five bytes the code page leaves undefined
// (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the C1 control of the same value.
QString decode(const QByteArray& bytes);

} // namespace Cp1252
