#pragma once

#include <QString>
#include <exception>

// Base of every exception the program raises itself. Carries the user-visible text,
// which is what reaches the user when an error escapes a command.
class KvException : public std::exception
{
public:
    explicit KvException(QString message)
        : m_message(std::move(message)), m_utf8(m_message.toUtf8())
    {}
    const QString& Message() const noexcept { return m_message; }
    const char* what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_message;
    QByteArray m_utf8;
};
