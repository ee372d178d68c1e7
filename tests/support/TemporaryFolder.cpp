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
    if (m_path.empty())
        return;
    // A test may have left the folder read-only.
    std::filesystem::permissions(m_path, std::filesystem::perms::owner_all, std::filesystem::perm_options::add,
                                 ignored);
    std::filesystem::remove_all(m_path, ignored);
}
