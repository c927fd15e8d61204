#include "Importer.h"

#include "datastore/DataError.h"
#include "datastore/LibraryData.h"

#include <QCoreApplication>
#include <QScopeGuard>
#include <QSignalBlocker>

namespace {

QString tr(const char* text)
{
    return QCoreApplication::translate("Importer", text);
}

struct Column
{
    QString field;
    int source = -1;
    int size = 0; // text fields: the most characters it holds
    bool price = false;
};

constexpr int ProgressStep = 200;

} // namespace

Importer::Importer(LibraryData& data, ImportTarget::Kind kind) : m_data(data), m_kind(kind) {}

Importer::Result Importer::run(const SourceTable& source, const QList<int>& assignments, bool skipFirstRecord)
{
    Result result;
    const int first = skipFirstRecord ? 1 : 0;
    const int total = std::max(0, source.recordCount() - first);
    if (total == 0)
        return result;

    const bool books = m_kind == ImportTarget::Kind::Books;
    RecordSet& rs = books ? m_data.books() : m_data.readers();
    const QList<ImportTarget>& targets = ImportTarget::rows(m_kind);
    QList<Column> columns;
    for (int i = 0; i < targets.size() && i < assignments.size(); ++i) {
        if (assignments.at(i) < 0 || targets.at(i).field.isEmpty())
            continue;
        const FieldDef& f = rs.field(targets.at(i).field);
        columns.append(
            {f.name, assignments.at(i), f.type == ColumnType::Text ? f.size : 0, f.type == ColumnType::Money});
    }

    // A pending edit of the user's is settled on its own, before the import's transaction.
    if (rs.isEditing()) {
        if (rs.modified())
            rs.post();
        else
            rs.cancel();
    }

    // The grids catch up once at the end instead of after every record.
    rs.disableControls();
    const auto reattach = qScopeGuard([&] { rs.enableControls(); });
    // A record is inserted before the current one: standing on the last record and stepping onto it
    // again after each new one keeps the new records in source order, and the inserts cheap.
    rs.last();
    QList<int> rows;
    rows.reserve(total);
    {
        Transaction t(m_data.database());
        for (int r = first; r < source.recordCount(); ++r) {
            const int done = r - first;
            if (m_progress && done % ProgressStep == 0 && !m_progress(done, total)) {
                result = Result();
                result.cancelled = true;
                return result; // the transaction rolls back
            }
            try {
                rs.insert();
                if (books)
                    rs.setValue(QStringLiteral("ausgeliehen"), false);
                for (const Column& c : columns) {
                    QString text = source.value(r, c.source);
                    if (c.price) {
                        try {
                            rs.setText(c.field, text);
                        } catch (const DataError&) {
                            rs.setValue(c.field, QVariant());
                            ++result.unreadablePrices;
                        }
                        continue;
                    }
                    if (c.size > 0 && text.size() > c.size) {
                        text.truncate(c.size);
                        ++result.shortened;
                    }
                    rs.setText(c.field, text);
                }
                rs.post();
                rows.append(rs.currentRow());
                rs.next();
            } catch (const DataError& e) {
                throw DataError(tr("Der Import wurde abgebrochen; es wurde nichts übernommen.\n"
                                   "Datensatz %1 der Quelldatei: %2")
                                    .arg(r + 1)
                                    .arg(e.message()),
                                e.details(), e.kind());
            }
        }
        if (m_progress && !m_progress(total, total)) {
            result = Result();
            result.cancelled = true;
            return result;
        }
        // The per-record reactions to a stored record are replaced by one run of afterImport.
        const QSignalBlocker quiet(rs);
        t.commit();
    }
    result.imported = int(rows.size());
    if (m_afterImport)
        m_afterImport(rows);
    return result;
}

QString Importer::summary(const Result& result) const
{
    if (result.cancelled)
        return tr("Der Import wurde abgebrochen; es wurde nichts übernommen.");
    const bool books = m_kind == ImportTarget::Kind::Books;
    QString text;
    if (result.imported == 1)
        text = books ? tr("1 Buch importiert") : tr("1 Leser importiert");
    else
        text = (books ? tr("%1 Bücher importiert") : tr("%1 Leser importiert")).arg(result.imported);
    if (result.unreadablePrices == 1)
        text += u'\n' + tr("1 Preis konnte nicht gelesen werden; dieses Buch wurde ohne Preis übernommen.");
    else if (result.unreadablePrices > 1)
        text += u'\n' + tr("%1 Preise konnten nicht gelesen werden; diese Bücher wurden ohne Preis übernommen.")
                            .arg(result.unreadablePrices);
    if (result.shortened == 1)
        text += u'\n' + tr("1 Wert war länger als sein Feld und wurde gekürzt.");
    else if (result.shortened > 1)
        text += u'\n' + tr("%1 Werte waren länger als ihr Feld und wurden gekürzt.").arg(result.shortened);
    return text;
}
