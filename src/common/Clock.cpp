#include "Clock.h"

namespace Clock {

namespace {

QDateTime& fixedNow()
{
    static QDateTime fixed;
    return fixed;
}

} // namespace

QDateTime now()
{
    const QDateTime& fixed = fixedNow();
    return fixed.isValid() ? fixed : QDateTime::currentDateTime();
}

QDate today()
{
    return now().date();
}

void setFixedNow(const QDateTime& fixed)
{
    fixedNow() = fixed;
}

} // namespace Clock
