#pragma once

#include <QString>
#include <stdexcept>

// The one error type of the program. Code below the windows throws it; every
// event handler catches it at its boundary and shows the standard error box.
class KestranoError : public std::runtime_error
{
public:
    explicit KestranoError(const QString &message)
        : std::runtime_error(message.toStdString()), m_message(message)
    {}

    const QString &message() const { return m_message; }

private:
    QString m_message;
};
