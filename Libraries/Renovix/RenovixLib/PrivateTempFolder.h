// A folder of one user of temporary files (the update client's downloads, the mail's
// attachments): made on first use with a name nobody can guess, open to the user only, and
// removed with everything in it when its owner goes. Nobody else can place a file in it, so
// whatever lies there is the owner's own.
#pragma once

#include <string>

class CPrivateTempFolder {
public:
    // The folder's name starts with prefix and a '.', so that whoever looks into the temporary
    // folder sees which program it belongs to.
    explicit CPrivateTempFolder(std::string prefix);
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

    std::string m_prefix;
    std::string m_folder;
};
