#include "SearchFilter.h"

#include "datastore/FilterExpression.h"
#include "datastore/Settings.h"
#include "mainwindow/FieldCaptions.h"

namespace SearchFilter {

namespace {

// The book's number as users see it is its ID; the stored column "Nummer" is never filled.
QString numberField()
{
    return QStringLiteral("ID");
}

// Five segments of two keyword terms each: "Schlagwort1 <op> v OR Schlagwort2 <op> v", the
// later segments opening with "  OR ". `firstOpens` gives the first segment that opening too.
QString keywordSegments(const QString& op, const QString& quotedValue, bool firstOpens)
{
    QString filter;
    for (int i = 0; i < 5; ++i) {
        if (i > 0 || firstOpens)
            filter += QStringLiteral("  OR ");
        filter += QStringLiteral("Schlagwort%1 %2 %3 OR Schlagwort%4 %2 %3")
                      .arg(QString::number(2 * i + 1), op, quotedValue, QString::number(2 * i + 2));
    }
    return filter;
}

bool isBlankOrControl(QChar c)
{
    return c.unicode() <= 0x20 || c.isSpace() || c.category() == QChar::Other_Control;
}

} // namespace

QString keywordChoice()
{
    return QStringLiteral("Schlagwort");
}

QString CaptionToFieldName(const QString& caption, const QStringList& captions)
{
    QString result = caption;
    const QStringList& fields = FieldCaptions::bookColumnFields();
    const qsizetype k = captions.indexOf(caption);
    if (k >= 0 && k < fields.size()) {
        result = fields.at(k);
    } else if (!caption.isEmpty()) {
        // A caption may also be kept in the settings under its column's name; an absent (empty)
        // value names no caption.
        static const char* const named[] = {"Verfasser",       "Titel",    "Verlag",     "Erscheinungsjahr",
                                            "Erscheinungsort", "Auflage",  "Sachgruppe", "ISBN",
                                            "Signatur",        "Standort", "Bemerkung"};
        for (const char* f : named) {
            const QString field = QString::fromLatin1(f);
            if (Settings::ReadSettingString(field) == caption)
                result = field;
        }
    }
    if (result == u"Nr." || result == u"Nummer")
        result = numberField();
    return result;
}

QString CaptionToFieldName(const QString& caption)
{
    return CaptionToFieldName(caption, FieldCaptions::BookFieldCaptions());
}

QString BuildExactFilter(const QString& caption, const QString& text)
{
    const QString value = FilterExpression::quote(text);
    if (caption == keywordChoice())
        return keywordSegments(QStringLiteral("="), value, false);
    return CaptionToFieldName(caption) + QStringLiteral(" = ") + value;
}

QString BuildPartialFilter(const QString& caption, const QString& text)
{
    const QString value = FilterExpression::quote(text);
    const QString pattern = FilterExpression::quote(u'%' + text + u'%');
    if (caption == keywordChoice())
        return keywordSegments(QStringLiteral("LIKE"), pattern, false) +
               keywordSegments(QStringLiteral("="), value, true);
    const QString field = CaptionToFieldName(caption);
    return field + QStringLiteral(" LIKE ") + pattern + QStringLiteral(" OR ") + field + QStringLiteral(" = ") + value;
}

QString TrimSearchText(const QString& text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isBlankOrControl(text.at(begin)))
        ++begin;
    while (end > begin && isBlankOrControl(text.at(end - 1)))
        --end;
    return text.mid(begin, end - begin);
}

} // namespace SearchFilter
