#include "SearchFilter.h"

#include "catalogue/FieldCaptions.h"
#include "datastore/FieldNames.h"
#include "datastore/FilterText.h"
#include "datastore/Settings.h"

namespace SearchFilter {

namespace {

// Five segments of two keyword terms each: "Schlagwort1 <op> v OR Schlagwort2 <op> v", the
// later segments opening with "  OR ". `firstOpens` gives the first segment that opening too.
QString keywordSegments(const QString& op, const QString& quotedValue, bool firstOpens)
{
    QString filter;
    for (int i = 0; i < 5; ++i) {
        if (i > 0 || firstOpens)
            filter += QStringLiteral("  OR ");
        filter += QStringLiteral("%1 %2 %3 OR %4 %2 %3")
                      .arg(Field::schlagwort(2 * i + 1), op, quotedValue, Field::schlagwort(2 * i + 2));
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
    return Field::Schlagwort;
}

QString fieldForCaption(const QString& caption, const QStringList& captions)
{
    QString result = caption;
    const QStringList& fields = FieldCaptions::bookColumnFields();
    const qsizetype k = captions.indexOf(caption);
    if (k >= 0 && k < fields.size()) {
        result = fields.at(k);
    } else if (!caption.isEmpty()) {
        // A caption may also be kept in the settings under its column's name; an absent (empty)
        // value names no caption.
        using namespace Field;
        for (const QString& field : {Verfasser, Titel, Verlag, Erscheinungsjahr, Erscheinungsort, Auflage, Sachgruppe,
                                     ISBN, Signatur, Standort, Bemerkung}) {
            if (Settings::ReadSettingString(field) == caption)
                result = field;
        }
    }
    if (result == u"Nr." || result == u"Nummer")
        result = Field::ID; // the number users see is the ID; the stored "Nummer" is never filled
    return result;
}

QString fieldForCaption(const QString& caption)
{
    return fieldForCaption(caption, FieldCaptions::bookFieldCaptions());
}

QString exactFilter(const QString& caption, const QString& text)
{
    if (caption == keywordChoice())
        return keywordSegments(QStringLiteral("="), FilterText::quoted(text), false);
    return FilterText::equals(fieldForCaption(caption), text);
}

QString partialFilter(const QString& caption, const QString& text)
{
    if (caption == keywordChoice())
        return keywordSegments(QStringLiteral("LIKE"), FilterText::containsPattern(text), false) +
               keywordSegments(QStringLiteral("="), FilterText::quoted(text), true);
    const QString field = fieldForCaption(caption);
    return FilterText::anyOf({FilterText::contains(field, text), FilterText::equals(field, text)});
}

QString trimSearchText(const QString& text)
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
