// A folder of one update client for its downloads: made on first use with a name nobody can
// guess, readable by the user only, and removed with the files the client made in it when the
// client goes. Files are created exclusively, so nothing another user placed is ever written
// through or deleted.
#pragma once

#include <set>
#include <string>

class CPrivateTempFolder {
public:
    CPrivateTempFolder() = default;
    ~CPrivateTempFolder();
    CPrivateTempFolder(const CPrivateTempFolder&) = delete;
    CPrivateTempFolder& operator=(const CPrivateTempFolder&) = delete;

    // The folder with a trailing '/'; empty when it cannot be made.
    std::string Folder();

    // Creates the file name (a plain name, no folder) for writing, replacing a file of that name
    // this object made before. A descriptor with *path set, or -1.
    int CreateFile(const std::string& name, std::string* path);

    // Deletes a file this object made; false for any other path.
    bool Remove(const std::string& path);

    // Whether path lies in the folder.
    bool Contains(const std::string& path) const;

private:
    std::string m_folder;
    std::set<std::string> m_files;
};
