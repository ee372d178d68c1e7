// The program's resources in the chosen user-interface language: a resource bundle beside the
// program, used in place of the program's own resources while that language is active.
#pragma once

#include "Harbinax/ResourceBundle.h"
#include "Platform/VersionInfo.h"

#include <memory>
#include <string>
#include <string_view>

class CSatelliteResources {
public:
    // Results of Select.
    enum : int {
        SATELLITE_OK = 0,
        SATELLITE_NOT_LOADED = 2,     // no bundle for the language, or not a readable bundle
        SATELLITE_WRONG_VERSION = 11  // its version differs from the program's
    };

    // "<folder><baseName>_<code>.res"; folder ends in '/'.
    static std::string FileName(const std::string& folder, const std::string& baseName,
                                const std::string& code);

    // Drops the bundle chosen before, so the program's own resources apply again. When code
    // equals baseLanguage (exactly) that is all. Otherwise loads the bundle at fileName and
    // keeps it when its version equals programVersion in the first compareDepth words.
    // error explains a result other than SATELLITE_OK.
    int Select(const std::string& fileName, const std::string& code, const std::string& baseLanguage,
               const SFileVersion& programVersion, int compareDepth, std::string& error);
    void Release();
    bool IsActive() const { return m_bundle != nullptr; }

    // From the active bundle when it has the resource, else from the program's own registry.
    bool Find(const std::string& type, int id, std::string_view& bytes) const;
    bool Find(const std::string& type, const std::string& name, std::string_view& bytes) const;

private:
    std::unique_ptr<CResourceBundle> m_bundle;
};
