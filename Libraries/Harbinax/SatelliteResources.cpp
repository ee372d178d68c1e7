#include "Harbinax/SatelliteResources.h"

#include "Harbinax/FileVersion.h"
#include "Platform/ResourceRegistry.h"

std::string CSatelliteResources::FileName(const std::string& folder, const std::string& baseName,
                                          const std::string& code)
{
    return folder + baseName + "_" + code + ".res";
}

int CSatelliteResources::Select(const std::string& fileName, const std::string& code,
                                const std::string& baseLanguage, const SFileVersion& programVersion,
                                int compareDepth, std::string& error)
{
    Release();
    if (code == baseLanguage)
        return SATELLITE_OK;
    auto bundle = std::make_unique<CResourceBundle>();
    if (!bundle->Load(fileName, error))
        return SATELLITE_NOT_LOADED;
    SFileVersion version;
    Platform::ReadFileVersion(fileName, version);
    if (CompareFileVersions(version, programVersion, compareDepth) != 0) {
        error = fileName + " has version " + FormatFileVersion(version) + ", the program " +
                FormatFileVersion(programVersion);
        return SATELLITE_WRONG_VERSION;
    }
    m_bundle = std::move(bundle);
    return SATELLITE_OK;
}

void CSatelliteResources::Release()
{
    m_bundle.reset();
}

bool CSatelliteResources::Find(const std::string& type, int id, std::string_view& bytes) const
{
    if (m_bundle && m_bundle->Find(type, id, bytes))
        return true;
    return CResourceRegistry::Find(type, id, bytes);
}

bool CSatelliteResources::Find(const std::string& type, const std::string& name,
                               std::string_view& bytes) const
{
    if (m_bundle && m_bundle->Find(type, name, bytes))
        return true;
    return CResourceRegistry::Find(type, name, bytes);
}
