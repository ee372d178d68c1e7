// What the path of a database file finds before anything is opened, as an ordinary user meets it.
#include "Oddments/SqliteFileCheck.h"
#include "support/ChildProcess.h"
#include "support/TemporaryFolder.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include <sys/stat.h>

TEST(SqliteFileCheck, NamesWhatThePathFinds)
{
    CTemporaryFolder folder;
    ASSERT_EQ(mkdir(folder.Path("shut").c_str(), 0755), 0);
    ASSERT_EQ(mkdir(folder.Path("open").c_str(), 0755), 0);
    WriteWholeFile(folder.Path("shut/old.db"), "");
    for (const char* path : {"", "shut", "open", "shut/old.db"})
        ASSERT_TRUE(GiveToUnprivileged(folder.Path(path)));
    ASSERT_EQ(chmod(folder.Path("").c_str(), 0755), 0);
    ASSERT_EQ(chmod(folder.Path("shut").c_str(), 0555), 0);
    const struct {
        std::string path;
        CSqliteFileCheck::Finding finding;
    } cases[] = {
        {"", CSqliteFileCheck::NoFileNamed},
        {folder.Path("missing/new.db"), CSqliteFileCheck::FolderMissing},
        {folder.Path("shut/old.db/new.db"), CSqliteFileCheck::FolderMissing},
        {folder.Path("shut/new.db"), CSqliteFileCheck::FolderNotWritable},
        {folder.Path("open/new.db"), CSqliteFileCheck::NewFile},
        // It exists: opening it tells the rest, also where it can only be read.
        {folder.Path("shut/old.db"), CSqliteFileCheck::Existing},
        // No database can be a folder.
        {folder.Path("open"), CSqliteFileCheck::Folder},
    };
    const int result = RunInChild([&] {
        if (!LeaveRoot())
            return 90;
        int failures = 0;
        for (const auto& c : cases) {
            const CSqliteFileCheck::Finding finding = CSqliteFileCheck::Check(c.path);
            if (finding != c.finding) {
                std::fprintf(stderr, "\"%s\": %d instead of %d\n", c.path.c_str(), finding, c.finding);
                ++failures;
            }
        }
        return failures;
    });
    chmod(folder.Path("shut").c_str(), 0755);
    ASSERT_NE(result, 90) << "could not become an ordinary user";
    EXPECT_EQ(result, 0);
}
