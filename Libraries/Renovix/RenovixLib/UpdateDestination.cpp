#include "Renovix/RenovixLib/UpdateDestination.h"

#include "Renovix/RenovixLib/Renovix.h"

#include <cstdlib>
#include <fstream>

namespace {

bool Fail(std::string* error, const std::string& text)
{
    if (error)
        *error = text;
    return false;
}

std::string Replaced(std::string text, char from, char to)
{
    for (char& c : text)
        if (c == from)
            c = to;
    return text;
}

std::string Home()
{
    const char* home = std::getenv("HOME");
    return home && *home == '/' ? home : "";
}

// $XDG_DATA_HOME and friends, or their default below the home folder.
std::string BaseFolder(const char* variable, const char* fallback)
{
    const char* value = std::getenv(variable);
    if (value && *value == '/')
        return value;
    const std::string home = Home();
    return home.empty() ? "" : home + "/" + fallback;
}

// A user folder of user-dirs.dirs ("XDG_DESKTOP_DIR="$HOME/Desktop""), or its usual name.
std::string UserFolder(const std::string& key, const char* fallback)
{
    const std::string home = Home();
    if (home.empty())
        return "";
    std::ifstream file(BaseFolder("XDG_CONFIG_HOME", ".config") + "/user-dirs.dirs");
    std::string line;
    const std::string prefix = "XDG_" + key + "_DIR=\"";
    while (std::getline(file, line)) {
        if (line.compare(0, prefix.size(), prefix) != 0 || line.back() != '"')
            continue;
        std::string value = line.substr(prefix.size(), line.size() - prefix.size() - 1);
        if (value.compare(0, 5, "$HOME") == 0)
            value = home + value.substr(5);
        if (!value.empty() && value[0] == '/')
            return value;
    }
    return home + "/" + fallback;
}

}  // namespace

// In the order the macros have always been replaced in.
const std::vector<std::string>& CUpdateDestination::DesktopMacros()
{
    static const std::vector<std::string> macros = {"%SYSTEM%",  "%WINDOWS%", "%PROGRAMS%",    "%STARTMENU%",
                                                    "%STARTUP%", "%DESKTOP%", "%FONTS%",       "%MYDOCUMENTS%",
                                                    "%SENDTO%",  "%CURRENTDIR%"};
    return macros;
}

const std::vector<std::string>& CUpdateDestination::DeviceMacros()
{
    static const std::vector<std::string> macros = {"%DESKTOP%",  "%FAVORITES%", "%FONTS%",  "%PERSONAL%",
                                                    "%PROGRAMS%", "%PROGRAMS_MENU%", "%RECENT%", "%STARTUP%"};
    return macros;
}

std::string CUpdateDestination::DesktopFolder(const std::string& macro)
{
    if (macro == "%CURRENTDIR%")
        return CRenovix::GetBaseDir();
    if (macro == "%DESKTOP%")
        return UserFolder("DESKTOP", "Desktop");
    if (macro == "%MYDOCUMENTS%")
        return UserFolder("DOCUMENTS", "Documents");
    if (macro == "%FONTS%")
        return BaseFolder("XDG_DATA_HOME", ".local/share") + "/fonts";
    if (macro == "%STARTMENU%")
        return BaseFolder("XDG_DATA_HOME", ".local/share") + "/applications";
    if (macro == "%STARTUP%")
        return BaseFolder("XDG_CONFIG_HOME", ".config") + "/autostart";
    return "";
}

std::string CUpdateDestination::FilePart(const std::string& source)
{
    size_t at = source.rfind('\\');
    if (at == std::string::npos)
        at = source.rfind('/');
    return at == std::string::npos ? source : source.substr(at);
}

// One pass from left to right: a folder that itself holds a macro's name is taken as it is.
bool CUpdateDestination::Expand(std::string& text, const std::vector<std::string>& macros, const FolderOf& folderOf,
                                std::string* error)
{
    std::string result;
    for (size_t at = 0; at < text.size();) {
        bool replaced = false;
        for (const std::string& macro : macros) {
            if (text.compare(at, macro.size(), macro) != 0)
                continue;
            const std::string folder = folderOf(macro);
            if (folder.empty())
                return Fail(error, "no folder for " + macro + " on this system");
            result += folder;
            at += macro.size();
            replaced = true;
            break;
        }
        if (!replaced)
            result += text[at++];
    }
    text = result;
    return true;
}

bool CUpdateDestination::Normalise(const std::string& text, char separator, std::string& path, std::string* error)
{
    if (text.empty() || text[0] != separator)
        return Fail(error, "'" + text + "' does not lie in a known folder");
    path.clear();
    for (size_t at = 0; at <= text.size();) {
        size_t end = text.find(separator, at);
        if (end == std::string::npos)
            end = text.size();
        const std::string part = text.substr(at, end - at);
        if (part == "..")
            return Fail(error, "'" + text + "' steps out of its folder");
        if (!part.empty() && part != ".")
            path += separator + part;
        at = end + 1;
    }
    if (path.empty())
        return Fail(error, "'" + text + "' names no file");
    return true;
}

std::string CUpdateDestination::ResolveDesktop(const std::string& source, const std::string& destination,
                                               const FolderOf& folderOf, std::string* error)
{
    std::string text = Replaced(destination, '\\', '/');
    if (text.empty()) {
        std::string relative = Replaced(source, '\\', '/');
        relative.erase(0, relative.find_first_not_of('/'));
        text = "%CURRENTDIR%" + relative;
    } else if (text[0] == '/' || (text.size() > 1 && text[1] == ':')) {
        Fail(error, "the destination '" + destination + "' is an absolute path");
        return "";
    }
    if (!Expand(text, DesktopMacros(), folderOf, error))
        return "";
    const std::string file = Replaced(FilePart(source), '\\', '/');
    for (size_t at = text.find("%FILE%"); at != std::string::npos; at = text.find("%FILE%", at + file.size()))
        text.replace(at, 6, file);
    if (!text.empty() && text.back() == '/')
        text += file;
    std::string path;
    return Normalise(text, '/', path, error) ? path : "";
}

std::string CUpdateDestination::ResolveDevice(const std::string& source, const std::string& destination,
                                              const FolderOf& folderOf, std::string* error)
{
    std::string text = destination.empty() ? Replaced(source, '/', '\\') : destination;
    if (!Expand(text, DeviceMacros(), folderOf, error))
        return "";
    const std::string file = FilePart(source);
    for (size_t at = text.find("%FILE%"); at != std::string::npos; at = text.find("%FILE%", at + file.size()))
        text.replace(at, 6, file);
    if (!text.empty() && text.back() == '\\')
        text += file;
    text = Replaced(text, '/', '\\');
    if (!text.empty() && text[0] != '\\')
        text = '\\' + text;
    std::string path;
    return Normalise(text, '\\', path, error) ? path : "";
}
