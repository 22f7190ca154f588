#pragma once

#include <QByteArray>
#include <QList>
#include <QStringList>

// How a list of file names from another tool separates them: one name a line (`find`, `ls -1`),
// or each name ended by a NUL byte (`find -print0`), which holds any name a file can have.
enum class ListSeparator { Line, Nul };

// The names a list holds, in the order given.
struct ListedNames {
    QStringList Paths;       // the names that are text
    QStringList NotText;     // names that are not UTF-8, as people can read them: never taken
    QList<int> EmptyEntries; // where a NUL list has an empty name, counting its entries from 1
};

// Splits a list into its names. Empty lines are passed over; an empty name in a NUL list (two
// NULs in a row) is no name at all and is noted. The last name needs no separator after it.
ListedNames SplitNameList(const QByteArray& list, ListSeparator separator);
