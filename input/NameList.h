#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QStringList>

// How a list of file names from another tool separates them: one name a line (`find`, `ls -1`),
// or each name ended by a NUL byte (`find -print0`), which holds any name a file can have.
enum class ListSeparator { Line, Nul };

// Why a list was not read to its end; what came before is kept.
enum class ListRefusal {
    None,
    NameTooLong,  // a name longer than any path the system takes
    NulInLine,    // a NUL byte in a list of lines: a list for --files0-from
    TooManyEmpty, // more empty names than a list of names has
    TooManyNames, // more names than a run takes
};

// The names a list holds, in the order given.
struct ListedNames {
    QStringList Paths;       // the names that are text
    QStringList NotText;     // names that are not UTF-8, as people can read them: never taken
    QList<int> EmptyEntries; // where a NUL list has an empty name, counting its entries from 1
    ListRefusal Refusal = ListRefusal::None;
    int RefusedEntry = 0; // the entry the list was refused at
};

// Splits a list into its names as it is read, piece by piece, within limits, so that no list
// (an endless one, a binary file, /dev/zero) can hold Korumi or its memory. Empty lines are
// passed over; an empty name in a NUL list (two NULs in a row) is no name at all and is noted.
// The last name needs no separator after it.
class NameListReader
{
public:
    // The longest name: the longest path the system opens.
    static constexpr qsizetype MaxNameBytes = 4095;
    // Empty names noted before a NUL list is taken for something else.
    static constexpr int MaxEmptyEntries = 20;

    // `namesAllowed`: how many more names the run takes.
    NameListReader(ListSeparator separator, qsizetype namesAllowed);

    // Takes the next piece; false once the list is refused, when the rest need not be read.
    bool Add(QByteArrayView bytes);
    // Takes the last name, which ended without a separator.
    void Finish();
    const ListedNames& Names() const { return m_names; }

private:
    void takeName();
    bool refuse(ListRefusal why, int entry);

    char m_separator;
    qsizetype m_namesAllowed;
    QByteArray m_name; // the name being read
    int m_entry = 0;
    ListedNames m_names;
};

// A whole list split at once.
ListedNames SplitNameList(const QByteArray& list, ListSeparator separator);
