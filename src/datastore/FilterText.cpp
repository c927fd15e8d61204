#include "FilterText.h"

#include "FilterExpression.h"
#include "common/Formats.h"

namespace FilterText {

namespace {

QString joined(const QStringList& terms, const QString& glue)
{
    QStringList kept;
    for (const QString& t : terms)
        if (!t.isEmpty())
            kept << t;
    return kept.join(glue);
}

} // namespace

QString quoted(const QString& value)
{
    return FilterExpression::quote(value);
}

QString equals(const QString& field, const QString& value)
{
    return field + QStringLiteral(" = ") + quoted(value);
}

QString equalsNumber(const QString& field, qint64 number)
{
    return field + QStringLiteral(" = ") + QString::number(number);
}

QString likeLiteral(const QString& text)
{
    QString escaped;
    escaped.reserve(text.size());
    for (const QChar c : text) {
        if (c == u'\\' || c == u'%' || c == u'_')
            escaped += u'\\';
        escaped += c;
    }
    return escaped;
}

QString containsPattern(const QString& text)
{
    return quoted(u'%' + likeLiteral(text) + u'%');
}

QString contains(const QString& field, const QString& text)
{
    return field + QStringLiteral(" LIKE ") + containsPattern(text);
}

QString isNull(const QString& field)
{
    return field + QStringLiteral(" = NULL");
}

QString isFlag(const QString& field, bool value)
{
    return equals(field, value ? QStringLiteral("true") : QStringLiteral("false"));
}

QString before(const QString& field, const QDate& day)
{
    return field + QStringLiteral(" < ") + quoted(Formats::formatDate(day));
}

QString allOf(const QStringList& terms)
{
    return joined(terms, QStringLiteral(" AND "));
}

QString anyOf(const QStringList& terms)
{
    return joined(terms, QStringLiteral(" OR "));
}

} // namespace FilterText
