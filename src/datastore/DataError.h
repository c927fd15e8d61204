#pragma once

#include <QString>
#include <exception>

// An error with a German message for the user. Raised by the data store; every user action
// runs inside a guard that shows the message and lets the program go on.
class DataError : public std::exception
{
public:
    explicit DataError(QString message) : m_message(std::move(message)), m_utf8(m_message.toUtf8()) {}
    const QString& message() const noexcept { return m_message; }
    const char* what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_message;
    QByteArray m_utf8;
};
