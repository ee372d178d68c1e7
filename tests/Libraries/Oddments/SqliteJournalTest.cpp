// The journal of an SQLite file as other programs meet it: a write-ahead log only while a writer
// on a local disk holds the file, one self-contained file at rest, and readers that see every
// committed save wherever the file lies.
#include "Oddments/DataSource.h"
#include "Oddments/DbCursor.h"
#include "Oddments/DbFailureCause.h"
#include "Oddments/SqliteConnection.h"
#include "Platform/FileSystemType.h"
#include "support/ChildProcess.h"
#include "support/TemporaryFolder.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace {

constexpr unsigned long kNfs = 0x6969;

// A database with one table t holding the name "saved", left as a program in write-ahead-log
// mode leaves it (the log emptied into the file, the file's header still asking for one) or
// with the rollback journal.
std::string MakeDatabase(const std::string& path, bool leftWithLog)
{
    sqlite3* db = nullptr;
    sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    if (leftWithLog)
        sqlite3_exec(db, "PRAGMA journal_mode=WAL", nullptr, nullptr, nullptr);
    sqlite3_exec(db, "CREATE TABLE t (name TEXT); INSERT INTO t VALUES ('saved')", nullptr, nullptr, nullptr);
    sqlite3_close(db);
    return path;
}

bool Exists(const std::string& path)
{
    return access(path.c_str(), F_OK) == 0;
}

// The journal the file's header asks for: 1 the rollback journal, 2 the write-ahead log.
int HeaderJournal(const std::string& path)
{
    unsigned char header[20] = {};
    FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr)
        return 0;
    const size_t read = std::fread(header, 1, sizeof header, file);
    std::fclose(file);
    return read == sizeof header && header[18] == header[19] ? header[18] : 0;
}

// The first column of the first row as text, or the failure.
std::string FirstValue(CDbConnection& connection, const std::string& sql)
{
    std::unique_ptr<CDbCursor> cursor;
    if (FAILED(connection.Query(sql, {}, cursor)) || cursor->Fetch() != S_OK)
        return "failed: " + connection.GetErrorText();
    return std::string(cursor->GetColumns()[0].GetText());
}

std::unique_ptr<CSqliteConnection> OpenForWriting(const std::string& path)
{
    std::unique_ptr<CSqliteConnection> connection;
    std::string error;
    EXPECT_EQ(CSqliteConnection::Open(path, CSqliteConnection::ReadWrite, connection, error), S_OK) << error;
    return connection;
}

// Every name in t, in its order, as a data source opened with the mode item reads them.
std::string NameThrough(const std::string& path, const std::string& mode)
{
    CDataSource source;
    const std::string init = "Provider=SQLite;Data Source=" + path + (mode.empty() ? "" : ";Mode=" + mode);
    if (FAILED(source.OpenFromInitializationString(init.c_str())))
        return "open failed: " + source.GetErrorText();
    return FirstValue(*source.GetConnection(), "SELECT group_concat(name) FROM t");
}

const char* const kModes[] = {"", "Read", "Read|Share Deny Write"};

// The file system that IsOnNetworkFileSystem reports while the object lives.
class CFileSystemTypeScope {
public:
    explicit CFileSystemTypeScope(unsigned long type)
    {
        Platform::SetFileSystemTypeForTesting([type](const std::string&) { return type; });
    }
    ~CFileSystemTypeScope() { Platform::SetFileSystemTypeForTesting(nullptr); }
};

}  // namespace

// Readers never wait for a save while writers hold the file; once the last lets go a plain copy
// of the file holds every save, also when the file came with a log from elsewhere.
TEST(SqliteJournal, LogOnlyWhileAWriterHoldsTheFile)
{
    CTemporaryFolder folder;
    for (const bool leftWithLog : {false, true}) {
        SCOPED_TRACE(leftWithLog ? "left with a log" : "rollback journal");
        const std::string path = MakeDatabase(folder.Path(leftWithLog ? "log.db" : "plain.db"), leftWithLog);
        std::unique_ptr<CSqliteConnection> first = OpenForWriting(path);
        std::unique_ptr<CSqliteConnection> second = OpenForWriting(path);
        ASSERT_TRUE(first && second);
        EXPECT_EQ(FirstValue(*first, "PRAGMA journal_mode"), "wal");
        ASSERT_EQ(first->Execute("UPDATE t SET name = 'new'", {}, nullptr), S_OK);
        EXPECT_TRUE(Exists(path + "-wal"));
        // One writer still holds the file: the log stays for it.
        first.reset();
        EXPECT_EQ(FirstValue(*second, "PRAGMA journal_mode"), "wal");
        EXPECT_EQ(FirstValue(*second, "SELECT name FROM t"), "new");
        second.reset();

        EXPECT_FALSE(Exists(path + "-wal"));
        EXPECT_FALSE(Exists(path + "-shm"));
        EXPECT_EQ(HeaderJournal(path), 1);
        const std::string copy = path + ".copy";
        std::filesystem::copy_file(path, copy);
        EXPECT_EQ(NameThrough(copy, "Read|Share Deny Write"), "new");
    }
}

// A program that only reads the file may close after the last writer: the file alone still
// holds every save, for a plain copy of it to carry them elsewhere.
TEST(SqliteJournal, FileHoldsEverySaveWhenAReaderClosesLast)
{
    CTemporaryFolder folder;
    int count = 0;
    for (const char* mode : {"Read", "Read|Share Deny Write"}) {
        SCOPED_TRACE(mode);
        const std::string path = MakeDatabase(folder.Path("read" + std::to_string(++count) + ".db"), false);
        std::unique_ptr<CSqliteConnection> writer = OpenForWriting(path);
        ASSERT_TRUE(writer);
        CDataSource reader;
        ASSERT_EQ(reader.OpenFromInitializationString(("Provider=SQLite;Data Source=" + path + ";Mode=" + mode).c_str()),
                  S_OK)
            << reader.GetErrorText();
        EXPECT_EQ(FirstValue(*reader.GetConnection(), "SELECT name FROM t"), "saved");
        ASSERT_EQ(writer->Execute("UPDATE t SET name = 'new'", {}, nullptr), S_OK);
        ASSERT_EQ(writer->Execute("INSERT INTO t VALUES ('second')", {}, nullptr), S_OK);
        writer.reset();
        // One that promised nobody writes may keep reading the file as it found it.
        if (std::string(mode) == "Read") {
            EXPECT_EQ(FirstValue(*reader.GetConnection(), "SELECT group_concat(name) FROM t"), "new,second");
        }
        reader.Close();

        // Whatever log is left beside the file holds nothing the file lacks.
        CTemporaryFolder elsewhere;
        const std::string copy = elsewhere.Path("copy.db");
        std::filesystem::copy_file(path, copy);
        for (const char* copyMode : kModes)
            EXPECT_EQ(NameThrough(copy, copyMode), "new,second") << copyMode;
    }
}

// Their clients share no memory, so the log's index cannot work there; a file that came with a
// log goes back to the rollback journal.
TEST(SqliteJournal, NetworkFileSystemKeepsTheRollbackJournal)
{
    CTemporaryFolder folder;
    const CFileSystemTypeScope nfs(kNfs);
    const std::string path = MakeDatabase(folder.Path("share.db"), true);
    std::unique_ptr<CSqliteConnection> writer = OpenForWriting(path);
    ASSERT_TRUE(writer);
    EXPECT_EQ(FirstValue(*writer, "PRAGMA journal_mode"), "delete");
    ASSERT_EQ(writer->Execute("UPDATE t SET name = 'new'", {}, nullptr), S_OK);
    EXPECT_FALSE(Exists(path + "-wal"));
    writer.reset();
    EXPECT_EQ(HeaderJournal(path), 1);
}

// Another program committed a save into its log and was killed before the log went into the
// file: every reader sees that save, the one that promises nobody writes included.
TEST(SqliteJournal, ReadersSeeTheSaveAKilledWriterLeftInItsLog)
{
    CTemporaryFolder folder;
    int count = 0;
    for (const char* mode : kModes) {
        SCOPED_TRACE(mode);
        // Each reader meets the log as the writer left it.
        const std::string path = MakeDatabase(folder.Path("killed" + std::to_string(++count) + ".db"), false);
        const int ended = RunInChild([&] {
            sqlite3* db = nullptr;
            if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK ||
                sqlite3_exec(db, "PRAGMA journal_mode=WAL; UPDATE t SET name = 'new'", nullptr, nullptr, nullptr) !=
                    SQLITE_OK)
                return 1;
            raise(SIGKILL);
            return 2;
        });
        ASSERT_EQ(ended, 128 + SIGKILL);
        ASSERT_TRUE(Exists(path + "-wal"));
        EXPECT_EQ(NameThrough(path, mode), "new");
    }
}

// A shared install or a read-only share: whoever wrote the file last and whatever journal its
// header asks for, a user who may only read opens and reads it in every mode. As root the
// permission bits stop nothing, so the reader runs as nobody; it first makes sure it really
// cannot write in the folder.
TEST(SqliteJournal, ReadOnlyFolderOpensInEveryMode)
{
    CTemporaryFolder folder;
    const std::string withLog = MakeDatabase(folder.Path("log.db"), true);
    const std::string plain = MakeDatabase(folder.Path("plain.db"), false);
    ASSERT_FALSE(Exists(withLog + "-wal"));
    ASSERT_EQ(HeaderJournal(withLog), 2);
    for (const std::string& path : {folder.Path(""), withLog, plain})
        ASSERT_TRUE(GiveToUnprivileged(path));
    const int result = RunInChild([&] {
        if (!LeaveRoot() || chmod(folder.Path("").c_str(), 0555) != 0)
            return 90;
        if (open(folder.Path("probe").c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644) >= 0)
            return 91;
        int failures = 0;
        for (const std::string& path : {withLog, plain}) {
            for (const char* mode : kModes) {
                const std::string name = NameThrough(path, mode);
                if (name != "saved") {
                    std::fprintf(stderr, "%s, mode \"%s\": %s\n", path.c_str(), mode, name.c_str());
                    ++failures;
                }
            }
        }
        chmod(folder.Path("").c_str(), 0755);
        return failures;
    });
    chmod(folder.Path("").c_str(), 0755);
    ASSERT_NE(result, 90) << "could not become an ordinary user";
    ASSERT_NE(result, 91) << "the folder did not turn read-only";
    EXPECT_EQ(result, 0) << "reads failed";
}

// The disk fills up just as the write-ahead log's index must grow: SQLite reports an I/O error,
// whose system error says that the disk is full, and so does the connection. A tmpfs of the
// child's own stands for the disk, where the system lets it mount one.
TEST(SqliteJournal, IndexThatCannotGrowOnAFullDiskIsADiskFull)
{
    CTemporaryFolder folder;
    const std::string disk = folder.Path("disk");
    ASSERT_EQ(mkdir(disk.c_str(), 0700), 0);
    const int result = RunInChild([&] {
        if (unshare(CLONE_NEWNS) != 0 || mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
            mount("tmpfs", disk.c_str(), "tmpfs", 0, "size=16m") != 0)
            return 77;
        // Small pages make many frames of little size.
        const std::string path = disk + "/full.db";
        sqlite3* db = nullptr;
        sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
        sqlite3_exec(db, "PRAGMA page_size=512; CREATE TABLE counter (n INTEGER); INSERT INTO counter VALUES (0); "
                         "CREATE TABLE big (b BLOB)",
                     nullptr, nullptr, nullptr);
        sqlite3_close(db);
        std::unique_ptr<CSqliteConnection> connection;
        std::string error;
        if (CSqliteConnection::Open(path, CSqliteConnection::ReadWrite, connection, error) != S_OK)
            return 1;
        // The log keeps every frame: its index fills its first 32 KiB block at frame 4062.
        if (connection->Execute("PRAGMA wal_autocheckpoint=0", {}, nullptr) != S_OK ||
            connection->Execute("INSERT INTO big VALUES (zeroblob(1800000))", {}, nullptr) != S_OK)
            return 2;
        const auto frames = [&] {
            struct stat info {};
            return stat((path + "-wal").c_str(), &info) == 0 ? (info.st_size - 32) / (512 + 24) : -1;
        };
        while (frames() >= 0 && frames() < 4062) {
            if (connection->Execute("UPDATE counter SET n = n + 1", {}, nullptr) != S_OK)
                return 3;
        }
        if (frames() != 4062)
            return 4;
        // Room for the next frame, not for the index's next block.
        struct statvfs space {};
        if (statvfs(disk.c_str(), &space) != 0)
            return 5;
        const long long keep = 8192;
        const long long fill = static_cast<long long>(space.f_bavail) * static_cast<long long>(space.f_bsize) - keep;
        const int filler = ::open((disk + "/filler").c_str(), O_WRONLY | O_CREAT, 0600);
        const std::string block(4096, 'x');
        for (long long written = 0; filler >= 0 && written < fill; written += static_cast<long long>(block.size())) {
            if (::write(filler, block.data(), block.size()) != static_cast<ssize_t>(block.size()))
                return 6;
        }
        ::close(filler);
        const HRESULT failed = connection->Execute("UPDATE counter SET n = n + 1", {}, nullptr);
        if (failed == STG_E_MEDIUMFULL && CDbFailureCause::Of(failed, connection->IsLost()) == CDbFailureCause::DiskFull)
            return 0;
        std::fprintf(stderr, "0x%08X %s\n", static_cast<unsigned>(failed), connection->GetErrorText().c_str());
        return 10;
    });
    if (result == 77)
        GTEST_SKIP() << "no permission to mount a tmpfs: the full disk was not tried";
    EXPECT_EQ(result, 0);
}
