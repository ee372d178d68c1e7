// Where an update entry goes: the destination's macros replaced by folders, and the result
// checked, since the update list comes from a server nobody authenticates. Desktop targets are
// absolute paths with '/'; device targets keep the device's '\'.
#pragma once

#include <functional>
#include <string>
#include <vector>

class CUpdateDestination {
public:
    // The folder of a macro ("%DESKTOP%"), empty when it has none here.
    using FolderOf = std::function<std::string(const std::string& macro)>;

    // The desktop target, or empty with the reason in *error: a destination that is absolute
    // itself, steps out with "..", uses a macro without a folder here, or does not start in a
    // macro's folder.
    static std::string ResolveDesktop(const std::string& source, const std::string& destination,
                                      const FolderOf& folderOf, std::string* error);
    // The device target: the same macro rules with '\' as separator; device paths are absolute
    // by nature, "..", still refused.
    static std::string ResolveDevice(const std::string& source, const std::string& destination,
                                     const FolderOf& folderOf, std::string* error);

    // The source from its last '\' on, separator included; else from its last '/'; else all.
    static std::string FilePart(const std::string& source);

    // Folders of the desktop macros on this system: the program folder, and the user's desktop,
    // documents, fonts, menu and autostart folders. Windows' own folders have none.
    static std::string DesktopFolder(const std::string& macro);

    static const std::vector<std::string>& DesktopMacros();
    static const std::vector<std::string>& DeviceMacros();

private:
    static bool Expand(std::string& text, const std::vector<std::string>& macros, const FolderOf& folderOf,
                       std::string* error);
    static bool Normalise(const std::string& text, char separator, std::string& path, std::string* error);
};
