#include "Renovix/RenovixLib/PrivateTempFolder.h"

#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

CPrivateTempFolder::~CPrivateTempFolder()
{
    for (const std::string& file : m_files)
        unlink(file.c_str());
    if (!m_folder.empty())
        rmdir(m_folder.c_str());
}

std::string CPrivateTempFolder::Folder()
{
    if (!m_folder.empty())
        return m_folder + "/";
    std::error_code error;
    std::string pattern = (std::filesystem::temp_directory_path(error) / "renovix.XXXXXX").string();
    if (error)
        pattern = "/tmp/renovix.XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr)
        return std::string();
    m_folder = pattern;
    return m_folder + "/";
}

int CPrivateTempFolder::CreateFile(const std::string& name, std::string* path)
{
    if (name.empty() || name == "." || name == ".." || name.find('/') != std::string::npos)
        return -1;
    const std::string folder = Folder();
    if (folder.empty())
        return -1;
    const std::string file = folder + name;
    if (m_files.count(file) != 0) {
        unlink(file.c_str());
        m_files.erase(file);
    }
    const int descriptor = open(file.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (descriptor < 0)
        return -1;
    m_files.insert(file);
    if (path)
        *path = file;
    return descriptor;
}

bool CPrivateTempFolder::Remove(const std::string& path)
{
    if (m_files.erase(path) == 0)
        return false;
    return unlink(path.c_str()) == 0;
}

bool CPrivateTempFolder::Contains(const std::string& path) const
{
    return !m_folder.empty() && path.size() > m_folder.size() + 1 && path.compare(0, m_folder.size(), m_folder) == 0 &&
           path[m_folder.size()] == '/';
}
