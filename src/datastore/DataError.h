#pragma once

#include <QString>
#include <exception>

// An error with a German message for the user. Raised by the data store; every user action
// runs inside a guard that shows the message and lets the program go on. The engine's own
// (English) text goes into the details, which the message box shows only on request.
class DataError : public std::exception
{
public:
    enum class Kind {
        Other,
        Busy,     // another workstation held the write lock longer than we waited: retrying may work
        ReadOnly, // the file or its folder may not be written
        Damaged,  // the file is not a readable database
    };

    explicit DataError(QString message, QString details = {}, Kind kind = Kind::Other)
        : m_message(std::move(message)), m_details(std::move(details)), m_kind(kind), m_utf8(m_message.toUtf8())
    {
    }
    const QString& message() const noexcept { return m_message; }
    const QString& details() const noexcept { return m_details; }
    Kind kind() const noexcept { return m_kind; }
    const char* what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_message;
    QString m_details;
    Kind m_kind;
    QByteArray m_utf8;
};
