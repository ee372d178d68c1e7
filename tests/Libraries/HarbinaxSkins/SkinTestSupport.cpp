#include "SkinTestSupport.h"

#include <cstdlib>

CHarbinax& App()
{
    return *CHarbinax::GetApp();
}

std::string SkinDataFile(const std::string& name)
{
    const char* folder = std::getenv("ZEPHRIN_TEST_DATA");
    return std::string(folder ? folder : "tests/data") + "/HarbinaxSkins/" + name;
}
