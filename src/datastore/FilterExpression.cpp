#include "FilterExpression.h"

#include "DataError.h"
#include "SqlEngine.h"
#include "SqlFailure.h"
#include "common/Formats.h"

#include <QCoreApplication>
#include <QDate>
#include <QStringMatcher>
#include <vector>

namespace {

QString tr(const char* text)
{
    return QCoreApplication::translate("FilterExpression", text);
}

enum class Op { Eq, Ne, Lt, Gt, Le, Ge, Like };

struct Literal
{
    enum Kind { Text, Number, Null, Bool } kind = Text;
    QString text; // as written (numbers and booleans too)
    bool boolValue = false;
};

// The literal converted once for the field it is compared with.
struct Operand
{
    bool convertible = false;
    QString text;        // folded for text comparison
    qint64 number = 0;   // integers, money, booleans
    qint64 dayStart = 0; // packed date-time range of a date literal
    qint64 dayEnd = 0;
    enum Like { Exact, Contains, Prefix, Suffix, General } like = General;
    QString likeCore;
    QString likeChars;      // General: the pattern without its escapes
    QList<bool> likeWild;   // General: which of likeChars are wildcards
    QStringMatcher matcher; // Contains: built once, searched for every row
};

} // namespace

struct FilterExpression::Node
{
    enum Kind { And, Or, Compare } kind = Compare;
    // And / Or: a chain of any length is one node, so that long chains cost no stack depth.
    std::vector<std::unique_ptr<Node>> children;
    // Compare
    int field = -1;
    ColumnType type = ColumnType::Text;
    Op op = Op::Eq;
    Literal literal;
    Operand operand;
};

namespace {

class Parser
{
public:
    Parser(const QString& text, const FilterExpression::Resolver& resolver) : m_s(text), m_resolver(resolver) {}

    std::unique_ptr<FilterExpression::Node> parseAll()
    {
        skipBlanks();
        if (atEnd())
            return nullptr;
        auto node = parseOr();
        skipBlanks();
        if (!atEnd())
            fail(tr("unerwartetes „%1“").arg(m_s.mid(m_pos, 20)));
        return node;
    }

private:
    [[noreturn]] void fail(const QString& why) const
    {
        throw DataError(tr("Der Filter „%1“ ist ungültig: %2.").arg(SqlFailure::shortened(m_s), why));
    }
    bool atEnd() const { return m_pos >= m_s.size(); }
    void skipBlanks()
    {
        while (!atEnd() && m_s.at(m_pos).isSpace())
            ++m_pos;
    }
    static bool isWordChar(QChar c) { return c.isLetterOrNumber() || c == u'_'; }

    // Reads a keyword (whole word, any letter case) if it stands here.
    bool keyword(const char* kw)
    {
        skipBlanks();
        const QString k = QString::fromLatin1(kw);
        if (m_s.mid(m_pos, k.size()).compare(k, Qt::CaseInsensitive) != 0)
            return false;
        const int end = m_pos + k.size();
        if (end < m_s.size() && isWordChar(m_s.at(end)))
            return false;
        m_pos = end;
        return true;
    }

    std::unique_ptr<FilterExpression::Node> chain(FilterExpression::Node::Kind kind, const char* word,
                                                  std::unique_ptr<FilterExpression::Node> (Parser::*operand)())
    {
        auto first = (this->*operand)();
        if (!keyword(word))
            return first;
        auto n = std::make_unique<FilterExpression::Node>();
        n->kind = kind;
        n->children.push_back(std::move(first));
        do
            n->children.push_back((this->*operand)());
        while (keyword(word));
        return n;
    }

    std::unique_ptr<FilterExpression::Node> parseOr()
    {
        return chain(FilterExpression::Node::Or, "OR", &Parser::parseAnd);
    }

    std::unique_ptr<FilterExpression::Node> parseAnd()
    {
        return chain(FilterExpression::Node::And, "AND", &Parser::parseTerm);
    }

    std::unique_ptr<FilterExpression::Node> parseTerm()
    {
        skipBlanks();
        if (atEnd())
            fail(tr("eine Bedingung fehlt"));
        if (m_s.at(m_pos) == u'(') {
            // Every level costs stack in parsing and evaluating: a limit no real filter reaches.
            if (m_depth >= FilterExpression::MaxNesting)
                fail(tr("mehr als %1 Klammern ineinander; bitte vereinfachen Sie den Filter")
                         .arg(FilterExpression::MaxNesting));
            ++m_pos;
            ++m_depth;
            auto inner = parseOr();
            --m_depth;
            skipBlanks();
            if (atEnd() || m_s.at(m_pos) != u')')
                fail(tr("eine schließende Klammer fehlt"));
            ++m_pos;
            return inner;
        }
        auto n = std::make_unique<FilterExpression::Node>();
        const QString name = fieldName();
        const auto field = m_resolver(name);
        if (!field)
            fail(tr("das Feld „%1“ gibt es nicht").arg(SqlFailure::shortened(name)));
        n->field = field->index;
        n->type = field->type;
        n->op = op();
        n->literal = literal();
        return n;
    }

    QString fieldName()
    {
        skipBlanks();
        if (m_s.at(m_pos) == u'[') {
            const int close = m_s.indexOf(u']', m_pos);
            if (close < 0)
                fail(tr("eine schließende eckige Klammer fehlt"));
            const QString name = m_s.mid(m_pos + 1, close - m_pos - 1);
            m_pos = close + 1;
            return name;
        }
        const int start = m_pos;
        while (!atEnd() && isWordChar(m_s.at(m_pos)))
            ++m_pos;
        if (m_pos == start)
            fail(tr("an Stelle %1 wird ein Feldname erwartet").arg(start + 1));
        return m_s.mid(start, m_pos - start);
    }

    Op op()
    {
        skipBlanks();
        const QStringView rest = QStringView(m_s).mid(m_pos);
        if (rest.startsWith(u"<>")) {
            m_pos += 2;
            return Op::Ne;
        }
        if (rest.startsWith(u"<=")) {
            m_pos += 2;
            return Op::Le;
        }
        if (rest.startsWith(u">=")) {
            m_pos += 2;
            return Op::Ge;
        }
        if (rest.startsWith(u"=")) {
            ++m_pos;
            return Op::Eq;
        }
        if (rest.startsWith(u"<")) {
            ++m_pos;
            return Op::Lt;
        }
        if (rest.startsWith(u">")) {
            ++m_pos;
            return Op::Gt;
        }
        if (keyword("LIKE"))
            return Op::Like;
        fail(tr("an Stelle %1 wird ein Vergleich (=, <>, <, >, <=, >=, LIKE) erwartet").arg(m_pos + 1));
    }

    Literal literal()
    {
        skipBlanks();
        if (atEnd())
            fail(tr("ein Wert fehlt"));
        Literal lit;
        const QChar c = m_s.at(m_pos);
        if (c == u'\'') {
            QString value;
            ++m_pos;
            for (;;) {
                if (atEnd())
                    fail(tr("ein schließendes Hochkomma fehlt"));
                const QChar ch = m_s.at(m_pos++);
                if (ch == u'\'') {
                    if (!atEnd() && m_s.at(m_pos) == u'\'') {
                        value += u'\'';
                        ++m_pos;
                        continue;
                    }
                    break;
                }
                value += ch;
            }
            lit.kind = Literal::Text;
            lit.text = value;
            return lit;
        }
        if (keyword("NULL")) {
            lit.kind = Literal::Null;
            return lit;
        }
        for (const bool b : {true, false}) {
            if (keyword(b ? "TRUE" : "FALSE")) {
                lit.kind = Literal::Bool;
                lit.boolValue = b;
                lit.text = b ? QStringLiteral("true") : QStringLiteral("false");
                return lit;
            }
        }
        const int start = m_pos;
        if (c == u'-' || c == u'+')
            ++m_pos;
        while (!atEnd() && (m_s.at(m_pos).isDigit() || m_s.at(m_pos) == u'.' || m_s.at(m_pos) == u','))
            ++m_pos;
        if (m_pos == start || (m_pos == start + 1 && !c.isDigit()))
            fail(tr("an Stelle %1 wird ein Wert erwartet (Text in Hochkommas, eine Zahl oder NULL)").arg(start + 1));
        lit.kind = Literal::Number;
        lit.text = m_s.mid(start, m_pos - start);
        return lit;
    }

    const QString& m_s;
    const FilterExpression::Resolver& m_resolver;
    int m_pos = 0;
    int m_depth = 0;
};

bool parseBool(const QString& s, bool* value)
{
    const QString t = s.trimmed().toLower();
    if (t == u"true" || t == u"wahr" || t == u"ja" || t == u"-1" || t == u"1") {
        *value = true;
        return true;
    }
    if (t == u"false" || t == u"falsch" || t == u"nein" || t == u"0") {
        *value = false;
        return true;
    }
    return false;
}

void prepareLike(Operand& o, const QString& pattern)
{
    o.text = pattern;
    // A backslash makes the next %, _ or backslash an ordinary character (typed search text must
    // match itself); before any other character it is an ordinary character too.
    QString chars;
    QList<bool> wild;
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const QChar c = pattern.at(i);
        if (c == u'\\' && i + 1 < pattern.size() &&
            (pattern.at(i + 1) == u'%' || pattern.at(i + 1) == u'_' || pattern.at(i + 1) == u'\\')) {
            chars += pattern.at(++i);
            wild << false;
        } else {
            chars += c;
            wild << (c == u'%' || c == u'_');
        }
    }
    const bool lead = !chars.isEmpty() && wild.first() && chars.front() == u'%';
    const bool trail = chars.size() > 1 && wild.last() && chars.back() == u'%';
    const qsizetype from = lead ? 1 : 0;
    const qsizetype to = chars.size() - (trail ? 1 : 0);
    if (wild.mid(from, to - from).contains(true)) {
        o.like = Operand::General;
        o.likeChars = chars;
        o.likeWild = wild;
        return;
    }
    o.likeCore = chars.mid(from, to - from);
    o.like = lead && trail ? Operand::Contains : lead ? Operand::Suffix : trail ? Operand::Prefix : Operand::Exact;
    if (lead && chars.size() == 1) {
        o.like = Operand::Contains;
        o.likeCore.clear();
    }
    if (o.like == Operand::Contains)
        o.matcher = QStringMatcher(o.likeCore, Qt::CaseInsensitive);
}

void prepare(FilterExpression::Node& n)
{
    Operand& o = n.operand;
    const Literal& lit = n.literal;
    if (lit.kind == Literal::Null) {
        o.convertible = true;
        return;
    }
    if (n.op == Op::Like) {
        o.convertible = true;
        prepareLike(o, lit.text);
        return;
    }
    switch (n.type) {
    case ColumnType::Text:
    case ColumnType::Memo:
        o.convertible = true;
        o.text = lit.text;
        break;
    case ColumnType::AutoIncrement:
    case ColumnType::Integer: {
        bool ok = false;
        o.number = lit.text.toLongLong(&ok);
        o.convertible = ok;
        break;
    }
    case ColumnType::Money: {
        const auto v = Formats::parsePrice(lit.text);
        o.convertible = v.has_value();
        o.number = v.value_or(0);
        break;
    }
    case ColumnType::Boolean: {
        bool b = false;
        o.convertible = lit.kind == Literal::Bool ? (b = lit.boolValue, true) : parseBool(lit.text, &b);
        o.number = b ? 1 : 0;
        break;
    }
    case ColumnType::DateTime: {
        const QString t = lit.text.trimmed();
        QDate d = Formats::parseDate(t);
        if (d.isValid()) {
            o.dayStart = PackedDateTime::pack(QDateTime(d, QTime(0, 0)));
            o.dayEnd = PackedDateTime::pack(QDateTime(d, QTime(23, 59, 59)));
            o.convertible = true;
        } else {
            // A date with a time of day: "dd.MM.yyyy HH:mm[:ss]".
            const int blank = t.indexOf(u' ');
            d = Formats::parseDate(t.left(blank));
            QTime time = QTime::fromString(t.mid(blank + 1).trimmed(), QStringLiteral("H:mm:ss"));
            if (!time.isValid())
                time = QTime::fromString(t.mid(blank + 1).trimmed(), QStringLiteral("H:mm"));
            if (blank > 0 && d.isValid() && time.isValid()) {
                o.dayStart = o.dayEnd = PackedDateTime::pack(QDateTime(d, time));
                o.convertible = true;
            }
        }
        break;
    }
    }
}

void prepareTree(FilterExpression::Node* n)
{
    if (!n)
        return;
    if (n->kind == FilterExpression::Node::Compare)
        prepare(*n);
    for (const auto& child : n->children)
        prepareTree(child.get());
}

bool likeGeneral(QStringView v, const Operand& o)
{
    // Iterative wildcard match with backtracking to the last %.
    const QString& p = o.likeChars;
    const auto isWild = [&](qsizetype i, char16_t c) { return o.likeWild.at(i) && p[i] == c; };
    qsizetype vi = 0, pi = 0, star = -1, mark = 0;
    while (vi < v.size()) {
        if (pi < p.size() &&
            (isWild(pi, u'_') || (!o.likeWild.at(pi) && QChar(p[pi]).toCaseFolded() == QChar(v[vi]).toCaseFolded()))) {
            ++vi;
            ++pi;
        } else if (pi < p.size() && isWild(pi, u'%')) {
            star = pi++;
            mark = vi;
        } else if (star >= 0) {
            pi = star + 1;
            vi = ++mark;
        } else {
            return false;
        }
    }
    while (pi < p.size() && isWild(pi, u'%'))
        ++pi;
    return pi == p.size();
}

bool likeOperand(QStringView v, const Operand& o)
{
    switch (o.like) {
    case Operand::Exact:
        return v.compare(o.likeCore, Qt::CaseInsensitive) == 0;
    case Operand::Contains:
        return o.likeCore.isEmpty() || o.matcher.indexIn(v) >= 0;
    case Operand::Prefix:
        return v.startsWith(o.likeCore, Qt::CaseInsensitive);
    case Operand::Suffix:
        return v.endsWith(o.likeCore, Qt::CaseInsensitive);
    case Operand::General:
        return likeGeneral(v, o);
    }
    return false;
}

template <typename T>
bool ordered(Op op, T a, T b)
{
    switch (op) {
    case Op::Eq:
        return a == b;
    case Op::Ne:
        return a != b;
    case Op::Lt:
        return a < b;
    case Op::Gt:
        return a > b;
    case Op::Le:
        return a <= b;
    case Op::Ge:
        return a >= b;
    case Op::Like:
        return false;
    }
    return false;
}

bool compare(const FilterExpression::Node& n, int row, const FilterExpression::Getter& get,
             const FilterExpression::TextGetter& text)
{
    const QVariant& v = get(row, n.field);
    if (n.literal.kind == Literal::Null) {
        if (n.op == Op::Eq)
            return v.isNull();
        if (n.op == Op::Ne)
            return !v.isNull();
        return false;
    }
    if (v.isNull() || !n.operand.convertible)
        return false;
    const bool isText = n.type == ColumnType::Text || n.type == ColumnType::Memo;
    // Texts are read in place: no copy per row.
    const QStringView textValue = isText && v.typeId() == QMetaType::QString
                                      ? QStringView(*static_cast<const QString*>(v.constData()))
                                      : QStringView();
    if (n.op == Op::Like) {
        if (isText)
            return likeOperand(textValue, n.operand);
        return likeOperand(text(row, n.field), n.operand);
    }
    switch (n.type) {
    case ColumnType::Text:
    case ColumnType::Memo: {
        const int c = textValue.compare(n.operand.text, Qt::CaseInsensitive);
        return ordered(n.op, c, 0);
    }
    case ColumnType::AutoIncrement:
    case ColumnType::Integer:
    case ColumnType::Money:
        return ordered(n.op, v.toLongLong(), n.operand.number);
    case ColumnType::Boolean:
        return ordered(n.op, qint64(v.toBool() ? 1 : 0), n.operand.number);
    case ColumnType::DateTime: {
        const qint64 x = v.toLongLong();
        const Operand& o = n.operand;
        switch (n.op) {
        case Op::Eq:
            return x >= o.dayStart && x <= o.dayEnd;
        case Op::Ne:
            return x < o.dayStart || x > o.dayEnd;
        case Op::Lt:
            return x < o.dayStart;
        case Op::Le:
            return x <= o.dayEnd;
        case Op::Gt:
            return x > o.dayEnd;
        case Op::Ge:
            return x >= o.dayStart;
        case Op::Like:
            return false;
        }
    }
    }
    return false;
}

bool evaluate(const FilterExpression::Node& n, int row, const FilterExpression::Getter& get,
              const FilterExpression::TextGetter& text)
{
    switch (n.kind) {
    case FilterExpression::Node::And:
        for (const auto& child : n.children)
            if (!evaluate(*child, row, get, text))
                return false;
        return true;
    case FilterExpression::Node::Or:
        for (const auto& child : n.children)
            if (evaluate(*child, row, get, text))
                return true;
        return false;
    case FilterExpression::Node::Compare:
        return compare(n, row, get, text);
    }
    return false;
}

} // namespace

FilterExpression::FilterExpression() = default;
FilterExpression::~FilterExpression() = default;
FilterExpression::FilterExpression(FilterExpression&&) noexcept = default;
FilterExpression& FilterExpression::operator=(FilterExpression&&) noexcept = default;

FilterExpression FilterExpression::parse(const QString& text, const Resolver& resolver)
{
    FilterExpression f;
    Parser p(text, resolver);
    f.m_root = p.parseAll();
    prepareTree(f.m_root.get());
    return f;
}

bool FilterExpression::isEmpty() const
{
    return !m_root;
}

bool FilterExpression::matches(int row, const Getter& value, const TextGetter& text) const
{
    return !m_root || evaluate(*m_root, row, value, text);
}

QString FilterExpression::quote(const QString& value)
{
    QString q = value;
    q.replace(u'\'', QStringLiteral("''"));
    return u'\'' + q + u'\'';
}

bool likeMatch(const QString& value, const QString& pattern)
{
    Operand o;
    prepareLike(o, pattern);
    return likeOperand(value, o);
}
