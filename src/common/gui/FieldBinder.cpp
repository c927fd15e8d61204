#include "FieldBinder.h"

#include "ErrorGuard.h"
#include "datastore/RecordSet.h"

#include <QComboBox>
#include <QCompleter>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

FieldBinder::FieldBinder(RecordSet* rs, QWidget* errorParent)
    : QObject(errorParent), m_rs(rs), m_errorParent(errorParent)
{
    const auto maybeRefresh = [this] {
        if (!m_writing)
            refresh();
    };
    connect(rs, &RecordSet::afterScroll, this, maybeRefresh);
    connect(rs, &RecordSet::reset, this, maybeRefresh);
    connect(rs, &RecordSet::rowChanged, this, [this, maybeRefresh](int pos) {
        if (pos + 1 == m_rs->recNo())
            maybeRefresh();
    });
    connect(rs, &RecordSet::stateChanged, this, [this, maybeRefresh] {
        if (!m_rs->isEditing()) {
            for (Binding* b : m_bindings)
                b->pending = false;
        }
        maybeRefresh();
    });
    connect(rs, &RecordSet::beforePost, this, &FieldBinder::flush);
}

FieldBinder::~FieldBinder()
{
    qDeleteAll(m_bindings);
}

QString FieldBinder::currentText(const QString& field) const
{
    if (!m_rs->active() || m_rs->isEmpty())
        return {};
    return m_rs->text(field);
}

void FieldBinder::bind(QLineEdit* edit, const QString& field)
{
    auto* b = new Binding{edit, field, false, {}};
    m_bindings.append(b);
    const FieldDef& f = m_rs->field(field);
    if (f.type == ColumnType::Text && f.size > 0)
        edit->setMaxLength(f.size);
    connect(edit, &QLineEdit::textEdited, this, [this, b](const QString& text) { userTyped(*b, text); });
    refresh();
}

void FieldBinder::bind(QComboBox* combo, const QString& field)
{
    auto* b = new Binding{combo, field, false, {}};
    m_bindings.append(b);
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    const FieldDef& f = m_rs->field(field);
    if (f.type == ColumnType::Text && f.size > 0)
        combo->lineEdit()->setMaxLength(f.size);
    connect(combo->lineEdit(), &QLineEdit::textEdited, this, [this, b](const QString& text) { userTyped(*b, text); });
    connect(combo, &QComboBox::activated, this, [this, b, combo](int index) { userTyped(*b, combo->itemText(index)); });
    // The completer fills in the rest of a known value without textEdited, and only after its
    // signal (the line edit connects to it on focus-in); take the text once it is shown.
    if (QCompleter* completer = combo->completer()) {
        const auto completed = [this, b, combo] {
            if (combo->currentText() != currentText(b->field))
                userTyped(*b, combo->currentText());
        };
        connect(completer, qOverload<const QString&>(&QCompleter::highlighted), this, completed, Qt::QueuedConnection);
        connect(completer, qOverload<const QString&>(&QCompleter::activated), this, completed, Qt::QueuedConnection);
    }
    refresh();
}

void FieldBinder::bind(QPlainTextEdit* memo, const QString& field)
{
    auto* b = new Binding{memo, field, false, {}};
    m_bindings.append(b);
    connect(memo, &QPlainTextEdit::textChanged, this, [this, b, memo] {
        if (!m_refreshing)
            userTyped(*b, memo->toPlainText());
    });
    refresh();
}

void FieldBinder::bind(QLabel* label, const QString& field)
{
    m_bindings.append(new Binding{label, field, false, {}});
    refresh();
}

void FieldBinder::userTyped(Binding& b, const QString& text)
{
    guarded(m_errorParent, [&] {
        m_writing = true;
        const auto done = qScopeGuard([this] { m_writing = false; });
        if (!m_rs->isEditing()) {
            if (m_rs->isEmpty())
                m_rs->insert();
            else
                m_rs->edit();
        }
        const FieldDef& f = m_rs->field(b.field);
        if (f.type == ColumnType::Text || f.type == ColumnType::Memo) {
            m_rs->setText(b.field, text);
        } else {
            b.pending = true;
            b.pendingText = text;
            m_rs->markModified();
        }
    });
}

void FieldBinder::flush()
{
    for (Binding* b : m_bindings) {
        if (!b->pending)
            continue;
        m_rs->setText(b->field, b->pendingText); // throws a German message for bad input
        b->pending = false;
    }
}

void FieldBinder::refresh()
{
    m_refreshing = true;
    const auto done = qScopeGuard([this] { m_refreshing = false; });
    for (Binding* b : m_bindings) {
        if (!b->widget || b->pending)
            continue;
        const QString text = currentText(b->field);
        if (auto* e = qobject_cast<QLineEdit*>(b->widget)) {
            if (e->text() != text)
                e->setText(text);
        } else if (auto* c = qobject_cast<QComboBox*>(b->widget)) {
            if (c->currentText() != text) {
                const QSignalBlocker block(c);
                c->setEditText(text);
            }
        } else if (auto* m = qobject_cast<QPlainTextEdit*>(b->widget)) {
            if (m->toPlainText() != text)
                m->setPlainText(text);
        } else if (auto* l = qobject_cast<QLabel*>(b->widget)) {
            l->setText(text);
        }
    }
}
