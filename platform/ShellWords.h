#pragma once

#include <QString>
#include <QStringList>

// Command lines as text that a POSIX shell (sh, bash, dash) reads back as exactly the words it
// was made from: a word with anything but letters, digits and "_@%+=:,./-" is single-quoted, and
// control characters, which would break the line or drive a terminal, are written as octal
// escapes that printf turns back into them.
QString ShellWord(const QString& word);

// The words as one line, separated by spaces, each as ShellWord writes it.
QString ShellLine(const QStringList& words);
