#pragma once

#include <QString>
#include <exception>

// Errors of the program's own kinds. Each carries the exact text the user sees.
class Exception : public std::exception
{
public:
    explicit Exception(QString message) : m_message(std::move(message)), m_utf8(m_message.toUtf8()) {}
    const QString& Message() const { return m_message; }
    const char* what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_message;
    QByteArray m_utf8;
};

// The text a user reads for `error`: an own exception's message, else what the library said.
QString MessageOf(const std::exception& error);

// Ends an operation quietly; the application's error box never shows it.
class EAbort : public Exception
{
public:
    EAbort() : Exception(QStringLiteral("Operation aborted")) {}
};

// A file that cannot be opened for reading.
class EFOpenError : public Exception
{
public:
    explicit EFOpenError(const QString& path);
};

// Text that is not a whole number.
class EConvertError : public Exception
{
public:
    explicit EConvertError(const QString& text);
};

// A settings file that cannot be written.
class EIniFileError : public Exception
{
public:
    explicit EIniFileError(const QString& path);
};

// A list position outside the list.
class EListError : public Exception
{
public:
    explicit EListError(int index);
};
