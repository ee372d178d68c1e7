// Helper program of the platform tests.
//   PlatformProbe path            prints its program path
//   PlatformProbe delete          removes its own file, then prints its program path
//   PlatformProbe replace         replaces its own file by a new one, then prints its program path
//   PlatformProbe version <file>  prints the file version of <file>
#include "Platform/ProgramFolder.h"
#include "Platform/VersionInfo.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <unistd.h>

int main(int argc, char** argv)
{
    if (argc == 3 && std::strcmp(argv[1], "version") == 0) {
        SFileVersion version;
        const bool found = Platform::ReadFileVersion(argv[2], version);
        std::printf("%d %u.%u.%u.%u\n", found, version.part[0], version.part[1], version.part[2],
                    version.part[3]);
        return 0;
    }
    if (argc != 2)
        return 2;
    const std::string self = Platform::GetProgramPath();
    const std::string mode = argv[1];
    if (mode == "delete" || mode == "replace") {
        if (unlink(self.c_str()) != 0)
            return 1;
        if (mode == "replace")
            std::ofstream(self) << "new program\n";
    } else if (mode != "path") {
        return 2;
    }
    std::printf("%s\n", Platform::GetProgramPath().c_str());
    return 0;
}
