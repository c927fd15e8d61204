#pragma once

#include <QObject>
#include <functional>

class QWidget;

// Runs a user action; an error becomes a German message box and the program goes on.
// No exception may cross the Qt event loop, so every handler runs inside this.
// Returns false when the action failed.
bool guarded(QWidget* parent, const std::function<void()>& action);

// Connects a signal to a member function of `receiver` that runs inside guarded(), with the
// receiver as the parent of any error message. The signal's arguments are passed on.
template <typename Sender, typename Signal, typename Receiver, typename... Args>
QMetaObject::Connection connectGuarded(Sender* sender, Signal signal, Receiver* receiver,
                                       void (Receiver::*slot)(Args...))
{
    return QObject::connect(sender, signal, receiver,
                            [receiver, slot](Args... args) { guarded(receiver, [&] { (receiver->*slot)(args...); }); });
}
