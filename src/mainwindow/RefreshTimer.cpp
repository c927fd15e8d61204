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
    return true;
}

} // namespace RefreshTimer
