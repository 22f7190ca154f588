#pragma once

#include <QString>

// One directory entry as a listing found it.
struct TSearchFileData {
    QString FileName;           // the entry's name, without its folder
    QString ShortName;          // the same as FileName: Linux has no short names
    qint64 Size = 0;            // bytes; 0 for a folder
    bool IsDirectory = false;   // a folder, or a link to one
    bool IsRegularFile = false; // a plain file, or a link to one (not a pipe, socket or device)
    bool IsReadOnly = false;    // the owner may not write it
    bool IsHidden = false;      // the name starts with "."
    bool IsSystem = false;      // never set on Linux
    bool IsArchive = false;     // never set on Linux
};
