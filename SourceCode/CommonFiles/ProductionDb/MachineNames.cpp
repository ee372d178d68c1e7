#include "ProductionDb/MachineNames.h"

#include <pwd.h>
#include <unistd.h>

#include <vector>

std::string GetUserNameString()
{
    long size = sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(static_cast<size_t>(size > 0 ? size : 16384));
    passwd entry{};
    passwd* found = nullptr;
    if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) != 0 || found == nullptr ||
        found->pw_name == nullptr)
        return std::string();
    return found->pw_name;
}

std::string GetComputerNameString()
{
    char name[256] = {};
    // A name that does not fit may come back without its terminator.
    if (gethostname(name, sizeof name - 1) != 0)
        return std::string();
    return name;
}
