#include "support/TestFiles.h"

#include "support/WaitUntil.h"

#include <sys/stat.h>

#include <fstream>
#include <iterator>

std::string ReadWholeFile(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

void WriteWholeFile(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

bool WriteScript(const std::string& path, const std::string& text)
{
    std::ofstream script(path, std::ios::binary | std::ios::trunc);
    script << text;
    script.close();
    return script && chmod(path.c_str(), 0755) == 0;
}

std::string WaitForFile(const std::string& path, std::chrono::milliseconds limit)
{
    struct stat status;
    WaitUntil(limit, [&] { return stat(path.c_str(), &status) == 0; });
    return ReadWholeFile(path);
}
