#include "RecordSet.h"

#include "DataError.h"
#include "Database.h"
#include "SqlEngine.h"
#include "SqlFailure.h"
#include "common/Formats.h"

#include <QCollator>
#include <QCoreApplication>
#include <QSqlError>
#include <QSqlQuery>
#include <algorithm>

namespace {

QString quoted(const QString& name)
{
    return u'"' + name + u'"';
}

bool isTextType(ColumnType t)
{
    return t == ColumnType::Text || t == ColumnType::Memo;
}

} // namespace

RecordSet::RecordSet(const QString& name, QObject* parent) : QObject(parent), m_name(name)
{
    setObjectName(name);
}

RecordSet::~RecordSet() = default;

void RecordSet::setTable(const QString& table, const QStringList& hiddenColumns)
{
    Q_ASSERT(!active());
    m_table = table;
    m_columns.clear();
    m_fields.clear();
    m_fieldByName.clear();
    m_fieldByExactName.clear();
    m_insertSql.clear();
    m_idColumn = -1;
    // Hidden columns are not read at all; they are not fields of the record set.
    for (const ColumnDef& c : Schema::table(table).columns) {
        if (hiddenColumns.contains(c.name))
            continue;
        FieldDef f;
        f.name = c.name;
        f.type = c.type;
        f.size = c.size;
        f.kind = FieldDef::Kind::Data;
        f.column = int(m_columns.size());
        if (c.name == u"ID")
            m_idColumn = f.column;
        m_columns.append(c);
        m_fieldByName.insert(c.name.toLower(), int(m_fields.size()));
        m_fieldByExactName.insert(c.name, int(m_fields.size()));
        m_fields.append(f);
    }
}

void RecordSet::addCalculatedField(const QString& name, ColumnType type,
                                   std::function<QVariant(const RecordSet&, int row)> calculate)
{
    FieldDef f;
    f.name = name;
    f.type = type;
    f.kind = FieldDef::Kind::Calculated;
    f.calculate = std::move(calculate);
    m_fieldByName.insert(name.toLower(), int(m_fields.size()));
    m_fieldByExactName.insert(name, int(m_fields.size()));
    m_fields.append(f);
}

void RecordSet::addLookupField(const QString& name, ColumnType type, int size, const QString& keyField,
                               RecordSet* lookupSet, const QString& resultField)
{
    FieldDef f;
    f.name = name;
    f.type = type;
    f.size = size;
    f.kind = FieldDef::Kind::Lookup;
    f.keyField = keyField;
    f.lookupSet = lookupSet;
    f.resultField = resultField;
    m_fieldByName.insert(name.toLower(), int(m_fields.size()));
    m_fieldByExactName.insert(name, int(m_fields.size()));
    m_fields.append(f);
}

int RecordSet::fieldIndex(const QString& name) const
{
    // Callers mostly write the name as defined; only other spellings pay for the lower-casing.
    const auto exact = m_fieldByExactName.constFind(name);
    if (exact != m_fieldByExactName.cend())
        return *exact;
    return m_fieldByName.value(name.toLower(), -1);
}

const FieldDef& RecordSet::field(const QString& name) const
{
    const int i = fieldIndex(name);
    if (i < 0)
        throw DataError(tr("%1: Das Feld „%2“ gibt es nicht.").arg(m_name, SqlFailure::shortened(name)));
    return m_fields.at(i);
}

std::optional<FilterExpression::Field> RecordSet::resolve(const QString& name) const
{
    const int i = fieldIndex(name);
    if (i < 0)
        return std::nullopt;
    return FilterExpression::Field{i, m_fields.at(i).type};
}

// ---------------------------------------------------------------- open, close, load

void RecordSet::requireActive() const
{
    if (!active())
        throw DataError(tr("Es ist keine Datenbank geöffnet. Bitte erstellen oder öffnen Sie eine Datenbank über "
                           "„Programm“ › „Datenbank erstellen / öffnen“."));
}

void RecordSet::requireRecord() const
{
    requireActive();
    if (m_view.isEmpty())
        throw DataError(tr("Die Liste ist leer: es gibt keinen Datensatz, der bearbeitet oder gelöscht werden "
                           "könnte."));
}

QString RecordSet::columnList() const
{
    QStringList cols;
    for (const ColumnDef& c : m_columns)
        cols << quoted(c.name);
    return cols.join(QStringLiteral(", "));
}

RecordSet::Rows RecordSet::readRows(Database& db) const
{
    if (!db.isOpen())
        throw DataError(tr("Es ist keine Datenbank geöffnet. Bitte erstellen oder öffnen Sie eine Datenbank über "
                           "„Programm“ › „Datenbank erstellen / öffnen“."));
    const SqlEngine& engine = db.engine();
    Rows rows;
    QSqlQuery q(db.connection());
    q.setForwardOnly(true);
    const QString order = m_idColumn >= 0 ? QStringLiteral(" ORDER BY \"ID\"") : QString();
    const QString failed = tr("Die Tabelle „%1“ konnte nicht gelesen werden.").arg(m_table);
    if (!q.exec(QStringLiteral("SELECT %1 FROM %2%3").arg(columnList(), quoted(m_table), order)))
        throw SqlFailure::from(failed, q.lastError());
    const int n = int(m_columns.size());
    while (q.next()) {
        Row r;
        r.resize(n);
        for (int c = 0; c < n; ++c)
            r[c] = engine.fromStorage(m_columns.at(c).type, q.value(c));
        rows.rows.append(std::move(r));
    }
    if (q.lastError().isValid())
        throw SqlFailure::from(failed, q.lastError());
    q.finish(); // release the read lock at once: other workstations wait for it to write
    return rows;
}

void RecordSet::load()
{
    if (!m_db)
        throw DataError(tr("Es ist keine Datenbank geöffnet. Bitte erstellen oder öffnen Sie eine Datenbank über "
                           "„Programm“ › „Datenbank erstellen / öffnen“."));
    adopt(readRows(*m_db));
}

void RecordSet::adopt(Rows rows)
{
    m_rows = std::move(rows.rows);
    m_sortedValid = false;
    m_idIndex.clear();
    if (m_idColumn >= 0) {
        m_idIndex.reserve(m_rows.size());
        for (int r = 0; r < m_rows.size(); ++r)
            m_idIndex.insert(m_rows.at(r).at(m_idColumn).toLongLong(), r);
    }
}

void RecordSet::openWith(Rows rows)
{
    close();
    adopt(std::move(rows));
    setState(DataSetState::Browse);
    rebuildView();
}

void RecordSet::open()
{
    if (active())
        return;
    load();
    setState(DataSetState::Browse);
    rebuildView();
}

void RecordSet::close()
{
    if (!active())
        return;
    emit aboutToReset();
    m_rows.clear();
    m_idIndex.clear();
    m_view.clear();
    m_pos = 0;
    m_eof = m_bof = true;
    m_modified = false;
    m_original.clear();
    m_insertRow = -1;
    m_state = DataSetState::Inactive;
    emit reset();
    emit stateChanged();
}

void RecordSet::requery()
{
    requireActive();
    checkBrowseMode();
    load();
    rebuildView();
}

void RecordSet::discardAndReload()
{
    if (!active())
        return;
    m_modified = false;
    m_original.clear();
    m_insertRow = -1;
    setState(DataSetState::Browse);
    load();
    rebuildView();
}

// ---------------------------------------------------------------- view: filter and sort

bool RecordSet::rowMatchesFilter(int row) const
{
    if (!m_filtered || m_filter.isEmpty())
        return true;
    return m_filter.matches(
        row, [this](int r, int f) -> const QVariant& { return valueRef(r, f); },
        [this](int r, int f) { return textAt(r, f); });
}

void RecordSet::sortView(QList<int>& view) const
{
    if (m_sortFields.isEmpty())
        return;
    // Keys are computed once per row: text compares by German collation, ignoring letter case.
    QCollator collator(QLocale(QLocale::German, QLocale::Germany));
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    collator.setNumericMode(false);
    struct Key
    {
        QList<QVariant> values;
        QList<QCollatorSortKey> texts;
    };
    const int nf = int(m_sortFields.size());
    std::vector<QList<QCollatorSortKey>> textKeys(nf);
    std::vector<std::vector<qint64>> numKeys(nf);
    std::vector<std::vector<char>> nulls(nf);
    for (int k = 0; k < nf; ++k) {
        const FieldDef& f = m_fields.at(m_sortFields.at(k));
        nulls[k].resize(view.size());
        if (isTextType(f.type)) {
            textKeys[k].reserve(view.size());
            for (int i = 0; i < view.size(); ++i) {
                const QVariant v = valueAt(view.at(i), m_sortFields.at(k));
                nulls[k][i] = v.isNull();
                textKeys[k].append(collator.sortKey(v.toString()));
            }
        } else {
            numKeys[k].resize(view.size());
            for (int i = 0; i < view.size(); ++i) {
                const QVariant v = valueAt(view.at(i), m_sortFields.at(k));
                nulls[k][i] = v.isNull();
                numKeys[k][i] = f.type == ColumnType::Boolean ? (v.toBool() ? 1 : 0) : v.toLongLong();
            }
        }
    }
    std::vector<int> perm(view.size());
    for (int i = 0; i < int(perm.size()); ++i)
        perm[i] = i;
    std::sort(perm.begin(), perm.end(), [&](int a, int b) {
        for (int k = 0; k < nf; ++k) {
            if (nulls[k][a] != nulls[k][b])
                return nulls[k][a] > nulls[k][b]; // empty values first
            if (nulls[k][a])
                continue;
            if (!textKeys[k].isEmpty()) {
                const int c = textKeys[k].at(a).compare(textKeys[k].at(b));
                if (c != 0)
                    return c < 0;
            } else if (numKeys[k][a] != numKeys[k][b]) {
                return numKeys[k][a] < numKeys[k][b];
            }
        }
        return view.at(a) < view.at(b); // ties: the order read, which is by ID
    });
    QList<int> sorted;
    sorted.reserve(view.size());
    for (int i : perm)
        sorted.append(view.at(i));
    view = std::move(sorted);
}

void RecordSet::rebuildView()
{
    emit aboutToReset();
    bool lookupSort = false;
    for (int f : m_sortFields)
        lookupSort |= m_fields.at(f).kind == FieldDef::Kind::Lookup;
    QList<int> view;
    view.reserve(m_rows.size());
    if (!m_sortFields.isEmpty() && !lookupSort) {
        // Looked-up values change with the other record set, so only sorts without them are kept.
        if (!m_sortedValid) {
            m_sortedAll.clear();
            m_sortedAll.reserve(m_rows.size());
            for (int r = 0; r < m_rows.size(); ++r)
                if (!m_rows.at(r).isEmpty())
                    m_sortedAll.append(r);
            sortView(m_sortedAll);
            m_sortedValid = true;
        }
        // Filter in stored order (rows are read one after the other, which memory likes), then
        // pick the matches in sort order.
        std::vector<char> match(m_rows.size());
        for (int r = 0; r < m_rows.size(); ++r)
            match[r] = !m_rows.at(r).isEmpty() && rowMatchesFilter(r);
        for (int r : std::as_const(m_sortedAll))
            if (match[r])
                view.append(r);
    } else {
        for (int r = 0; r < m_rows.size(); ++r)
            if (!m_rows.at(r).isEmpty() && rowMatchesFilter(r))
                view.append(r);
        sortView(view);
    }
    m_view = std::move(view);
    m_pos = 0;
    m_bof = true;
    m_eof = m_view.isEmpty();
    emit reset();
    emitMoved();
}

void RecordSet::setFilter(const QString& text)
{
    requireActive();
    FilterExpression parsed =
        FilterExpression::parse(text, [this](const QString& name) { return resolve(name); }); // throws
    checkBrowseMode();
    m_filter = std::move(parsed);
    m_filterText = text;
    if (m_filtered)
        rebuildView();
}

void RecordSet::setFiltered(bool on)
{
    requireActive();
    if (on == m_filtered)
        return; // a new filter text has been applied already
    checkBrowseMode();
    m_filtered = on;
    rebuildView();
}

void RecordSet::setIndexFieldNames(const QString& fields)
{
    QList<int> sortFields;
    for (const QString& name : fields.split(u';', Qt::SkipEmptyParts)) {
        const int i = fieldIndex(name.trimmed());
        if (i < 0)
            throw DataError(tr("%1: Nach dem Feld „%2“ kann nicht sortiert werden, es gibt es nicht.")
                                .arg(m_name, SqlFailure::shortened(name.trimmed())));
        sortFields.append(i);
    }
    if (active())
        checkBrowseMode();
    m_sortFields = sortFields;
    m_sortText = fields;
    m_sortedValid = false;
    if (active())
        rebuildView();
}

// ---------------------------------------------------------------- cursor

int RecordSet::currentRow() const
{
    return m_view.isEmpty() ? -1 : m_view.at(m_pos);
}

void RecordSet::emitMoved()
{
    emit cursorMoved(m_view.isEmpty() ? -1 : m_pos);
    emit afterScroll();
}

void RecordSet::moveTo(int position)
{
    if (m_view.isEmpty()) {
        m_pos = 0;
        m_bof = m_eof = true;
        emitMoved();
        return;
    }
    m_pos = std::clamp(position, 0, int(m_view.size()) - 1);
    m_bof = m_pos == 0;
    m_eof = false;
    emitMoved();
}

void RecordSet::setRecNo(int recNo)
{
    requireActive();
    checkBrowseMode();
    moveTo(recNo - 1);
}

void RecordSet::first()
{
    requireActive();
    checkBrowseMode();
    moveTo(0);
    m_eof = m_view.isEmpty();
}

void RecordSet::last()
{
    requireActive();
    checkBrowseMode();
    moveTo(int(m_view.size()) - 1);
}

void RecordSet::next()
{
    requireActive();
    checkBrowseMode();
    if (m_view.isEmpty() || m_pos >= m_view.size() - 1) {
        m_eof = true;
        return;
    }
    moveTo(m_pos + 1);
}

void RecordSet::prior()
{
    requireActive();
    checkBrowseMode();
    if (m_pos <= 0) {
        m_bof = true;
        return;
    }
    moveTo(m_pos - 1);
    m_bof = false;
}

namespace {
// A locate value converted to the field's in-memory form; invalid when it cannot match.
QVariant locateKey(const FieldDef& f, const QVariant& v, bool* isNull)
{
    *isNull = !v.isValid() || v.isNull() || (v.typeId() == QMetaType::QString && v.toString().isEmpty());
    if (*isNull)
        return {};
    switch (f.type) {
    case ColumnType::AutoIncrement:
    case ColumnType::Integer:
    case ColumnType::Money: {
        bool ok = false;
        const qint64 n = v.toLongLong(&ok);
        return ok ? QVariant(n) : QVariant();
    }
    case ColumnType::Boolean:
        return v.toBool();
    case ColumnType::DateTime:
        if (v.typeId() == QMetaType::QDateTime || v.typeId() == QMetaType::QDate)
            return PackedDateTime::pack(v.toDateTime());
        return {};
    case ColumnType::Text:
    case ColumnType::Memo:
        return v.toString();
    }
    return {};
}
} // namespace

std::function<bool(int)> RecordSet::rowMatcher(const QString& fieldNames, const QVariantList& values) const
{
    const QStringList names = fieldNames.split(u';');
    if (names.size() != values.size())
        throw DataError(
            tr("%1: Suche mit %2 Feldern, aber %3 Werten.").arg(m_name).arg(names.size()).arg(values.size()));
    QList<int> idx;
    QList<QVariant> keys;
    QList<bool> nullKeys;
    for (int i = 0; i < names.size(); ++i) {
        const FieldDef& f = field(names.at(i).trimmed());
        bool isNull = false;
        const QVariant k = locateKey(f, values.at(i), &isNull);
        if (!isNull && !k.isValid())
            return {}; // a value of the wrong kind matches nothing
        idx << fieldIndex(f.name);
        keys << k;
        nullKeys << isNull;
    }
    return [this, idx, keys, nullKeys](int row) {
        for (int i = 0; i < idx.size(); ++i) {
            const QVariant v = valueAt(row, idx.at(i));
            if (nullKeys.at(i) ? !v.isNull() : (v.isNull() || v != keys.at(i)))
                return false;
        }
        return true;
    };
}

int RecordSet::findRow(const QString& fields, const QVariantList& values) const
{
    requireActive();
    const auto matches = rowMatcher(fields, values);
    if (!matches)
        return -1;
    for (int r = 0; r < m_rows.size(); ++r)
        if (!m_rows.at(r).isEmpty() && matches(r))
            return r;
    return -1;
}

bool RecordSet::locate(const QString& fields, const QVariantList& values)
{
    requireActive();
    checkBrowseMode();
    const auto matches = rowMatcher(fields, values);
    if (!matches)
        return false;
    // In view order, so that the first match is the first one the user sees.
    for (int p = 0; p < m_view.size(); ++p) {
        if (matches(m_view.at(p))) {
            moveTo(p);
            return true;
        }
    }
    return false;
}

// ---------------------------------------------------------------- values

int RecordSet::rowById(qint64 id) const
{
    return m_idIndex.value(id, -1);
}

QVariant RecordSet::valueAt(int row, int fieldIndex) const
{
    if (row < 0 || row >= m_rows.size() || fieldIndex < 0)
        return {};
    const FieldDef& f = m_fields.at(fieldIndex);
    switch (f.kind) {
    case FieldDef::Kind::Data: {
        const Row& r = m_rows.at(row);
        return r.isEmpty() ? QVariant() : r.at(f.column);
    }
    case FieldDef::Kind::Calculated:
        return f.calculate ? f.calculate(*this, row) : QVariant();
    case FieldDef::Kind::Lookup: {
        if (!f.lookupSet)
            return {};
        const QVariant key = valueAt(row, this->fieldIndex(f.keyField));
        if (key.isNull())
            return {};
        const int other = f.lookupSet->rowById(key.toLongLong());
        if (other < 0)
            return {};
        return f.lookupSet->valueAt(other, f.lookupSet->fieldIndex(f.resultField));
    }
    }
    return {};
}

const QVariant& RecordSet::valueRef(int row, int fieldIndex) const
{
    static const QVariant null;
    if (row < 0 || row >= m_rows.size() || fieldIndex < 0)
        return null;
    const FieldDef& f = m_fields.at(fieldIndex);
    if (f.kind == FieldDef::Kind::Data) {
        const Row& r = m_rows.at(row);
        return r.isEmpty() ? null : r.at(f.column);
    }
    m_scratch = valueAt(row, fieldIndex);
    return m_scratch;
}

QString RecordSet::displayText(ColumnType type, const QVariant& v)
{
    if (!v.isValid() || v.isNull())
        return {};
    switch (type) {
    case ColumnType::Text:
    case ColumnType::Memo:
        return v.toString();
    case ColumnType::AutoIncrement:
    case ColumnType::Integer:
        return QString::number(v.toLongLong());
    case ColumnType::Money:
        return Formats::formatPrice(v.toLongLong());
    case ColumnType::DateTime:
        return Formats::formatDate(PackedDateTime::unpack(v.toLongLong()));
    case ColumnType::Boolean:
        return v.toBool() ? tr("Ja") : tr("Nein");
    }
    return v.toString();
}

QString RecordSet::textAt(int row, int fieldIndex) const
{
    if (fieldIndex < 0)
        return {};
    return displayText(m_fields.at(fieldIndex).type, valueAt(row, fieldIndex));
}

QVariant RecordSet::value(const QString& name) const
{
    requireActive();
    const FieldDef& f = field(name);
    const int row = currentRow();
    if (row < 0)
        return {};
    const QVariant v = valueAt(row, fieldIndex(f.name));
    if (f.type == ColumnType::DateTime && !v.isNull())
        return PackedDateTime::unpack(v.toLongLong());
    return v;
}

QString RecordSet::text(const QString& name) const
{
    requireActive();
    const int row = currentRow();
    return row < 0 ? QString() : textAt(row, fieldIndex(field(name).name));
}

namespace {
// Characters as the user sees them: a surrogate pair is one.
int characterCount(const QString& s)
{
    int n = 0;
    for (int i = 0; i < s.size(); ++i, ++n)
        if (s.at(i).isHighSurrogate() && i + 1 < s.size() && s.at(i + 1).isLowSurrogate())
            ++i;
    return n;
}
} // namespace

QString RecordSet::typedText(const QString& field, const QString& text) const
{
    // NUL ends a text in the engine and in other programs: what follows would be lost.
    if (text.contains(QChar(0)))
        throw DataError(tr("Der Text für das Feld „%1“ enthält ein Steuerzeichen (NUL), das nicht gespeichert werden "
                           "kann. Bitte geben Sie den Text ohne dieses Zeichen ein.")
                            .arg(field));
    // A lone surrogate is no character; stored as it is it would swallow the next one.
    QString clean = text;
    for (int i = 0; i < clean.size(); ++i) {
        const QChar c = clean.at(i);
        if (c.isHighSurrogate() && i + 1 < clean.size() && clean.at(i + 1).isLowSurrogate())
            ++i;
        else if (c.isSurrogate())
            clean[i] = QChar(QChar::ReplacementCharacter);
    }
    return clean;
}

void RecordSet::setValue(const QString& name, const QVariant& value)
{
    requireRecord();
    const FieldDef& f = field(name);
    if (!isEditing())
        throw DataError(tr("Der Datensatz wird gerade nicht bearbeitet; die Änderung wurde nicht übernommen."));
    if (f.kind != FieldDef::Kind::Data || f.type == ColumnType::AutoIncrement)
        throw DataError(tr("%1: Das Feld „%2“ kann nicht geändert werden.").arg(m_name, f.name));
    QVariant v;
    if (value.isValid() && !value.isNull()) {
        switch (f.type) {
        case ColumnType::Text:
        case ColumnType::Memo: {
            const QString text = typedText(f.name, value.toString());
            if (!text.isEmpty()) // empty text is stored as NULL
                v = text;
            break;
        }
        case ColumnType::Boolean:
            v = value.toBool();
            break;
        case ColumnType::DateTime:
            if (value.typeId() != QMetaType::QDateTime && value.typeId() != QMetaType::QDate)
                throw DataError(tr("%1: „%2“ ist kein Datum für das Feld „%3“.")
                                    .arg(m_name, SqlFailure::shortened(value.toString()), f.name));
            if (value.toDateTime().isValid())
                v = PackedDateTime::pack(value.toDateTime());
            break;
        case ColumnType::Integer:
        case ColumnType::Money:
        case ColumnType::AutoIncrement: {
            bool ok = false;
            const qint64 n = value.toLongLong(&ok);
            if (!ok || (f.type == ColumnType::Integer && (n < INT32_MIN || n > INT32_MAX)))
                throw DataError(tr("%1: „%2“ ist kein gültiger Wert für das Feld „%3“.")
                                    .arg(m_name, SqlFailure::shortened(value.toString()), f.name));
            v = n;
            break;
        }
        }
    }
    Row& r = m_rows[currentRow()];
    if (r.at(f.column) == v && r.at(f.column).isNull() == v.isNull())
        return;
    r[f.column] = v;
    m_modified = true;
    emit rowChanged(m_pos);
}

void RecordSet::setText(const QString& name, const QString& text)
{
    const FieldDef& f = field(name);
    if (text.trimmed().isEmpty() && !isTextType(f.type)) {
        setValue(name, QVariant());
        return;
    }
    switch (f.type) {
    case ColumnType::Text:
    case ColumnType::Memo:
        setValue(name, text);
        return;
    case ColumnType::Money: {
        const auto amount = Formats::parsePrice(text);
        if (!amount)
            throw DataError(tr("„%1“ ist kein gültiger Betrag für das Feld „%2“. Bitte geben Sie einen Betrag wie "
                               "12,50 ein.")
                                .arg(SqlFailure::shortened(text), f.name));
        setValue(name, *amount);
        return;
    }
    case ColumnType::DateTime: {
        const QDate d = Formats::parseDate(text);
        if (!d.isValid())
            throw DataError(tr("„%1“ ist kein gültiges Datum für das Feld „%2“. Bitte geben Sie das Datum als "
                               "TT.MM.JJJJ ein.")
                                .arg(SqlFailure::shortened(text), f.name));
        // Keep the time of day the value had.
        const QVariant old = value(name);
        const QTime t = old.isNull() ? QTime(0, 0) : old.toDateTime().time();
        setValue(name, QDateTime(d, t));
        return;
    }
    case ColumnType::Integer:
    case ColumnType::AutoIncrement: {
        bool ok = false;
        const int n = text.trimmed().toInt(&ok);
        if (!ok)
            throw DataError(
                tr("„%1“ ist keine gültige ganze Zahl für das Feld „%2“.").arg(SqlFailure::shortened(text), f.name));
        setValue(name, n);
        return;
    }
    case ColumnType::Boolean:
        setValue(name, QVariant(text).toBool());
        return;
    }
}

// ---------------------------------------------------------------- editing

void RecordSet::setState(DataSetState s)
{
    if (m_state == s)
        return;
    m_state = s;
    emit stateChanged();
}

void RecordSet::markModified()
{
    if (isEditing())
        m_modified = true;
}

void RecordSet::checkBrowseMode()
{
    if (!isEditing())
        return;
    if (m_modified)
        post();
    else
        cancel();
}

void RecordSet::insert()
{
    requireActive();
    checkBrowseMode();
    Row r;
    r.resize(m_columns.size());
    const int row = int(m_rows.size());
    m_rows.append(r);
    m_sortedValid = false;
    const int pos = m_view.isEmpty() ? 0 : m_pos;
    emit rowAboutToBeInserted(pos);
    m_view.insert(pos, row);
    m_pos = pos;
    m_bof = m_eof = false;
    m_insertRow = row;
    m_original.clear();
    emit rowInserted(pos);
    setState(DataSetState::Insert);
    emit afterInsert();
    m_modified = false; // presets of the after-insert reaction are no change of the user's
    emitMoved();
}

void RecordSet::edit()
{
    requireRecord();
    if (isEditing())
        return;
    m_original = m_rows.at(currentRow());
    m_modified = false;
    setState(DataSetState::Edit);
}

void RecordSet::validateForPost() const
{
    const Row& r = m_rows.at(currentRow());
    for (int c = 0; c < m_columns.size(); ++c) {
        const ColumnDef& col = m_columns.at(c);
        if (col.type == ColumnType::Text && !r.at(c).isNull() && characterCount(r.at(c).toString()) > col.size)
            throw DataError(tr("Der Text im Feld „%1“ ist zu lang: erlaubt sind höchstens %2 Zeichen, eingegeben "
                               "wurden %3. Es wurde nichts gespeichert.")
                                .arg(col.name)
                                .arg(col.size)
                                .arg(characterCount(r.at(c).toString())));
    }
}

void RecordSet::post()
{
    requireActive();
    if (!isEditing())
        return;
    emit beforePost(); // editors hand over what they hold; may throw
    validateForPost();
    const SqlEngine& engine = m_db->engine();
    const int row = currentRow();
    Row& r = m_rows[row];
    const bool nested = m_db->transactionDepth() > 0;
    if (nested)
        m_db->touched(this); // a rollback of the outer transaction must re-read this set
    qint64 id = m_idColumn >= 0 ? r.at(m_idColumn).toLongLong() : 0;
    {
        Transaction t(*m_db);
        QSqlQuery q(m_db->connection());
        if (m_state == DataSetState::Insert) {
            QStringList cols, marks;
            QVariantList binds;
            bool plain = true; // every value binds to a bare "?"
            for (int c = 0; c < m_columns.size(); ++c) {
                if (m_columns.at(c).type == ColumnType::AutoIncrement)
                    continue;
                cols << quoted(m_columns.at(c).name);
                const QVariant v = engine.toStorage(m_columns.at(c).type, r.at(c));
                const QString mark = engine.placeholder(v);
                plain = plain && mark == u'?';
                marks << mark;
                binds << engine.bindable(v);
            }
            const auto insertSql = [&](const QStringList& valueMarks) {
                return cols.isEmpty() ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(quoted(m_table))
                                      : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                            .arg(quoted(m_table), cols.join(u','), valueMarks.join(u','));
            };
            // The same insert for every ordinary new record of this table: prepared once per
            // connection. A value that needs its own placeholder gets a statement of its own.
            if (plain && m_insertSql.isEmpty())
                m_insertSql = insertSql(marks);
            QSqlQuery& insert = plain ? m_db->preparedQuery(m_insertSql) : q;
            if (!plain)
                insert.prepare(insertSql(marks));
            for (int i = 0; i < binds.size(); ++i)
                insert.bindValue(i, binds.at(i));
            const bool ok = insert.exec();
            const QSqlError error = insert.lastError();
            if (ok && m_idColumn >= 0 && m_columns.at(m_idColumn).type == ColumnType::AutoIncrement)
                id = insert.lastInsertId().toLongLong();
            insert.finish(); // leaves the statement prepared, releases its read of the database
            if (!ok)
                throw SqlFailure::from(tr("Der neue Datensatz konnte nicht gespeichert werden."), error);
        } else {
            // Optimistic locking: only changed columns, and only while they still hold what we read.
            QStringList sets, where{QStringLiteral("\"ID\" = ?")};
            QVariantList setBinds, whereBinds{m_original.at(m_idColumn).toLongLong()};
            for (int c = 0; c < m_columns.size(); ++c) {
                const QVariant& now = r.at(c);
                const QVariant& was = m_original.at(c);
                if (now == was && now.isNull() == was.isNull())
                    continue;
                const QVariant nowStored = engine.toStorage(m_columns.at(c).type, now);
                const QVariant wasStored = engine.toStorage(m_columns.at(c).type, was);
                sets << quoted(m_columns.at(c).name) + QStringLiteral(" = ") + engine.placeholder(nowStored);
                setBinds << engine.bindable(nowStored);
                where << quoted(m_columns.at(c).name) + engine.nullSafeEqual() + engine.placeholder(wasStored);
                whereBinds << engine.bindable(wasStored);
            }
            if (!sets.isEmpty()) {
                q.prepare(
                    QStringLiteral("UPDATE %1 SET %2 WHERE %3")
                        .arg(quoted(m_table), sets.join(QStringLiteral(", ")), where.join(QStringLiteral(" AND "))));
                for (const QVariant& b : setBinds)
                    q.addBindValue(b);
                for (const QVariant& b : whereBinds)
                    q.addBindValue(b);
                if (!q.exec())
                    throw SqlFailure::from(tr("Die Änderungen konnten nicht gespeichert werden."), q.lastError());
                if (q.numRowsAffected() == 0)
                    throw DataError(tr("Der Datensatz wurde inzwischen an einem anderen Arbeitsplatz geändert oder "
                                       "gelöscht. Ihre Änderungen wurden nicht gespeichert; bitte brechen Sie die "
                                       "Bearbeitung ab und geben Sie sie erneut ein."));
            }
        }
        q.finish();
        t.commit();
    }
    if (m_state == DataSetState::Insert && m_idColumn >= 0) {
        if (m_columns.at(m_idColumn).type == ColumnType::AutoIncrement)
            r[m_idColumn] = id;
        m_idIndex.insert(r.at(m_idColumn).toLongLong(), row);
    }
    m_insertRow = -1;
    m_modified = false;
    m_original.clear();
    m_sortedValid = false;
    setState(DataSetState::Browse);
    emit rowChanged(m_pos);
    m_db->afterCommit([self = QPointer<RecordSet>(this), id] {
        if (self)
            self->finishPost(self->m_idColumn >= 0 ? self->rowById(id) : self->currentRow());
    });
}

void RecordSet::finishPost(int row)
{
    emit afterPost();
    // A record that no longer passes the filter leaves the view (a lent book leaves the list
    // of lendable books at once).
    if (row < 0 || !m_filtered || rowMatchesFilter(row))
        return;
    const int pos = positionOfRow(row);
    if (pos < 0)
        return;
    emit rowAboutToBeRemoved(pos);
    m_view.removeAt(pos);
    emit rowRemoved(pos);
    if (pos > m_pos)
        return;
    moveTo(pos < m_pos ? m_pos - 1 : m_pos);
}

void RecordSet::cancel()
{
    requireActive();
    if (m_state == DataSetState::Insert) {
        const int row = m_insertRow;
        const int pos = positionOfRow(row);
        emit rowAboutToBeRemoved(pos);
        m_view.removeAt(pos);
        if (row == m_rows.size() - 1)
            m_rows.removeLast();
        else
            m_rows[row] = Row();
        emit rowRemoved(pos);
        m_insertRow = -1;
        m_modified = false;
        setState(DataSetState::Browse);
        moveTo(std::min(pos, int(m_view.size()) - 1));
        return;
    }
    if (m_state == DataSetState::Edit) {
        m_rows[currentRow()] = m_original;
        m_original.clear();
        m_modified = false;
        setState(DataSetState::Browse);
        emit rowChanged(m_pos);
    }
}

void RecordSet::deleteRecord()
{
    requireRecord();
    if (m_state == DataSetState::Insert) {
        cancel();
        return;
    }
    if (m_state == DataSetState::Edit)
        cancel();
    const SqlEngine& engine = m_db->engine();
    const int row = currentRow();
    const Row& r = m_rows.at(row);
    if (m_db->transactionDepth() > 0)
        m_db->touched(this);
    {
        Transaction t(*m_db);
        QStringList where;
        QVariantList binds;
        for (int c = 0; c < m_columns.size(); ++c) {
            const QVariant v = engine.toStorage(m_columns.at(c).type, r.at(c));
            where << quoted(m_columns.at(c).name) + engine.nullSafeEqual() + engine.placeholder(v);
            binds << engine.bindable(v);
        }
        QSqlQuery q(m_db->connection());
        q.prepare(QStringLiteral("DELETE FROM %1 WHERE %2").arg(quoted(m_table), where.join(QStringLiteral(" AND "))));
        for (const QVariant& b : binds)
            q.addBindValue(b);
        if (!q.exec())
            throw SqlFailure::from(tr("Der Datensatz konnte nicht gelöscht werden."), q.lastError());
        if (q.numRowsAffected() == 0)
            throw DataError(tr("Der Datensatz wurde inzwischen an einem anderen Arbeitsplatz geändert oder gelöscht "
                               "und wurde daher nicht gelöscht."));
        q.finish();
        t.commit();
    }
    removeRowFromStorage(row);
    const int pos = m_pos;
    emit rowAboutToBeRemoved(pos);
    m_view.removeAt(pos);
    emit rowRemoved(pos);
    if (m_view.isEmpty()) {
        moveTo(0);
        return;
    }
    const bool wasLast = pos >= m_view.size();
    moveTo(pos);
    if (wasLast)
        m_eof = true;
}

void RecordSet::removeRowFromStorage(int row)
{
    // Rows keep their index until the next read; a deleted one is left empty.
    if (m_idColumn >= 0)
        m_idIndex.remove(m_rows.at(row).at(m_idColumn).toLongLong());
    m_rows[row] = Row();
}

void RecordSet::disableControls()
{
    ++m_disableCount;
}

void RecordSet::enableControls()
{
    if (m_disableCount == 0)
        return;
    if (--m_disableCount == 0) {
        emit aboutToReset();
        emit reset();
        emit cursorMoved(m_view.isEmpty() ? -1 : m_pos);
    }
}
