#pragma once

#include "DataError.h"

#include <QSqlError>

// Turns an engine error into a German message that says what happened and what to do; the
// engine's text goes into the details.
namespace SqlFailure {

// `whatFailed` is a German sentence such as "Der Datensatz konnte nicht gespeichert werden."
DataError from(const QString& whatFailed, const QSqlError& error);
DataError::Kind kindOf(const QSqlError& error);

// The first 200 characters of a text quoted in a message, with "…" when shortened.
QString shortened(const QString& text);

} // namespace SqlFailure
