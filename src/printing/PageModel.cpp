#include "PageModel.h"

#include "common/Formats.h"
#include "datastore/RecordSet.h"

#include <QDate>
#include <QSet>
#include <algorithm>
#include <cmath>
#include <limits>

namespace {

const QString Arial = QStringLiteral("Arial");
const QString ArialNarrow = QStringLiteral("Arial Narrow");

// Nearest whole dot, halves to the even neighbour (the default rounding mode).
int roundDots(double value)
{
    return int(std::nearbyint(value));
}

// Printable Latin-1 only: the list fonts have a glyph of their own for each, so the widest
// glyph bounds every character's advance (no tabs, no fallback fonts).
bool coveredByBound(const QString& text)
{
    for (const QChar ch : text) {
        const char16_t u = ch.unicode();
        if (u < 0x20 || (u >= 0x7f && u < 0xa0) || u > 0xff)
            return false;
    }
    return true;
}

} // namespace

PageModel::PageModel(RecordSet& records, PrintListDefinition list, QObject* parent)
    : QObject(parent), m_records(records), m_list(std::move(list))
{
    for (const PrintColumn& c : m_list.columns) {
        const int field = m_records.fieldIndex(c.field);
        m_fieldIndex.append(field);
        m_fieldTypes.append(field < 0 ? ColumnType::Text : m_records.fields().at(field).type);
    }
    m_measured.fill(0, m_list.columns.size());
    m_measuredValid.fill(false, m_list.columns.size());

    // Any change of the rows or their order changes widths and the page count; cursor moves don't.
    const auto watch = [this](RecordSet* rs) {
        connect(rs, &RecordSet::reset, this, &PageModel::invalidate);
        connect(rs, &RecordSet::rowInserted, this, &PageModel::invalidate);
        connect(rs, &RecordSet::rowRemoved, this, &PageModel::invalidate);
        connect(rs, &RecordSet::rowChanged, this, &PageModel::invalidate);
    };
    watch(&m_records);
    for (const FieldDef& f : m_records.fields())
        if (f.kind == FieldDef::Kind::Lookup && f.lookupSet && f.lookupSet.data() != &m_records)
            watch(f.lookupSet.data());
}

void PageModel::setOptions(const PrintOptions& options)
{
    m_options = options;
}

void PageModel::invalidate()
{
    ++m_generation;
}

int PageModel::h(int value) const
{
    return roundDots(value * m_layout.sx);
}

int PageModel::v(int value) const
{
    return roundDots(value * m_layout.sy);
}

double PageModel::wrapLimit(const PageGeometry& page) const
{
    const ListVariant& var = m_list.variant;
    return var.wrapLimitDesign > 0 ? var.wrapLimitDesign * m_layout.sx : var.wrapLimitPageShare * page.width;
}

double PageModel::pageFullLimit(const PageGeometry& page) const
{
    const ListVariant& var = m_list.variant;
    return var.pageFullDesign > 0 ? var.pageFullDesign * m_layout.sy : var.pageFullPageShare * page.height;
}

bool PageModel::columnOn(int column) const
{
    return m_options.columnsOn.value(column, true);
}

QString PageModel::cellText(int column, int position) const
{
    return textAt(m_records.rowAt(position), column);
}

QString PageModel::textAt(int row, int column) const
{
    // By reference: copying every value would cost more than measuring it.
    const int field = m_fieldIndex.at(column);
    return field < 0 ? QString() : RecordSet::displayText(m_fieldTypes.at(column), m_records.valueRef(row, field));
}

void PageModel::measureWidths(PageCanvas& canvas)
{
    if (m_measuredGeneration != m_generation || m_measuredSx != m_layout.sx || m_measuredSy != m_layout.sy) {
        m_measuredValid.fill(false);
        m_measuredGeneration = m_generation;
        m_measuredSx = m_layout.sx;
        m_measuredSy = m_layout.sy;
    }
    const int records = m_records.active() ? m_records.recordCount() : 0;
    const QString zeroDate = Formats::formatDate(QDate(1899, 12, 30));
    bool fontSet = false;
    QList<QString> texts;
    texts.reserve(records);
    for (int c = 0; c < m_list.columns.size(); ++c) {
        // A column that is switched off cannot show; it is measured once it is switched on.
        if (m_measuredValid.at(c) || !columnOn(c))
            continue;
        if (!fontSet) {
            canvas.setFont(Arial, v(71));
            fontSet = true;
        }
        const PrintColumn& column = m_list.columns.at(c);
        texts.clear();
        qsizetype longest = -1;
        int longestAt = -1;
        for (int p = 0; p < records; ++p) {
            QString text = textAt(m_records.rowAt(p), c);
            // An empty date still takes the room of a written one.
            if (column.dateColumn && text.isEmpty())
                text = zeroDate;
            if (text.size() > longest) {
                longest = text.size();
                longestAt = p;
            }
            texts.append(std::move(text));
        }
        // Shaping is the cost. Starting with a longest text, a text that cannot be wider than the
        // widest so far is skipped, and a text is measured only once.
        int widest = longestAt < 0 ? 0 : canvas.textWidth(texts.at(longestAt));
        const int charBound = canvas.maxCharWidth();
        QSet<QString> measured;
        for (const QString& text : std::as_const(texts)) {
            if (charBound > 0 && text.size() * (charBound + 1) <= widest && coveredByBound(text))
                continue;
            if (measured.contains(text))
                continue;
            measured.insert(text);
            widest = std::max(widest, canvas.textWidth(text));
        }
        if (column.numberColumn && widest < 50)
            widest = h(200);
        m_measured[c] = widest + h(60);
        m_measuredValid[c] = true;
    }
}

template <typename Draw>
int PageModel::columnWalk(const PageGeometry& page, int y, Draw&& draw) const
{
    const double limit = wrapLimit(page);
    const int continuation = h(m_list.variant.continuationX);
    const int columns = int(m_list.columns.size());
    int x = h(250);
    // `next`: the column that follows this place of the walk (columns when none does).
    const auto wrapTest = [&](int next) {
        // Besides the line's end, a visible column whose text would run past the limit starts a
        // new line, unless it already stands at a line's start: otherwise the sheet's edge would
        // cut it off.
        const bool overruns = next < columns && m_layout.visible.at(next) && x > continuation &&
                              x + m_layout.widths.at(next) - h(60) > limit;
        if (x > limit || overruns) {
            x = continuation;
            y += v(108);
        }
    };
    for (int c = 0; c < columns; ++c) {
        const PrintColumn& column = m_list.columns.at(c);
        if (column.wrapTestBefore)
            wrapTest(c);
        if (m_layout.visible.at(c)) {
            draw(c, x, y);
            x += m_layout.widths.at(c);
        }
        if (column.wrapTestAfter)
            wrapTest(c + 1);
    }
    return y;
}

const PageModel::Layout& PageModel::prepare(PageCanvas& canvas, const PageGeometry& page)
{
    Layout& l = m_layout;
    if (page.landscape && !m_list.variant.alwaysPortraitScale) {
        l.sx = page.width / 7016.0;
        l.sy = page.height / 4961.0;
    } else {
        l.sx = page.width / double(ReferenceWidth);
        l.sy = page.height / double(ReferenceHeight);
    }

    measureWidths(canvas);
    const int columns = int(m_list.columns.size());
    l.widths = m_measured;
    l.visible.resize(columns);
    for (int c = 0; c < columns; ++c)
        l.visible[c] = columnOn(c) && m_measuredValid.at(c) && l.widths.at(c) > 60;

    const int wrapHeight = v(108);
    const int wrapped = columnWalk(page, 0, [](int, int, int) {});
    l.wrapsPerRow = wrapHeight > 0 ? wrapped / wrapHeight : 0;

    const int headingBaseline =
        m_list.variant.headingBaselineFromTop > 0 ? v(m_list.variant.headingBaselineFromTop) : v(158) + v(151) + v(216);
    l.firstBaseline = headingBaseline + wrapped + v(65) + v(12) + v(100);
    // Counted with the advance that drawing uses, so that page n starts where page n-1 ended.
    l.rowAdvance = wrapped + v(100) + v(116);

    const double limit = pageFullLimit(page);
    if (l.firstBaseline > limit)
        l.rowsPerPage = 1; // a page holds at least one row, or the list would never end
    else if (l.rowAdvance <= 0)
        l.rowsPerPage = std::numeric_limits<int>::max();
    else
        l.rowsPerPage = int(std::floor((limit - l.firstBaseline) / l.rowAdvance)) + 1;

    l.records = m_records.active() ? m_records.recordCount() : 0;
    // The last page is the one with the last record: no page with the head alone after it.
    l.pageCount = std::max(1, int((qint64(l.records) + l.rowsPerPage - 1) / l.rowsPerPage));
    return l;
}

int PageModel::drawHead(PageCanvas& canvas, const PageGeometry& page, int n)
{
    canvas.setFont(Arial, h(65));
    canvas.setAnchor(PageCanvas::Anchor::LeftTop);
    if (m_options.pageNumbers)
        canvas.drawText(h(500), v(100), QStringLiteral("Seite ") + QString::number(n));

    canvas.setFont(Arial, v(100));
    canvas.setAnchor(PageCanvas::Anchor::CenterTop);
    canvas.drawText(roundDots(0.5 * page.width), v(183), m_options.title);

    const int ruleEnd = h(m_list.variant.ruleEnd);
    canvas.setPenWidth(v(5));
    int y = v(158);
    canvas.drawLine(0, y, ruleEnd, y);
    y += v(151);
    canvas.drawLine(0, y, ruleEnd, y);

    y = m_list.variant.headingBaselineFromTop > 0 ? v(m_list.variant.headingBaselineFromTop) : y + v(216);

    canvas.setFont(ArialNarrow, h(80));
    canvas.setAnchor(PageCanvas::Anchor::LeftBaseline);
    y = columnWalk(page, y,
                   [&](int c, int x, int baseline) { canvas.drawText(x, baseline, m_list.columns.at(c).heading); });

    canvas.setPenWidth(v(2));
    y += v(65);
    canvas.drawLine(0, y, ruleEnd, y);
    y += v(12);
    canvas.drawLine(0, y, ruleEnd, y);
    y += v(100);
    canvas.setFont(Arial, v(71));
    return y;
}

void PageModel::drawPage(PageCanvas& canvas, const PageGeometry& page, int n)
{
    const Layout& l = prepare(canvas, page);
    int y = drawHead(canvas, page, n);
    canvas.setAnchor(PageCanvas::Anchor::LeftBaseline);

    const qint64 start = qint64(std::max(n, 1) - 1) * l.rowsPerPage;
    const qint64 end = std::min<qint64>(start + l.rowsPerPage, l.records);
    const int ruleEnd = h(m_list.variant.ruleEnd);
    for (qint64 p = start; p < end; ++p) {
        const int row = m_records.rowAt(int(p));
        y = columnWalk(page, y, [&](int c, int x, int baseline) { canvas.drawText(x, baseline, textAt(row, c)); });
        y += v(100);
        canvas.drawLine(0, y, ruleEnd, y);
        y += v(116);
    }
}
