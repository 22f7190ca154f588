#include "conversion/Command.h"

Command& Command::Add(const QString& argument)
{
    m_arguments << argument;
    m_quoted << false;
    return *this;
}

Command& Command::Add(const QStringList& arguments)
{
    m_arguments << arguments;
    m_quoted.insert(m_quoted.size(), arguments.size(), false);
    return *this;
}

Command& Command::AddPath(const QString& path)
{
    m_arguments << path;
    m_quoted << true;
    return *this;
}

QString Command::ArgumentText() const
{
    QStringList words;
    for (int i = 0; i < m_arguments.size(); ++i)
        words << (m_quoted[i] ? u'"' + m_arguments[i] + u'"' : m_arguments[i]);
    return words.join(u' ');
}

QString Command::Text() const
{
    return m_program + u' ' + ArgumentText();
}
