#include "Renovix/RenovixLib/PrivateTempFolder.h"

#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <unistd.h>
#include <utility>

CPrivateTempFolder::CPrivateTempFolder(std::string prefix)
    : m_prefix(std::move(prefix))
{
}

CPrivateTempFolder::~CPrivateTempFolder()
{
    // remove_all does not follow symbolic links out of the folder.
    std::error_code ignored;
    if (!m_folder.empty())
        std::filesystem::remove_all(m_folder, ignored);
}

std::string CPrivateTempFolder::Folder()
{
    if (!m_folder.empty())
        return m_folder + "/";
    std::error_code error;
    const std::string name = m_prefix + ".XXXXXX";
    std::string pattern = (std::filesystem::temp_directory_path(error) / name).string();
    if (error)
        pattern = "/tmp/" + name;
    // mkdtemp makes the folder with mode 0700.
    if (mkdtemp(pattern.data()) == nullptr)
        return std::string();
    m_folder = pattern;
    return m_folder + "/";
}

bool CPrivateTempFolder::IsPlainName(const std::string& name)
{
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos &&
           name.find('\0') == std::string::npos;
}

int CPrivateTempFolder::CreateFile(const std::string& name, std::string* path)
{
    if (!IsPlainName(name))
        return -1;
    const std::string folder = Folder();
    if (folder.empty())
        return -1;
    const std::string file = folder + name;
    unlink(file.c_str());
    const int descriptor = open(file.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (descriptor >= 0 && path)
        *path = file;
    return descriptor;
}

bool CPrivateTempFolder::Remove(const std::string& path)
{
    return Contains(path) && unlink(path.c_str()) == 0;
}

bool CPrivateTempFolder::Contains(const std::string& path) const
{
    return !m_folder.empty() && path.size() > m_folder.size() + 1 && path.compare(0, m_folder.size(), m_folder) == 0 &&
           path[m_folder.size()] == '/' && IsPlainName(path.substr(m_folder.size() + 1));
}
