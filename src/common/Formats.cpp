#include "Formats.h"

#include <QRegularExpression>

#include <limits>

namespace Formats {

namespace {

// Largest magnitude an amount may have: |INT64_MIN| for negative values, INT64_MAX otherwise.
constexpr quint64 MaxPositive = quint64(std::numeric_limits<qint64>::max());
constexpr quint64 MaxNegative = MaxPositive + 1;

bool isAsciiDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

bool allDigits(QStringView text)
{
    for (QChar c : text) {
        if (!isAsciiDigit(c))
            return false;
    }
    return true;
}

// "1.234" or "1.234.567": one to three digits, then groups of exactly three after each point.
bool isGroupedInteger(QStringView text)
{
    const qsizetype firstPoint = text.indexOf(u'.');
    if (firstPoint < 1 || firstPoint > 3)
        return false;
    if (!allDigits(text.first(firstPoint)))
        return false;
    QStringView rest = text.sliced(firstPoint);
    if (rest.size() % 4 != 0)
        return false;
    for (qsizetype i = 0; i < rest.size(); i += 4) {
        if (rest[i] != u'.' || !allDigits(rest.sliced(i + 1, 3)))
            return false;
    }
    return true;
}

// Appends the digits of `digits` to `value`; false on overflow beyond `limit`.
bool accumulate(quint64& value, QStringView digits, quint64 limit)
{
    for (QChar c : digits) {
        if (c == u'.')
            continue;
        const quint64 digit = quint64(c.unicode() - u'0');
        if (value > (limit - digit) / 10)
            return false;
        value = value * 10 + digit;
    }
    return true;
}

} // namespace

QString formatPrice(qint64 tenThousandths)
{
    const bool negative = tenThousandths < 0;
    // Unsigned magnitude, so that INT64_MIN does not overflow.
    const quint64 magnitude = negative ? quint64(0) - quint64(tenThousandths) : quint64(tenThousandths);
    const quint64 cents = (magnitude + 50) / 100; // half away from zero
    const quint64 euros = cents / 100;
    const quint64 rest = cents % 100;

    QString result;
    if (negative && cents != 0)
        result += u'-';
    if (euros != 0)
        result += QString::number(euros);
    result += u',';
    result += QChar(u'0' + int(rest / 10));
    result += QChar(u'0' + int(rest % 10));
    result += QStringLiteral(" €");
    return result;
}

std::optional<qint64> parsePrice(const QString& text)
{
    QString body = text.trimmed();
    if (body.endsWith(u'€'))
        body = body.chopped(1).trimmed();
    else if (body.startsWith(u'€'))
        body = body.sliced(1).trimmed();

    bool negative = false;
    if (body.startsWith(u'-')) {
        negative = true;
        body = body.sliced(1);
    }
    if (body.isEmpty())
        return std::nullopt;

    QStringView integerPart;
    QStringView fractionPart;
    const qsizetype comma = body.indexOf(u',');
    if (comma >= 0) {
        integerPart = QStringView(body).first(comma);
        fractionPart = QStringView(body).sliced(comma + 1);
        if (fractionPart.isEmpty() || !allDigits(fractionPart))
            return std::nullopt;
        if (!allDigits(integerPart) && !isGroupedInteger(integerPart))
            return std::nullopt;
    } else if (allDigits(body) || isGroupedInteger(body)) {
        integerPart = body;
    } else {
        // A single point that is no thousands separator is the decimal separator.
        const qsizetype point = body.indexOf(u'.');
        if (point < 0 || body.indexOf(u'.', point + 1) >= 0)
            return std::nullopt;
        integerPart = QStringView(body).first(point);
        fractionPart = QStringView(body).sliced(point + 1);
        if (fractionPart.size() == 3 || fractionPart.isEmpty())
            return std::nullopt; // "1234.567": grouping that is not one
        if (!allDigits(integerPart) || !allDigits(fractionPart))
            return std::nullopt;
    }
    if (fractionPart.size() > 4)
        return std::nullopt;

    const quint64 limit = negative ? MaxNegative : MaxPositive;
    quint64 value = 0;
    if (!accumulate(value, integerPart, limit / quint64(MoneyScale)))
        return std::nullopt;
    value *= quint64(MoneyScale);
    quint64 fraction = 0;
    accumulate(fraction, fractionPart, MaxPositive);
    for (qsizetype i = fractionPart.size(); i < 4; ++i)
        fraction *= 10;
    if (value > limit - fraction)
        return std::nullopt;
    value += fraction;

    if (negative)
        return qint64(quint64(0) - value);
    return qint64(value);
}

QString formatDate(const QDate& date)
{
    if (!date.isValid())
        return QString();
    // Built by hand: independent of locale and of QDate's handling of short years.
    return QStringLiteral("%1.%2.%3")
        .arg(date.day(), 2, 10, QChar(u'0'))
        .arg(date.month(), 2, 10, QChar(u'0'))
        .arg(date.year(), 4, 10, QChar(u'0'));
}

QString formatDate(const QDateTime& dateTime)
{
    if (!dateTime.isValid())
        return QString();
    return formatDate(dateTime.date());
}

QDate parseDate(const QString& text)
{
    static const QRegularExpression pattern(QStringLiteral("^([0-9]{1,2})\\.([0-9]{1,2})\\.([0-9]{4})$"));
    const QRegularExpressionMatch match = pattern.match(text.trimmed());
    if (!match.hasMatch())
        return QDate();
    // QDate(y, m, d) is invalid for days that do not exist, e.g. 31.02.
    return QDate(match.captured(3).toInt(), match.captured(2).toInt(), match.captured(1).toInt());
}

} // namespace Formats
