#include "ErrorGuard.h"

#include "Messages.h"
#include "datastore/DataError.h"

#include <QCoreApplication>

bool guarded(QWidget* parent, const std::function<void()>& action)
{
    try {
        action();
        return true;
    } catch (const DataError& e) {
        Messages::error(parent, e.message());
    } catch (const std::exception& e) {
        Messages::error(parent, QCoreApplication::translate("ErrorGuard", "Es ist ein Fehler aufgetreten: %1")
                                    .arg(QString::fromLocal8Bit(e.what())));
    } catch (...) {
        Messages::error(parent,
                        QCoreApplication::translate("ErrorGuard", "Es ist ein unbekannter Fehler aufgetreten."));
    }
    return false;
}
