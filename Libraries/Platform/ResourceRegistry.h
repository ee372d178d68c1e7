// Resources compiled into a program: files turned into bytes of the executable by
// zephrin_add_resources (cmake/ZephrinResources.cmake), found by type and numeric id or name.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

class CResourceRegistry {
public:
    // Types ("RCDATA", "BITMAP", "ICON", ...) and names compare without regard to ASCII case.
    // A name like "#103" stands for that numeric id (see IdFromName).
    // The bytes stay valid for the life of the program and are followed by a zero byte that
    // bytes.size() does not count, so text resources can be handed to C string parsers.
    static bool Find(const std::string& type, int id, std::string_view& bytes);
    static bool Find(const std::string& type, const std::string& name, std::string_view& bytes);

    // True, with the id, for a name of '#' and one to five decimal digits up to 65535 ("#103");
    // such a name stands for the numeric id everywhere resources are looked up.
    static bool IdFromName(const std::string& name, int& id);

    // Called by the generated registrars before main. A null or empty name registers the
    // numeric id, otherwise the name (the id is then not used). data must outlive the program
    // and have a zero byte at data[size]. A later registration of the same key replaces the earlier.
    static void Register(const char* type, int id, const char* name, const unsigned char* data,
                         std::size_t size);
};
