// A folder of one update client for its downloads and unpacked files: made on first use with a
// name nobody can guess, open to the user only, and removed with everything in it when the
// client goes. Nobody else can place a file in it, so whatever lies there is the client's own.
#pragma once

#include <string>

class CPrivateTempFolder {
public:
    CPrivateTempFolder() = default;
    ~CPrivateTempFolder();
    CPrivateTempFolder(const CPrivateTempFolder&) = delete;
    CPrivateTempFolder& operator=(const CPrivateTempFolder&) = delete;

    // The folder with a trailing '/'; empty when it cannot be made.
    std::string Folder();

    // Creates the file name (a plain name, no folder) exclusively for writing, after removing
    // an earlier file of that name. A descriptor with *path set, or -1.
    int CreateFile(const std::string& name, std::string* path);

    // Deletes a file of the folder; false for any other path.
    bool Remove(const std::string& path);

    // Whether path names a file directly in the folder.
    bool Contains(const std::string& path) const;

private:
    static bool IsPlainName(const std::string& name);

    std::string m_folder;
};
