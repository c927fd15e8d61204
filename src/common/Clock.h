#pragma once

#include <QDate>
#include <QDateTime>

// The one source of "now", so that tests can fix the date.
namespace Clock {

QDateTime now();
QDate today();

// Tests: fix "now" (an invalid value returns to the system clock).
void setFixedNow(const QDateTime& fixed);

} // namespace Clock
