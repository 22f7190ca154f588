#pragma once

#include "conversion/HiddenProcess.h"

#include <QObject>
#include <QTimer>

// Hands a converted file to the media library through the registration tool and waits for it,
// for a run that reports whether every file got there.
class HandOff : public QObject
{
    Q_OBJECT
public:
    explicit HandOff(QObject* parent = nullptr);

    // Registers `target`; Done follows through the event loop.
    void Start(const QString& target, const QString& programFolder);

signals:
    // Empty when the file was registered, else why not.
    void Done(const QString& problem);

private:
    void fail(const QString& why);

    HiddenProcess m_tool;
    QTimer m_limit;
    QByteArray m_errors;
};

// The name under which the registration tool is run.
inline const QString RegistrationProgram = QStringLiteral("addfile.exe");
