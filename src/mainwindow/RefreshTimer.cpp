#include "RefreshTimer.h"

#include <QTimer>
#include <QVariant>
#include <limits>

namespace RefreshTimer {

bool applyInterval(QTimer* timer, qint64 seconds)
{
    if (seconds <= 0) {
        timer->stop();
        timer->setProperty("switchedOff", true);
        return false;
    }
    const qint64 ms = std::min<qint64>(seconds * 1000, std::numeric_limits<int>::max());
    timer->setInterval(int(ms));
    // A positive interval after a stop switches the timer on again in the same run.
    if (timer->property("switchedOff").toBool()) {
        timer->setProperty("switchedOff", false);
        timer->start();
    }
    return true;
}

} // namespace RefreshTimer
