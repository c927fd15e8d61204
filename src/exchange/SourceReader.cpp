#include "SourceReader.h"

#include "AccessReader.h"
#include "TextReader.h"
#include "WorkbookReader.h"
#include "XlsReader.h"
#include "common/Formats.h"

#include <QFileInfo>
#include <cmath>

SourceReader::Kind SourceReader::kindOf(const QString& fileName)
{
    const QString suffix = QFileInfo(fileName).suffix().toLower();
    if (suffix == QLatin1String("mdb"))
        return Kind::Access;
    if (suffix == QLatin1String("xls"))
        return Kind::Excel;
    if (suffix == QLatin1String("xlsx") || suffix == QLatin1String("ods"))
        return Kind::Workbook;
    return Kind::Text;
}

std::unique_ptr<SourceReader> SourceReader::open(const QString& fileName, QChar separator)
{
    switch (kindOf(fileName)) {
    case Kind::Access:
        return std::make_unique<AccessReader>(fileName);
    case Kind::Excel:
        return std::make_unique<XlsReader>(fileName);
    case Kind::Workbook:
        return std::make_unique<WorkbookReader>(fileName);
    case Kind::Text:
        break;
    }
    return std::make_unique<TextReader>(fileName, separator);
}

QString SourceReader::numberText(double value, int significantDigits)
{
    if (!std::isfinite(value))
        return {};
    if (value == 0)
        return QStringLiteral("0"); // also for -0
    QString s = QString::number(value, 'g', significantDigits);
    // Exponents as "1,5E20" / "1E-7", without the sign of a positive exponent or leading zeros.
    const qsizetype e = s.indexOf(u'e');
    if (e >= 0) {
        QString exponent = s.mid(e + 1);
        const bool negative = exponent.startsWith(u'-');
        exponent.remove(0, 1);
        while (exponent.size() > 1 && exponent.startsWith(u'0'))
            exponent.remove(0, 1);
        s = s.left(e) + u'E' + (negative ? QStringLiteral("-") : QString()) + exponent;
    }
    s.replace(u'.', u',');
    return s;
}

QString SourceReader::dateTimeText(const QDateTime& value)
{
    if (!value.isValid())
        return {};
    const QTime t = value.time();
    if (t == QTime(0, 0))
        return Formats::formatDate(value.date());
    return Formats::formatDate(value.date()) + u' ' + t.toString(QStringLiteral("HH:mm:ss"));
}
