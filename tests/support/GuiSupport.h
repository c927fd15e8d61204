#pragma once

#include "common/gui/Messages.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <functional>

class QAction;
class QWidget;

// Answers the program's questions and messages in place of the user. A question nobody
// expected is answered "Cancel" and recorded, so that the test can fail on it.
class ScriptedMessages
{
public:
    ScriptedMessages();
    ~ScriptedMessages();
    ScriptedMessages(const ScriptedMessages&) = delete;
    ScriptedMessages& operator=(const ScriptedMessages&) = delete;

    // Answers again after a test put a handler of its own in place for a while.
    void reinstall();

    // The next box whose text contains `text` gets `answer`.
    void expect(const QString& text, Messages::Answer answer = Messages::Answer::Ok);
    // The same, and `whileOpen` runs while that box is open (as a timer event would).
    void expect(const QString& text, Messages::Answer answer, std::function<void()> whileOpen);

    QStringList shown;           // every text shown, in order
    QList<Messages::Kind> kinds; // and its kind
    QStringList details;         // and its details (the engine's text)
    QStringList unexpected;      // texts no expectation matched
    bool allAnswered() const { return m_expected.isEmpty(); }

private:
    struct Expected
    {
        QString text;
        Messages::Answer answer;
        std::function<void()> whileOpen;
    };
    QList<Expected> m_expected;
};

// Runs `act` once the modal window named `objectName` is the active modal widget (polling, so
// that a test can start the modal exec() right after). Returns a flag that tells whether it ran.
std::shared_ptr<bool> whenModal(const QString& objectName, std::function<void(QWidget*)> act, int timeoutMs = 5000);

// A control of the window by its object name; a missing one ends the test at once (every later
// step would only fail less clearly).
template <typename T>
T* child(QWidget* parent, const QString& name)
{
    T* w = parent->findChild<T*>(name);
    if (!w)
        qFatal("control %s not found", qPrintable(name));
    return w;
}

// Clicks the named button as a user does.
void click(QWidget* parent, const QString& name);

// Triggers a menu action of the window; fails the test (returns false) when it is missing or disabled.
bool triggerAction(QWidget* window, const QString& objectName);
