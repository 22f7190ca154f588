#pragma once

#include "input/SearchFileData.h"

#include <dirent.h>

// The entries of one folder in the order the file system gives them, "." and ".." left out.
// A folder that cannot be opened lists nothing. The folder stays open while the object lives.
class DirectoryListing
{
public:
    explicit DirectoryListing(const QString& folder);
    ~DirectoryListing();
    DirectoryListing(const DirectoryListing&) = delete;
    DirectoryListing& operator=(const DirectoryListing&) = delete;

    // Whether the folder could be opened for listing.
    bool IsOpen() const { return m_dir != nullptr; }
    // Moves to the next entry; false when none is left.
    bool Next();
    // The current entry's name, decoded when first asked for: entries passed over by their type
    // cost no text.
    const QString& Name() const;
    // Whether the current entry's name is UTF-8, so that its name as text leads back to it.
    bool NameIsText() const;
    // The current entry's name as it is stored.
    QByteArray RawName() const { return m_entry->d_name; }
    // Whether the current entry is a symbolic link.
    bool IsLink() const;
    // Whether the current entry is a folder itself, not a link to one: the only kind a walk enters.
    bool IsWalkableFolder() const;
    // The current entry's details; a link is described by what it points to.
    TSearchFileData Data() const;
    // The current entry's names and its folder and hidden flags only, mostly without asking the
    // file system about the entry itself.
    TSearchFileData Outline() const;

private:
    DIR* m_dir;
    dirent* m_entry = nullptr;
    mutable QString m_name;
    mutable bool m_nameDecoded = false;
};

// What a path names, following links.
enum class EntryKind { ekNone, ekFile, ekFolder, ekOther };
EntryKind KindOf(const QString& path);

// The details of the entry that `path` names; the empty record for a path that ends in a
// separator or cannot be read.
TSearchFileData ReadEntryData(const QString& path);
