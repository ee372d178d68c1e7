#include "support/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

CTemporaryFolder::CTemporaryFolder()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "ZephrinTests.XXXXXX").string();
    m_made = mkdtemp(pattern.data()) != nullptr;
    EXPECT_TRUE(m_made) << "cannot create a temporary folder";
    // Without a folder, names point below a folder that does not exist, so writes fail instead of
    // landing in the root folder.
    m_path = m_made ? pattern : "/nonexistent/ZephrinTests";
}

CTemporaryFolder::~CTemporaryFolder()
{
    std::error_code ignored;
    if (!m_made)
        return;
    // A test may have left the folder read-only.
    std::filesystem::permissions(m_path, std::filesystem::perms::owner_all, std::filesystem::perm_options::add,
                                 ignored);
    std::filesystem::remove_all(m_path, ignored);
}
