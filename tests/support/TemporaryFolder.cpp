#include "support/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

CTemporaryFolder::CTemporaryFolder()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "ZephrinTests.XXXXXX").string();
    if (mkdtemp(pattern.data()))
        m_path = pattern;
    EXPECT_FALSE(m_path.empty()) << "cannot create a temporary folder";
}

CTemporaryFolder::~CTemporaryFolder()
{
    std::error_code ignored;
    if (!m_path.empty())
        std::filesystem::remove_all(m_path, ignored);
}
