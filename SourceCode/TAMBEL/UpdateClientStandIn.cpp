#include "TAMBEL/UpdateClientStandIn.h"

#include "Platform/XmlFile.h"

#include <sys/stat.h>
#include <tinyxml.h>

void CUpdateClientStandIn::LoadSettingsFromFile(const std::string& path)
{
    struct stat status;
    if (::stat(path.c_str(), &status) != 0)
        return;  // no settings: no updates, nothing to report
    TiXmlDocument document;
    std::string error;
    if (!CXmlFile::Load(document, path, &error)) {
        QUILLET_POS(m_log);
        m_log.Error("Update settings %s not read: %s", path.c_str(), error.c_str());
    }
}
