#pragma once

// One fuzz input for the filter language: parse the text over a small table and, when it
// parses, evaluate it on every row. A refused filter (DataError) is a normal outcome; anything
// else (a crash, another exception) is a fault. Shared by the suite's bounded run and the
// libFuzzer target.

#include "datastore/DataError.h"
#include "datastore/FilterExpression.h"

#include <QList>
#include <QString>
#include <QVariant>

namespace FilterFuzz {

// Returns true when the text parsed.
inline bool run(const QString& text)
{
    static const QList<FilterExpression::Field> fields{
        {0, ColumnType::Integer},  {1, ColumnType::Text},    {2, ColumnType::Money},
        {3, ColumnType::DateTime}, {4, ColumnType::Boolean}, {5, ColumnType::Memo},
    };
    static const QStringList names{"ID", "Titel", "Preis", "DatumVon", "ausgeliehen", "Schlagwort"};
    static const QList<QList<QVariant>> rows{
        {qint64(1), QStringLiteral("Die Blechtrommel"), qint64(125000), qint64(20261224101500), true,
         QStringLiteral("Roman\r\n")},
        {qint64(2), QVariant(), QVariant(), QVariant(), false, QVariant()},
        {qint64(-7), QStringLiteral("100% _sicher_ 'zitiert'"), qint64(-5000), qint64(19991231000000), QVariant(),
         QString(300, QChar(0x00E4))},
    };
    const FilterExpression::Resolver resolve = [](const QString& name) -> std::optional<FilterExpression::Field> {
        for (int i = 0; i < names.size(); ++i)
            if (names.at(i).compare(name, Qt::CaseInsensitive) == 0)
                return fields.at(i);
        return std::nullopt;
    };
    FilterExpression f;
    try {
        f = FilterExpression::parse(text, resolve);
    } catch (const DataError&) {
        return false;
    }
    const FilterExpression::Getter get = [](int row, int index) -> const QVariant& { return rows.at(row).at(index); };
    const FilterExpression::TextGetter shown = [](int row, int index) { return rows.at(row).at(index).toString(); };
    for (int r = 0; r < rows.size(); ++r)
        f.matches(r, get, shown);
    return true;
}

} // namespace FilterFuzz
