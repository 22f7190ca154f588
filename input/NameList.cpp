#include "input/NameList.h"

#include "platform/Printable.h"

#include <limits>
#include <utility>

NameListReader::NameListReader(ListSeparator separator, qsizetype namesAllowed)
    : m_separator(separator == ListSeparator::Nul ? '\0' : '\n'), m_namesAllowed(namesAllowed)
{
}

bool NameListReader::Add(QByteArrayView bytes)
{
    while (m_names.Refusal == ListRefusal::None && !bytes.isEmpty()) {
        const qsizetype end = bytes.indexOf(m_separator);
        const QByteArrayView part = bytes.first(end < 0 ? bytes.size() : end);
        // A line holding a NUL would name one file to Korumi and another to the system.
        if (m_separator == '\n' && part.contains('\0'))
            return refuse(ListRefusal::NulInLine, m_entry + 1);
        m_name.append(part);
        if (m_name.size() > MaxNameBytes)
            return refuse(ListRefusal::NameTooLong, m_entry + 1);
        if (end < 0)
            break;
        bytes = bytes.sliced(end + 1);
        takeName();
    }
    return m_names.Refusal == ListRefusal::None;
}

void NameListReader::Finish()
{
    if (m_names.Refusal == ListRefusal::None && !m_name.isEmpty())
        takeName();
}

void NameListReader::takeName()
{
    ++m_entry;
    const QByteArray name = std::exchange(m_name, QByteArray());
    if (name.isEmpty()) {
        if (m_separator == '\n')
            return;
        if (m_names.EmptyEntries.size() == MaxEmptyEntries)
            refuse(ListRefusal::TooManyEmpty, m_entry);
        else
            m_names.EmptyEntries << m_entry;
    } else if (m_names.Paths.size() + m_names.NotText.size() == m_namesAllowed) {
        refuse(ListRefusal::TooManyNames, m_entry);
    } else if (IsUtf8(name)) {
        m_names.Paths << QString::fromUtf8(name);
    } else {
        m_names.NotText << PrintableBytes(name);
    }
}

bool NameListReader::refuse(ListRefusal why, int entry)
{
    m_names.Refusal = why;
    m_names.RefusedEntry = entry;
    m_name.clear();
    return false;
}

ListedNames SplitNameList(const QByteArray& list, ListSeparator separator)
{
    NameListReader reader(separator, std::numeric_limits<qsizetype>::max());
    reader.Add(list);
    reader.Finish();
    return reader.Names();
}
