#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// A program with its argument list. Processes are started from the list, never from text,
// so no file name can be split or injected; text() renders the command line for people.
class Command
{
public:
    explicit Command(QString program) : m_program(std::move(program))
    {
        m_arguments.reserve(TypicalLength);
        m_quoted.reserve(TypicalLength);
    }

    // Appends "-flag value"-style words; a word is one argument.
    Command& Add(const QString& argument);
    // Appends each of `arguments`, as Add does.
    Command& Add(const QStringList& arguments);
    // Appends a path; it is shown between double quotes, unchanged.
    Command& AddPath(const QString& path);

    const QString& Program() const { return m_program; }
    const QStringList& Arguments() const { return m_arguments; }

    // The arguments as one line: words separated by spaces, paths in double quotes.
    QString ArgumentText() const;
    // The program, a space and ArgumentText().
    QString Text() const;

private:
    static constexpr qsizetype TypicalLength = 32; // an encoder's command line, without regrowing
    QString m_program;
    QStringList m_arguments;
    QList<bool> m_quoted;
};
