#pragma once

#include <QString>
#include <functional>

class QWidget;

// Every question and message box of the program goes through here, so that tests can answer
// them with scripted replies instead of a real modal window.
namespace Messages {

enum class Buttons { Ok, OkCancel, YesNo, YesCancel, YesNoCancel, RetryCancel };
enum class Answer { Ok, Cancel, Yes, No, Retry };
enum class Kind { Question, Information, Error };

Answer ask(QWidget* parent, const QString& text, Buttons buttons);
void inform(QWidget* parent, const QString& text);
void error(QWidget* parent, const QString& text);
// `details` (the engine's own text) shows only when the user asks for it.
void error(QWidget* parent, const QString& text, const QString& details);
// "Wiederholen" / "Abbrechen"; true for "Wiederholen".
bool askRetry(QWidget* parent, const QString& text, const QString& details);

// The details of the box being shown (tests read them in their handler).
QString currentDetails();

// True while a box is showing (the periodic refresh waits then).
bool isShowing();

// Tests: a handler that answers instead of the user. It gets the kind, the text and the buttons.
using Handler = std::function<Answer(Kind kind, const QString& text, Buttons buttons)>;
void setHandler(Handler handler); // an empty handler shows real boxes again

} // namespace Messages
