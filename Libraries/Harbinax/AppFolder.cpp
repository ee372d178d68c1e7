#include "Harbinax/AppFolder.h"

#include "Platform/AsciiText.h"

namespace {

// The folder part of path including its last '/'; empty when there is none.
std::string FolderWithSlash(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

}  // namespace

std::string InstallFolderOf(const std::string& programPath)
{
    const std::string folder = FolderWithSlash(programPath);
    if (folder.size() < 2)
        return folder;
    const std::string withoutSlash = folder.substr(0, folder.size() - 1);
    const std::string name = withoutSlash.substr(withoutSlash.rfind('/') + 1);
    if (Platform::EqualsNoCase(name, "debug") || Platform::EqualsNoCase(name, "release"))
        return FolderWithSlash(withoutSlash);
    return folder;
}
