#include "BookTakeOver.h"

#include "PacketReader.h"
#include "common/Formats.h"
#include "datastore/DataError.h"
#include "datastore/Database.h"
#include "datastore/FieldNames.h"
#include "datastore/LibraryData.h"

#include <QCoreApplication>

#include <algorithm>
#include <cmath>

namespace BookTakeOver {

namespace {

QString tr(const char* text)
{
    return QCoreApplication::translate("BookTakeOver", text);
}

// What a file column must be; a currency column is a double with the subtype "Money".
enum class Expected { Integer, Boolean, Currency, Text };

struct SourceColumn
{
    const char* name;
    Expected type;
};

// In the order in which the previous version defined its fields: a missing column is reported
// in this order.
constexpr SourceColumn SourceColumns[] = {
    {"ID", Expected::Integer},       {"Verfasser", Expected::Text},        {"Titel", Expected::Text},
    {"Verlag", Expected::Text},      {"Erscheinungsort", Expected::Text},  {"Auflage", Expected::Text},
    {"Sachgruppe", Expected::Text},  {"Signatur", Expected::Text},         {"Standort", Expected::Text},
    {"ISBN", Expected::Text},        {"Schlagwort1", Expected::Text},      {"Schlagwort2", Expected::Text},
    {"Schlagwort3", Expected::Text}, {"Schlagwort4", Expected::Text},      {"Schlagwort5", Expected::Text},
    {"Schlagwort6", Expected::Text}, {"Schlagwort7", Expected::Text},      {"Schlagwort8", Expected::Text},
    {"Schlagwort9", Expected::Text}, {"Schlagwort10", Expected::Text},     {"Preis", Expected::Currency},
    {"Bemerkung", Expected::Text},   {"Erscheinungsjahr", Expected::Text}, {"ausgeliehen", Expected::Boolean},
};

// Text columns, taken over unchanged into the book field of the same name.
QStringList textFields()
{
    QStringList fields{Field::Verfasser,       Field::Titel,   Field::Verlag,     Field::Erscheinungsjahr,
                       Field::Erscheinungsort, Field::Auflage, Field::Sachgruppe, Field::Signatur,
                       Field::Standort,        Field::ISBN};
    for (int i = 1; i <= Field::KeywordCount; ++i)
        fields << Field::schlagwort(i);
    return fields;
}

QString typeName(Expected type)
{
    switch (type) {
    case Expected::Integer:
        return tr("Ganzzahl");
    case Expected::Boolean:
        return tr("Wahrheitswert");
    case Expected::Currency:
        return tr("Währung");
    case Expected::Text:
        return tr("Text");
    }
    return {};
}

QString typeName(const PacketReader::Column& c)
{
    switch (c.type) {
    case PacketReader::Type::Integer:
        return typeName(Expected::Integer);
    case PacketReader::Type::Boolean:
        return typeName(Expected::Boolean);
    case PacketReader::Type::Float:
        return c.money ? typeName(Expected::Currency) : tr("Gleitkommazahl");
    case PacketReader::Type::Text:
        return typeName(Expected::Text);
    }
    return {};
}

bool matches(const PacketReader::Column& c, Expected type)
{
    switch (type) {
    case Expected::Integer:
        return c.type == PacketReader::Type::Integer;
    case Expected::Boolean:
        return c.type == PacketReader::Type::Boolean;
    case Expected::Currency:
        return c.type == PacketReader::Type::Float && c.money;
    case Expected::Text:
        return c.type == PacketReader::Type::Text;
    }
    return false;
}

int column(const PacketReader& packet, const char* name)
{
    return packet.columnIndex(QString::fromLatin1(name));
}

QString numberList(const QList<qint64>& numbers)
{
    QStringList parts;
    for (qint64 n : numbers)
        parts << QString::number(n);
    return parts.join(QStringLiteral(", "));
}

// Grids stop following the cursor while the books are added, and catch up once at the end.
class ControlsDisabled
{
public:
    explicit ControlsDisabled(RecordSet& rs) : m_rs(rs) { m_rs.disableControls(); }
    ~ControlsDisabled() { m_rs.enableControls(); }
    ControlsDisabled(const ControlsDisabled&) = delete;
    ControlsDisabled& operator=(const ControlsDisabled&) = delete;

private:
    RecordSet& m_rs;
};

} // namespace

std::optional<qint64> centsOf(double amount)
{
    // Beyond this the ten-thousandths of the price field would no longer be exact.
    if (!std::isfinite(amount) || std::fabs(amount) >= 1e13)
        return std::nullopt;
    if (amount == 0)
        return 0;
    // 15 significant digits, as the amount was shown: "d.dddddddddddddde±xx".
    const QByteArray text = QByteArray::number(std::fabs(amount), 'e', 14);
    const qsizetype e = text.indexOf('e');
    if (e != 16 || text.at(1) != '.')
        return std::nullopt;
    const qint64 mantissa = (text.left(1) + text.mid(2, 14)).toLongLong();
    const int exponent = text.mid(e + 1).toInt();
    // amount = mantissa * 10^(exponent - 14), so cents = mantissa * 10^(exponent - 12).
    const int shift = 12 - exponent; // >= 0 below 1e13
    qint64 cents = 0;
    if (shift <= 0) {
        cents = mantissa;
    } else if (shift <= 15) {
        qint64 divisor = 1;
        for (int i = 0; i < shift; ++i)
            divisor *= 10;
        cents = mantissa / divisor;
        if (2 * (mantissa % divisor) >= divisor)
            ++cents;
    }
    return amount < 0 ? -cents : cents;
}

void checkColumns(const PacketReader& packet)
{
    for (const SourceColumn& s : SourceColumns) {
        const int i = column(packet, s.name);
        if (i < 0)
            throw DataError(tr("Das Feld '%1' wurde nicht gefunden").arg(QString::fromLatin1(s.name)));
        const PacketReader::Column& c = packet.columns().at(i);
        if (!matches(c, s.type))
            throw DataError(tr("Unterschiedliche Typen für Feld '%1'; erwartet: %2, gefunden: %3")
                                .arg(QString::fromLatin1(s.name), typeName(s.type), typeName(c)));
    }
}

bool looksTakenOver(LibraryData& data, const PacketReader& packet)
{
    const int count = packet.recordCount();
    const int title = column(packet, "Titel");
    RecordSet& books = data.books();
    if (count == 0 || title < 0 || !books.active())
        return false;
    const QString first = packet.value(0, title).toString();
    const QString last = packet.value(count - 1, title).toString();

    const int idField = books.fieldIndex(Field::ID);
    const int titleField = books.fieldIndex(Field::Titel);
    QList<std::pair<qint64, int>> byNumber; // (number, row) of every stored book
    for (int row = 0; row < books.rowCountAll(); ++row) {
        const QVariant& id = books.valueRef(row, idField);
        if (!id.isNull())
            byNumber.append({id.toLongLong(), row});
    }
    std::sort(byNumber.begin(), byNumber.end());
    const auto titleAt = [&](qsizetype i) { return books.valueRef(byNumber.at(i).second, titleField).toString(); };
    for (qsizetype k = 0; k + count - 1 < byNumber.size(); ++k)
        if (titleAt(k) == first && titleAt(k + count - 1) == last)
            return true;
    return false;
}

Result takeOver(LibraryData& data, const PacketReader& packet, const Hooks& hooks)
{
    checkColumns(packet);
    RecordSet& books = data.books();
    Result result;
    result.remarkSize = books.field(Field::Bemerkung).size;
    const int total = packet.recordCount();
    if (total == 0)
        return result;
    if (looksTakenOver(data, packet) && !(hooks.confirmRepeat && hooks.confirmRepeat(total))) {
        result.cancelled = true;
        return result;
    }

    QList<std::pair<QString, int>> texts;
    for (const QString& field : textFields())
        texts.append({field, packet.columnIndex(field)});
    const int remark = column(packet, "Bemerkung");
    const int price = column(packet, "Preis");
    const int lent = column(packet, "ausgeliehen");

    const auto stopped = [&] {
        if (books.isEditing())
            books.cancel();
        Result none;
        none.remarkSize = result.remarkSize;
        none.cancelled = true;
        return none;
    };

    ControlsDisabled quiet(books);
    Transaction transaction(data.database());
    for (int r = 0; r < total; ++r) {
        if (hooks.progress && !hooks.progress(r, total))
            return stopped();
        try {
            books.insert();
            for (const auto& [field, index] : texts) {
                const QString text = packet.value(r, index).toString();
                if (!text.isEmpty())
                    books.setValue(field, text);
            }
            QString remarkText = packet.value(r, remark).toString();
            const bool cut = remarkText.size() > result.remarkSize;
            if (cut)
                remarkText.truncate(result.remarkSize);
            if (!remarkText.isEmpty())
                books.setValue(Field::Bemerkung, remarkText);
            const QVariant amount = packet.value(r, price);
            if (!amount.isNull()) {
                const std::optional<qint64> cents = centsOf(amount.toDouble());
                if (!cents)
                    throw DataError(tr("Der Preis in der Datei ist kein gültiger Betrag."));
                books.setValue(Field::Preis, *cents * (Formats::MoneyScale / 100));
            }
            // No loan comes with the book, so it is taken over as not lent.
            books.setValue(Field::Ausgeliehen, false);
            if (packet.value(r, lent).toBool())
                ++result.lentInFile;
            books.post();
            if (cut)
                result.cutRemarks.append(books.value(Field::ID).toLongLong());
            if (hooks.bookPosted)
                hooks.bookPosted();
        } catch (const DataError& e) {
            if (books.isEditing())
                books.cancel();
            throw DataError(tr("Das %1. Buch der Datei konnte nicht übernommen werden; es wurde kein Buch "
                               "übernommen.\n%2")
                                .arg(r + 1)
                                .arg(e.message()),
                            e.details(), e.kind());
        } catch (...) {
            if (books.isEditing())
                books.cancel();
            throw;
        }
        ++result.taken;
    }
    if (hooks.progress && !hooks.progress(total, total))
        return stopped();
    transaction.commit();
    // New records stand where the cursor was when they were inserted; re-read, the books show in
    // their stored order again. The books are stored by now: a failing re-read must not report the
    // take-over as failed (the periodic refresh reads them later).
    try {
        books.requery();
    } catch (const DataError&) {
    }
    return result;
}

Result takeOverFile(LibraryData& data, const QString& fileName, const Hooks& hooks)
{
    return takeOver(data, PacketReader::fromFile(fileName), hooks);
}

QString Result::summary() const
{
    QString text = taken == 1 ? tr("1 Buch übernommen") : tr("%1 Bücher übernommen").arg(taken);
    if (lentInFile > 0)
        text += QStringLiteral("\n\n") + (lentInFile == 1
                                              ? tr("1 Buch war in der Datei als ausgeliehen markiert. Da keine "
                                                   "Ausleihen übernommen werden, ist es jetzt nicht ausgeliehen.")
                                              : tr("%1 Bücher waren in der Datei als ausgeliehen markiert. Da keine "
                                                   "Ausleihen übernommen werden, sind sie jetzt nicht ausgeliehen.")
                                                    .arg(lentInFile));
    if (!cutRemarks.isEmpty())
        text += QStringLiteral("\n\n") + tr("Die Bemerkung war länger als %1 Zeichen und wurde gekürzt bei Nr. %2.")
                                             .arg(remarkSize)
                                             .arg(numberList(cutRemarks));
    return text;
}

} // namespace BookTakeOver
