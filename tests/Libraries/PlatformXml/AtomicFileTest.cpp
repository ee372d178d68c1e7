#include "Platform/AtomicFile.h"

#include "XmlTestSupport.h"
#include "support/ChildProcess.h"
#include "support/TemporaryFolder.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/file.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using Step = CAtomicFile::Step;

mode_t ModeOf(const std::string& path)
{
    struct stat st {};
    stat(path.c_str(), &st);
    return st.st_mode & 07777;
}

// Names in the folder, to see that no temporary file was left behind.
std::vector<std::string> NamesIn(const CTemporaryFolder& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder.Path("")))
        names.push_back(entry.path().filename().string());
    return names;
}

class AtomicFileTest : public ::testing::Test
{
protected:
    void TearDown() override { CAtomicFile::SetHookForTesting(nullptr); }

    CTemporaryFolder folder;
    const std::string oldBytes = "old contents\n";
};

// Runs saves in a child that stops itself before that occurrence of the step and is killed
// there, as a crash or a power cut would end it.
::testing::AssertionResult KillSavesAt(Step step, int occurrence, const std::function<void()>& saves)
{
    const pid_t pid = fork();
    if (pid == 0) {
        int seen = 0;
        CAtomicFile::SetHookForTesting([&](Step at) {
            if (at == step && ++seen == occurrence)
                raise(SIGSTOP);
            return 0;
        });
        saves();
        _exit(0);
    }
    int status = 0;
    if (waitpid(pid, &status, WUNTRACED) != pid || !WIFSTOPPED(status))
        return ::testing::AssertionFailure() << "the child did not stop at the step";
    kill(pid, SIGKILL);
    waitpid(pid, &status, 0);
    return ::testing::AssertionSuccess();
}

TEST_F(AtomicFileTest, CreatesNewFileWithDefaultPermissions)
{
    const std::string path = folder.Path("new.xml");
    const mode_t previous = umask(027);
    std::string error;
    const bool written = CAtomicFile::Write(path, "<a/>", &error);
    umask(previous);

    ASSERT_TRUE(written) << error;
    EXPECT_EQ(ReadWholeFile(path), "<a/>");
    EXPECT_EQ(ModeOf(path), 0640u);
    EXPECT_EQ(NamesIn(folder), std::vector<std::string>{"new.xml"});
}

TEST_F(AtomicFileTest, ReplacesFileKeepingItsPermissions)
{
    const std::string path = folder.Path("project.xml");
    WriteWholeFile(path, oldBytes);
    chmod(path.c_str(), 0604);

    const std::string big(3 * CAtomicFile::kChunkSize + 17, 'x');  // several chunks
    std::string error;
    ASSERT_TRUE(CAtomicFile::Write(path, big, &error)) << error;
    EXPECT_EQ(ReadWholeFile(path), big);
    EXPECT_EQ(ModeOf(path), 0604u);
    EXPECT_EQ(NamesIn(folder), std::vector<std::string>{"project.xml"});

    ASSERT_TRUE(CAtomicFile::Write(path, "", &error)) << error;
    EXPECT_EQ(ReadWholeFile(path), "");
}

// Streamed pieces become the file; a new file gets the mode asked for less the umask, an existing
// one keeps its own; a stream given up, by its producer or by a failing write, leaves the old
// file and no temporary one.
TEST_F(AtomicFileTest, StreamedWritesTakeTheirPiecesAndTheModeOfNewFiles)
{
    const std::string piece(CAtomicFile::kChunkSize + 5, 'p');
    const struct {
        const char* name;
        bool exists;
        bool complete;  // the producer hands every piece
        int writeError;
        std::string result;
        mode_t mode;
    } cases[] = {
        {"new file", false, true, 0, piece + piece + piece, 0750},
        {"existing file", true, true, 0, piece + piece + piece, 0604},
        {"producer gives up", true, false, 0, oldBytes, 0604},
        {"disk full", true, true, ENOSPC, oldBytes, 0604},
        {"new file, producer gives up", false, false, 0, "", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = folder.Path("stream.bin");
        std::remove(path.c_str());
        if (c.exists) {
            WriteWholeFile(path, oldBytes);
            chmod(path.c_str(), 0604);
        }
        CAtomicFile::SetHookForTesting([&](Step step) { return step == Step::Write ? c.writeError : 0; });
        int pieces = 0;
        const auto produce = [&](const CAtomicFile::Sink& sink) {
            for (; pieces < 3; ++pieces) {
                if (!c.complete && pieces == 2)
                    return false;
                if (!sink(piece.data(), piece.size()))
                    return false;
            }
            return true;
        };
        const mode_t previous = umask(027);
        std::string error;
        const bool written = CAtomicFile::WriteFrom(path, produce, &error, 0755);
        umask(previous);
        CAtomicFile::SetHookForTesting(nullptr);
        EXPECT_EQ(written, c.complete && c.writeError == 0);
        EXPECT_EQ(error.empty(), c.writeError == 0) << error;
        EXPECT_EQ(ReadWholeFile(path), c.result);
        EXPECT_EQ(ModeOf(path), c.mode);
        EXPECT_EQ(NamesIn(folder).size(), c.exists || written ? 1u : 0u);
    }
}

// A file that holds the bytes already is not replaced (a setting saved unchanged); one byte
// apart, at the start, in the middle past the first chunk or at the end, and it is.
TEST_F(AtomicFileTest, FileHoldingTheBytesAlreadyIsLeftAsItIs)
{
    const std::string path = folder.Path("settings.xml");
    const std::string bytes(2 * CAtomicFile::kChunkSize + 5, 'a');
    WriteWholeFile(path, bytes);
    struct stat before {};
    ASSERT_EQ(stat(path.c_str(), &before), 0);
    int steps = 0;
    CAtomicFile::SetHookForTesting([&steps](CAtomicFile::Step) { return ++steps, 0; });
    std::string error;
    EXPECT_TRUE(CAtomicFile::Write(path, bytes, &error)) << error;
    struct stat after {};
    ASSERT_EQ(stat(path.c_str(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino);
    EXPECT_EQ(steps, 0);

    for (const size_t at : {size_t{0}, CAtomicFile::kChunkSize + 3, bytes.size() - 1}) {
        std::string changed = bytes;
        changed[at] = 'b';
        steps = 0;
        ASSERT_TRUE(CAtomicFile::Write(path, changed, &error)) << error;
        EXPECT_GT(steps, 0) << "byte " << at;
        EXPECT_EQ(ReadWholeFile(path), changed) << "byte " << at;
        WriteWholeFile(path, bytes);
    }
    CAtomicFile::SetHookForTesting(nullptr);
}

TEST_F(AtomicFileTest, FollowsSymbolicLinkAndKeepsIt)
{
    const std::string real = folder.Path("real.xml");
    const std::string link = folder.Path("link.xml");
    WriteWholeFile(real, oldBytes);
    ASSERT_EQ(symlink("real.xml", link.c_str()), 0);

    std::string error;
    ASSERT_TRUE(CAtomicFile::Write(link, "new", &error)) << error;
    struct stat st {};
    ASSERT_EQ(lstat(link.c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    EXPECT_EQ(ReadWholeFile(real), "new");
}

TEST_F(AtomicFileTest, RefusesTargetsThatCannotBeFiles)
{
    std::string error;
    EXPECT_FALSE(CAtomicFile::Write(folder.Path(""), "x", &error));
    EXPECT_NE(error.find(folder.Path("")), std::string::npos) << error;

    const std::string missingFolder = folder.Path("missing/file.xml");
    EXPECT_FALSE(CAtomicFile::Write(missingFolder, "x", &error));
    EXPECT_NE(error.find(missingFolder), std::string::npos) << error;
    EXPECT_NE(error.find(std::strerror(ENOENT)), std::string::npos) << error;

    EXPECT_FALSE(CAtomicFile::Write("", "x", nullptr));
}

// A failure at any step, as a full disk or an I/O error would cause it, leaves the old file
// byte for byte and no temporary file behind.
TEST_F(AtomicFileTest, FailureAtAnyStepLeavesOldFile)
{
    const struct
    {
        Step step;
        int error;
    } cases[] = {{Step::Create, EACCES}, {Step::Write, ENOSPC}, {Step::Sync, EIO}, {Step::Rename, EROFS}};
    const std::string path = folder.Path("settings.xml");
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.step));
        WriteWholeFile(path, oldBytes);
        int writes = 0;
        CAtomicFile::SetHookForTesting([&](Step step) {
            // The write fails in the middle of the data.
            if (step == Step::Write && ++writes < 3)
                return 0;
            return step == c.step ? c.error : 0;
        });

        std::string error;
        int errorNumber = 0;
        EXPECT_FALSE(CAtomicFile::Write(path, std::string(5 * CAtomicFile::kChunkSize, 'n'), &error, 0644, &errorNumber));
        EXPECT_NE(error.find(path), std::string::npos) << error;
        EXPECT_NE(error.find(std::strerror(c.error)), std::string::npos) << error;
        // For a message in the user's language.
        EXPECT_EQ(errorNumber, c.error);
        EXPECT_EQ(ReadWholeFile(path), oldBytes);
        EXPECT_EQ(NamesIn(folder), std::vector<std::string>{"settings.xml"});
    }
}

// As root the permission bits do not stop us, so the child runs as nobody.
TEST_F(AtomicFileTest, ReadOnlyFolderOrFileLeavesOldFile)
{
    const std::string path = folder.Path("units.xml");
    WriteWholeFile(path, oldBytes);
    ASSERT_TRUE(GiveToUnprivileged(folder.Path("")));
    ASSERT_TRUE(GiveToUnprivileged(path));
    const int result = RunInChild([&] {
        if (!LeaveRoot())
            return 10;
        std::string error;
        // The folder turned read-only.
        chmod(folder.Path("").c_str(), 0555);
        if (CAtomicFile::Write(path, "new", &error) || error.find(path) == std::string::npos)
            return 1;
        if (ReadWholeFile(path) != oldBytes)
            return 2;
        // A file that may not be written is not replaced behind the user's back.
        chmod(folder.Path("").c_str(), 0755);
        chmod(path.c_str(), 0444);
        if (CAtomicFile::Write(path, "new", &error) || ReadWholeFile(path) != oldBytes)
            return 3;
        return NamesIn(folder).size() == 1 ? 0 : 4;
    });
    EXPECT_EQ(result, 0);
}

// A real full file system: a 64 KiB tmpfs in a mount namespace of a child process.
TEST_F(AtomicFileTest, FullFileSystemLeavesOldFile)
{
    const std::string mountPoint = folder.Path("small");
    ASSERT_EQ(mkdir(mountPoint.c_str(), 0755), 0);
    const std::string path = mountPoint + "/project.xml";
    const int result = RunInChild([&] {
        if (unshare(CLONE_NEWNS) != 0 || mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
            mount("tmpfs", mountPoint.c_str(), "tmpfs", 0, "size=64k") != 0)
            return 77;
        WriteWholeFile(path, oldBytes);
        std::string error;
        if (CAtomicFile::Write(path, std::string(256 * 1024, 'n'), &error))
            return 1;
        if (error.find(std::strerror(ENOSPC)) == std::string::npos)
            return 2;
        if (ReadWholeFile(path) != oldBytes)
            return 3;
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(mountPoint))
            names.push_back(entry.path().filename().string());
        return names == std::vector<std::string>{"project.xml"} ? 0 : 4;
    });
    if (result == 77)
        GTEST_SKIP() << "no permission to mount a tmpfs";
    EXPECT_EQ(result, 0);
}

// kill -9 of the writing process at each point of a save leaves the old file or the new one,
// never a mixture.
TEST_F(AtomicFileTest, KilledWriterLeavesOldOrNewFile)
{
    const std::string path = folder.Path("project.xml");
    const std::string newBytes(4 * CAtomicFile::kChunkSize, 'n');
    const struct
    {
        Step step;
        int occurrence;  // stop before this occurrence of the step
        bool expectNew;
    } cases[] = {{Step::Create, 1, false}, {Step::Write, 1, false}, {Step::Write, 3, false},
                 {Step::Sync, 1, false},   {Step::Rename, 1, false}, {Step::Rename, 2, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << static_cast<int>(c.step) << " #" << c.occurrence);
        WriteWholeFile(path, oldBytes);
        ASSERT_TRUE(KillSavesAt(c.step, c.occurrence, [&] {
            // The second save's Rename step comes after the first save is complete. (It saves
            // other bytes: bytes the file holds already are not saved again.)
            CAtomicFile::Write(path, newBytes, nullptr);
            CAtomicFile::Write(path, newBytes + "2", nullptr);
        }));
        EXPECT_EQ(ReadWholeFile(path), c.expectNew ? newBytes : oldBytes);
    }
}

// The same with the kill at a random moment of back-to-back saves.
TEST_F(AtomicFileTest, KilledAtRandomMomentLeavesOldOrNewFile)
{
    const std::string path = folder.Path("project.xml");
    const std::string first(512 * 1024, 'a');
    const std::string second(300 * 1024, 'b');
    WriteWholeFile(path, first);
    srand(4711);
    for (int round = 0; round < 20; ++round) {
        const pid_t pid = fork();
        if (pid == 0) {
            for (int i = 0;; ++i)
                CAtomicFile::Write(path, i % 2 ? first : second, nullptr);
        }
        usleep(1000 + rand() % 20000);
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
        const std::string now = ReadWholeFile(path);
        ASSERT_TRUE(now == first || now == second) << "round " << round << ": " << now.size() << " bytes";
    }
}

// Saves killed half way leave their temporary files; the next save of the same target removes
// those of processes that are gone, and nothing else.
TEST_F(AtomicFileTest, NextSaveRemovesTemporaryFilesOfKilledSaves)
{
    const std::string path = folder.Path("Zephrin.cfg");
    WriteWholeFile(path, oldBytes);
    for (int round = 0; round < 3; ++round)
        ASSERT_TRUE(KillSavesAt(Step::Sync, 1, [&] { CAtomicFile::Write(path, std::string(100000, 'k'), nullptr); }));
    // Each killed save removed the one before it.
    ASSERT_EQ(NamesIn(folder).size(), 2u);

    // Not stale: a writer that still runs (this process), and one that holds its file locked;
    // not ours: another target's and names of another form.
    const std::string ours = ".Zephrin.cfg." + std::to_string(getpid()) + "-7-abc.tmp";
    const std::string locked = ".Zephrin.cfg.4194999-1-ff.tmp";
    const std::vector<std::string> kept = {ours, locked, ".Zephrin.cfg2.4194999-1-ff.tmp", ".Zephrin.cfg.x-1-ff.tmp",
                                           "Zephrin.cfg.4194999-1-ff.tmp", ".Zephrin.cfg.4194999-1-ff.tmp.bak"};
    for (const std::string& name : kept)
        WriteWholeFile(folder.Path(name), "x");
    const int holder = open(folder.Path(locked).c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(holder, 0);
    ASSERT_EQ(flock(holder, LOCK_EX), 0);

    std::string error;
    ASSERT_TRUE(CAtomicFile::Write(path, "new\n", &error)) << error;
    close(holder);
    std::vector<std::string> names = NamesIn(folder);
    std::sort(names.begin(), names.end());
    std::vector<std::string> expected = kept;
    expected.push_back("Zephrin.cfg");
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(names, expected);
}

}  // namespace
