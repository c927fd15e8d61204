#pragma once

#include "Schema.h"

#include <QString>
#include <QVariant>
#include <functional>
#include <memory>
#include <optional>

// A record set's filter text, parsed once and evaluated per row.
//
// Language: conditions "Field op value" with op one of = <> < > <= >= LIKE, joined by AND / OR
// (AND binds tighter; parentheses allowed; keywords in any letter case). Values: 'quoted text'
// (a quote inside written twice), numbers, NULL, TRUE/FALSE. LIKE takes % for any run of
// characters and _ for one; \% \_ and \\ stand for the characters themselves. Text comparisons
// ignore letter case. Dates are written dd.MM.yyyy and stand for the whole day. A value that
// cannot be converted to the field's type matches nothing.
class FilterExpression
{
public:
    struct Field
    {
        int index;
        ColumnType type;
    };
    using Resolver = std::function<std::optional<Field>(const QString& name)>;
    // Value of field `index` in row `row`, in the record set's in-memory representation. A
    // reference, so that evaluating a filter over many rows copies nothing; it need only stay
    // valid until the next call.
    using Getter = std::function<const QVariant&(int row, int index)>;
    // Shown text of a field (used where a number, price or date is compared as text).
    using TextGetter = std::function<QString(int row, int index)>;

    // Parentheses inside one another; deeper filters are refused.
    static constexpr int MaxNesting = 64;

    FilterExpression();
    ~FilterExpression();
    FilterExpression(FilterExpression&&) noexcept;
    FilterExpression& operator=(FilterExpression&&) noexcept;

    // Throws DataError with a German message when the text cannot be parsed or names an unknown field.
    static FilterExpression parse(const QString& text, const Resolver& resolver);

    bool isEmpty() const;
    bool matches(int row, const Getter& value, const TextGetter& text) const;

    // Quotes a value for a filter text: 'O''Brien'.
    static QString quote(const QString& value);

    struct Node;

private:
    std::unique_ptr<Node> m_root;
};

// LIKE with % and _ (and their backslash escapes), ignoring letter case.
bool likeMatch(const QString& value, const QString& pattern);
