// What the path of an SQLite database file finds before anything is opened: whether a file is
// named at all, and for a file that is not there yet whether it can be made in its folder.
#pragma once

#include <string>

class CSqliteFileCheck {
public:
    enum Finding {
        NoFileNamed,
        FolderMissing,
        // The folder exists, but the user may not make a file in it.
        FolderNotWritable,
        // Nothing lies under the path yet; an empty file made there is an empty database.
        NewFile,
        // The path names a folder, which no database can be.
        Folder,
        // Something lies under the path: only opening it tells whether it is a database.
        Existing,
    };

    static Finding Check(const std::string& path);
    // The finding as the user is told it (the English text, to be translated); empty for
    // Existing, which says nothing by itself.
    static std::string Describe(Finding finding);
};
