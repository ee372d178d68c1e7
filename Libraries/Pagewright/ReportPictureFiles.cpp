#include "Pagewright/ReportPictureFiles.h"

#include "Pagewright/ReportImage.h"
#include "Platform/ResourceRegistry.h"
#include "Platform/WholeFile.h"
#include "Quillet/LogLevel.h"
#include "Quillet/LogManager.h"

#include <algorithm>
#include <string_view>
#include <sys/stat.h>

namespace {

void LogOverBudget(const std::string& filename, std::size_t size)
{
    if (CLogManager* logs = CLogManager::GetInstance()) {
        CLogger log = logs->GetLogger("CReport", LOGLEVEL_PARENT);
        QUILLET_POS(log);
        log.Warn("Report picture %s (%zu bytes) not drawn: the pictures of the report would take more than %zu bytes",
                 filename.c_str(), size, CReportPictureFiles::kMaxBytes);
    }
}

}  // namespace

std::shared_ptr<const CReportImage> CReportPictureFiles::Find(const std::string& filename, const std::string& folder)
{
    if (filename.empty())
        return nullptr;
    std::string key;
    std::string path;
    std::string_view resource;
    std::size_t size = 0;
    if (filename[0] == '$') {
        const std::size_t start = filename.find_first_not_of('$');
        const std::string name = start == std::string::npos ? std::string() : filename.substr(start);
        if (!CResourceRegistry::Find("RCDATA", name, resource) && !CResourceRegistry::Find("BITMAP", name, resource))
            return nullptr;
        key = "$" + name;
        size = resource.size();
    } else {
        // Templates written on Windows name their pictures with backslashes.
        std::string relative = filename;
        std::replace(relative.begin(), relative.end(), '\\', '/');
        path = folder + relative;
        // Only a regular file of a sensible size: a name like a device or a pipe would otherwise
        // block the loading of the template.
        struct stat info;
        if (stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode) ||
            static_cast<unsigned long long>(info.st_size) > kMaxFileSize)
            return nullptr;
        key = std::to_string(info.st_dev) + ":" + std::to_string(info.st_ino);
        size = static_cast<std::size_t>(info.st_size);
    }
    const auto found = m_pictures.find(key);
    if (found != m_pictures.end())
        return found->second;
    std::shared_ptr<const CReportImage>& picture = m_pictures[key];
    if (m_bytes + size > kMaxBytes) {
        LogOverBudget(filename, size);
        return picture;
    }
    std::string bytes;
    if (path.empty())
        bytes.assign(resource);
    else if (!Platform::ReadWholeFile(path, bytes) || bytes.size() > kMaxFileSize || m_bytes + bytes.size() > kMaxBytes)
        return picture;
    const std::size_t read = bytes.size();
    picture = CReportImage::FromBytes(std::move(bytes));
    if (picture)
        m_bytes += read;
    return picture;
}
