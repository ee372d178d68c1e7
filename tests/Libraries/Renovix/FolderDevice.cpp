#include "FolderDevice.h"

#include <cerrno>
#include <cstring>
#include <sys/stat.h>

CFolderDevice::~CFolderDevice()
{
    for (auto& file : m_files)
        std::fclose(file.second);
}

bool CFolderDevice::Connect(int)
{
    ++connectCalls;
    connected = reachable;
    return connected;
}

bool CFolderDevice::GetVersion(SCeVersion& out)
{
    if (versionFails) {
        m_error = EIO;
        return false;
    }
    out = version;
    return true;
}

std::string CFolderDevice::GetSpecialFolder(ECeFolder folder)
{
    const auto found = folders.find(folder);
    return found == folders.end() ? "" : found->second;
}

std::string CFolderDevice::GetRegistryString(const std::string& key, const std::string& value)
{
    const auto found = registry.find(key + "|" + value);
    return found == registry.end() ? "" : found->second;
}

std::string CFolderDevice::Local(const std::string& devicePath) const
{
    std::string path = devicePath;
    for (char& c : path)
        if (c == '\\')
            c = '/';
    return m_folder + path;
}

bool CFolderDevice::FileExists(const std::string& path)
{
    struct stat info;
    return stat(Local(path).c_str(), &info) == 0;
}

int CFolderDevice::OpenFile(const std::string& path, EOpen mode)
{
    if (mode != OPEN_READ && busy.count(path)) {
        m_error = 32;  // a sharing violation
        return -1;
    }
    static const char* const kModes[] = {"rb", "r+b", "wb"};
    std::FILE* file = std::fopen(Local(path).c_str(), kModes[mode]);
    if (file == nullptr) {
        m_error = errno;
        return -1;
    }
    m_files[m_next] = file;
    return m_next++;
}

long long CFolderDevice::GetFileSize(int handle)
{
    struct stat info;
    return fstat(fileno(m_files.at(handle)), &info) == 0 ? info.st_size : -1;
}

long CFolderDevice::ReadFile(int handle, void* buffer, size_t size)
{
    return static_cast<long>(std::fread(buffer, 1, size, m_files.at(handle)));
}

bool CFolderDevice::WriteFile(int handle, const void* bytes, size_t size)
{
    return std::fwrite(bytes, 1, size, m_files.at(handle)) == size;
}

void CFolderDevice::CloseFile(int handle)
{
    std::fclose(m_files.at(handle));
    m_files.erase(handle);
}

bool CFolderDevice::CreateDirectory(const std::string& path)
{
    if (mkdir(Local(path).c_str(), 0755) == 0)
        return true;
    m_error = errno;
    return false;
}

std::string CFolderDevice::GetErrorText(int error) const
{
    return std::strerror(error);
}
