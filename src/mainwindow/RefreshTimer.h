#pragma once

#include <QtGlobal>

class QTimer;

// The refresh timer's interval from a number of seconds. Computed in 64 bits; an interval of
// zero or less stops the timer until a positive one is entered.
namespace RefreshTimer {

// Returns false when the timer was stopped because seconds <= 0.
bool applyInterval(QTimer* timer, qint64 seconds);

} // namespace RefreshTimer
