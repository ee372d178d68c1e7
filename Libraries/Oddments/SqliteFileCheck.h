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
        // Something lies under the path: only opening it tells whether it is a database.
        Existing,
    };

    static Finding Check(const std::string& path);
};
