#include "CaptionStore.h"

#include "FieldCaptions.h"
#include "datastore/Database.h"
#include "datastore/LibraryData.h"

#include <QRegularExpression>

namespace CaptionStore {

QString storedText(const QStringList& captions)
{
    static const QRegularExpression lineBreaks(QStringLiteral("[\r\n]+"));
    QStringList lines;
    for (QString caption : captions)
        lines << caption.replace(lineBreaks, QStringLiteral(" "));
    lines << QStringLiteral("Sonstiges");
    return FieldCaptions::joinLines(lines);
}

void write(LibraryData& data, const QString& text)
{
    RecordSet& blob = data.blob();
    Transaction t(data.database());
    blob.requery();
    blob.edit();
    blob.setValue(Field::FeldnamenBuecher, text);
    blob.post();
    t.commit();
}

} // namespace CaptionStore
