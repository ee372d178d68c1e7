#include "Oddments/SqliteFileCheck.h"

#include <cerrno>

#include <sys/stat.h>
#include <unistd.h>

CSqliteFileCheck::Finding CSqliteFileCheck::Check(const std::string& path)
{
    if (path.empty())
        return NoFileNamed;
    struct stat info;
    if (stat(path.c_str(), &info) == 0)
        return S_ISDIR(info.st_mode) ? Folder : Existing;
    const size_t slash = path.find_last_of('/');
    const std::string folder = slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
    if (stat(folder.c_str(), &info) != 0)
        return errno == EACCES ? FolderNotWritable : FolderMissing;
    if (!S_ISDIR(info.st_mode))
        return FolderMissing;
    // Making a file takes writing and searching the folder.
    return access(folder.c_str(), W_OK | X_OK) == 0 ? NewFile : FolderNotWritable;
}

std::string CSqliteFileCheck::Describe(Finding finding)
{
    switch (finding) {
    case NoFileNamed:
        return "No database file is named.";
    case FolderMissing:
        return "The folder of the database file does not exist.";
    case FolderNotWritable:
        return "The folder of the database file cannot be written.";
    case NewFile:
        return "The database file does not exist.";
    case Folder:
        return "The database file named is a folder.";
    case Existing:
        break;
    }
    return std::string();
}
