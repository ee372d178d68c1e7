#include "support/MemoryUse.h"

#include <fstream>
#include <string>

namespace {

// A "Name:   1234 kB" line of the process's status.
long StatusKiB(const std::string& name)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.compare(0, name.size() + 1, name + ":") == 0)
            return std::stol(line.substr(name.size() + 1));
    }
    return 0;
}

}  // namespace

bool ResetPeakMemory()
{
    std::ofstream refs("/proc/self/clear_refs");
    refs << "5";
    refs.flush();
    return refs.good();
}

long PeakMemoryKiB()
{
    return StatusKiB("VmHWM");
}

long MemoryKiB()
{
    return StatusKiB("VmRSS");
}
