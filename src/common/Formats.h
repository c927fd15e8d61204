#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <optional>

// Display and input formats shared by every window and file writer.
// Money is an exact integer count of ten-thousandths of a euro (4 decimal places).
namespace Formats {

inline constexpr qint64 MoneyScale = 10000;

// "#.00 €": two decimals rounded half away from zero, comma as separator, no digit grouping,
// no digit before the comma below 1 (",50 €"), a leading minus for negative amounts.
QString formatPrice(qint64 tenThousandths);

// Accepts what a user types for a price: "12", "12,5", "12,50 €", "1.234,50", ",50", "-3,20",
// "12.5" (a lone point followed by other than three digits is read as the decimal separator).
// At most four decimals. Returns nothing for text that is no amount (or is out of range).
std::optional<qint64> parsePrice(const QString& text);

// "dd.MM.yyyy", always with four year digits.
QString formatDate(const QDate& date);
QString formatDate(const QDateTime& dateTime);

// Reads "d.M.yyyy" / "dd.MM.yyyy" (four-digit year only). Invalid QDate when it is no date.
QDate parseDate(const QString& text);

} // namespace Formats
