#include "ReaderEntry.h"

#include "PostalCodes.h"
#include "datastore/FieldNames.h"
#include "datastore/FilterText.h"
#include "datastore/RecordSet.h"

namespace ReaderEntry {

QString openLoansFilter(const QVariant& readerId)
{
    if (readerId.isNull())
        return {};
    return FilterText::allOf(
        {FilterText::equalsNumber(Field::LeserID, readerId.toLongLong()), FilterText::isNull(Field::DatumBis)});
}

void showOpenLoans(RecordSet& readers, RecordSet& loans)
{
    if (!readers.active() || !loans.active())
        return;
    QString filter = readers.isEmpty() ? QString() : openLoansFilter(readers.value(Field::ID));
    if (filter.isEmpty())
        filter = FilterText::isNull(Field::ID); // no reader saved: no loans (every stored loan has an ID)
    if (loans.filtered() && loans.filter() == filter)
        return;
    loans.setFilter(filter);
    loans.setFiltered(true);
}

QStringList lookUpTown(RecordSet& readers, const PostalCodes& codes, const QString& code)
{
    const QStringList towns = codes.towns(code);
    if (towns.isEmpty() || !readers.active() || readers.isEmpty())
        return towns;
    if (!readers.text(Field::Ort).isEmpty())
        return towns;
    if (readers.isEditing())
        readers.setText(Field::Ort, towns.first());
    return towns;
}

} // namespace ReaderEntry
