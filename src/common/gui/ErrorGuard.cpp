#include "ErrorGuard.h"

#include "Messages.h"
#include "datastore/DataError.h"

#include <QCoreApplication>

bool guarded(QWidget* parent, const std::function<void()>& action)
{
    for (;;) {
        try {
            action();
            return true;
        } catch (const DataError& e) {
            // Another workstation held the database longer than we waited: the failed write
            // was undone and what was typed is still there, so the same action can run again.
            if (e.kind() == DataError::Kind::Busy) {
                if (Messages::askRetry(parent, e.message(), e.details()))
                    continue;
                return false;
            }
            Messages::error(parent, e.message(), e.details());
            return false;
        } catch (const std::exception& e) {
            // Not ours: the program's own text in German, what the library said as details.
            Messages::error(parent,
                            QCoreApplication::translate("ErrorGuard", "Es ist ein Fehler aufgetreten. Bitte versuchen "
                                                                      "Sie es noch einmal."),
                            QString::fromLocal8Bit(e.what()));
            return false;
        } catch (...) {
            Messages::error(parent,
                            QCoreApplication::translate("ErrorGuard", "Es ist ein unbekannter Fehler aufgetreten."));
            return false;
        }
    }
}
