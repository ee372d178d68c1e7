#include "Harbinax/FileVersion.h"

int CompareFileVersions(const SFileVersion& a, const SFileVersion& b, int depth)
{
    if (depth < 1 || depth > 4)
        return 0;
    for (int i = 0; i < depth; ++i) {
        if (a.part[i] != b.part[i])
            return a.part[i] > b.part[i] ? 1 : -1;
    }
    return 0;
}

std::string FormatFileVersion(const SFileVersion& version)
{
    std::string text;
    for (int i = 0; i < 4; ++i) {
        if (i)
            text += '.';
        text += std::to_string(version.part[i]);
    }
    return text;
}

SFileVersion GetFileVersion(const std::string& path)
{
    if (path.empty())
        return Platform::GetProgramVersion();
    SFileVersion version;
    Platform::ReadFileVersion(path, version);
    return version;
}
