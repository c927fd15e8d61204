#pragma once

#include <functional>

class QWidget;

// Runs a user action; an error becomes a German message box and the program goes on.
// No exception may cross the Qt event loop, so every handler runs inside this.
// Returns false when the action failed.
bool guarded(QWidget* parent, const std::function<void()>& action);
