#include "Oddments/DataLinkFile.h"
#include "Oddments/DataLinkSettings.h"
#include "Oddments/DataSource.h"
#include "Quillet/LogManager.h"
#include "support/LogCapture.h"
#include "support/TemporaryFolder.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>
#include <libpq-fe.h>

#include <map>

#include <sys/stat.h>

namespace {

CDataLinkSettings Sqlite(const std::string& file)
{
    CDataLinkSettings settings;
    settings.file = file;
    return settings;
}

CDataLinkSettings Postgres(const std::string& host, const std::string& port, const std::string& database,
                           const std::string& user)
{
    CDataLinkSettings settings;
    settings.provider = CDataLinkSettings::Provider::PostgreSQL;
    settings.host = host;
    settings.port = port;
    settings.database = database;
    settings.user = user;
    return settings;
}

void ExpectSame(const CDataLinkSettings& expected, const CDataLinkSettings& actual)
{
    EXPECT_EQ(actual.provider, expected.provider);
    EXPECT_EQ(actual.file, expected.file);
    EXPECT_EQ(actual.host, expected.host);
    EXPECT_EQ(actual.port, expected.port);
    EXPECT_EQ(actual.database, expected.database);
    EXPECT_EQ(actual.user, expected.user);
}

}  // namespace

TEST(DataLinkSettings, WrittenStringsReadBackAsTyped)
{
    struct Case {
        CDataLinkSettings settings;
        const char* text;
    };
    const Case cases[] = {
        {Sqlite("/data/pdb.db"), "Provider=SQLite;Data Source=/data/pdb.db"},
        {Sqlite("/data/my pdb;1.db"), "Provider=SQLite;Data Source=\"/data/my pdb;1.db\""},
        {Postgres("db.example", "5432", "pdb", "sizer"),
         "Provider=PostgreSQL;host=db.example;port=5432;dbname=pdb;user=sizer"},
        // Typed text never becomes another item of the connection.
        {Postgres("h", "", "x user=postgres", "o'neil\\"),
         "Provider=PostgreSQL;host=h;dbname='x user=postgres';user='o\\'neil\\\\'"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.settings.ToInitializationString(), c.text);
        CDataLinkSettings read;
        EXPECT_TRUE(read.FromInitializationString(c.text)) << c.text;
        ExpectSame(c.settings, read);
    }
}

TEST(DataLinkSettings, ReadsHandWrittenLinks)
{
    CDataLinkSettings read;
    EXPECT_TRUE(read.FromInitializationString("Provider=PostgreSQL;host=/tmp/sock port=5433 dbname=pdb"));
    ExpectSame(Postgres("/tmp/sock", "5433", "pdb", ""), read);
    EXPECT_FALSE(read.FromInitializationString("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=x.mdb"));
    EXPECT_FALSE(read.FromInitializationString(""));
}

// A link written back after a user changed what the dialog shows keeps everything else it said,
// except what would take it to the old server or hand the old server's password to the new one.
TEST(DataLinkSettings, WritesBackWhatTheFieldsDoNotShow)
{
    struct Case {
        const char* read;
        CDataLinkSettings::Provider provider;
        std::string CDataLinkSettings::*field;
        const char* value;
        const char* written;
    };
    using Provider = CDataLinkSettings::Provider;
    using Settings = CDataLinkSettings;
    const Case cases[] = {
        {"Provider=PostgreSQL;host=h port=5432 sslmode=require password='a b';Command Timeout=60;user=u",
         Provider::PostgreSQL, &Settings::host, "db2",
         "Provider=PostgreSQL;host=db2;port=5432;user=u;Command Timeout=60;sslmode=require"},
        {"Provider=PostgreSQL;host=h hostaddr=10.0.0.1 password=x", Provider::PostgreSQL, &Settings::port, "5433",
         "Provider=PostgreSQL;host=h;port=5433"},
        {"Provider=PostgreSQL;host=h dbname=a password=x", Provider::PostgreSQL, &Settings::database, "b",
         "Provider=PostgreSQL;host=h;dbname=b"},
        // The same server under another user keeps its password, and an unchanged one all.
        {"Provider=PostgreSQL;host=h user=a password=x", Provider::PostgreSQL, &Settings::user, "b",
         "Provider=PostgreSQL;host=h;user=b;password=x"},
        {"Provider=PostgreSQL;host=h hostaddr=10.0.0.1 password=x", Provider::PostgreSQL, &Settings::host, "h",
         "Provider=PostgreSQL;host=h;hostaddr=10.0.0.1;password=x"},
        // A service names the server only where no host is given.
        {"Provider=PostgreSQL;service=pdb sslmode=require", Provider::PostgreSQL, &Settings::host, "db2",
         "Provider=PostgreSQL;host=db2;sslmode=require"},
        {"Provider=PostgreSQL;service=pdb", Provider::PostgreSQL, &Settings::database, "other",
         "Provider=PostgreSQL;dbname=other"},
        {"Provider=PostgreSQL;host=h service=pdb", Provider::PostgreSQL, &Settings::port, "5433",
         "Provider=PostgreSQL;host=h;port=5433;service=pdb"},
        {"Provider=SQLite;Data Source=/d/p.db;Mode=Read;Persist Security Info=False", Provider::SQLite,
         &Settings::file, "/d/q.db", "Provider=SQLite;Data Source=/d/q.db;Mode=Read;Persist Security Info=False"},
        // What belongs to one provider is not handed to another.
        {"Provider=PostgreSQL;host=h;password=x;Command Timeout=5", Provider::SQLite, &Settings::file, "/d/p.db",
         "Provider=SQLite;Data Source=/d/p.db"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.read);
        CDataLinkSettings settings;
        ASSERT_TRUE(settings.FromInitializationString(c.read));
        settings.provider = c.provider;
        settings.*c.field = c.value;
        EXPECT_EQ(settings.ToInitializationString(), c.written);
    }
}

namespace {

// What libpq makes of the connection string the data source hands it for an initialisation
// string: its keywords with their values. An empty host, port, database or user means the
// default as much as none does.
std::map<std::string, std::string> DriverMeaning(const std::string& initString)
{
    const std::string driverItems = CDataLinkFile::DriverItems(CDataLinkFile::Items(initString));
    char* error = nullptr;
    PQconninfoOption* options = PQconninfoParse(driverItems.c_str(), &error);
    std::map<std::string, std::string> meaning;
    if (options == nullptr) {
        meaning["parse error"] = error != nullptr ? error : "";
        PQfreemem(error);
        return meaning;
    }
    for (const PQconninfoOption* option = options; option->keyword != nullptr; ++option) {
        const std::string keyword = option->keyword;
        const bool field = keyword == "host" || keyword == "port" || keyword == "dbname" || keyword == "user";
        if (option->val != nullptr && !(field && *option->val == '\0'))
            meaning[keyword] = option->val;
    }
    PQconninfoFree(options);
    return meaning;
}

std::string Value(const std::map<std::string, std::string>& meaning, const char* keyword)
{
    const auto found = meaning.find(keyword);
    return found != meaning.end() ? found->second : std::string();
}

}  // namespace

// Whatever a link says, the fields show what libpq takes from it, and written back it means the
// same to libpq.
TEST(DataLinkSettings, ValuesMeanToTheDriverWhatTheyMeantWhenRead)
{
    const char* const links[] = {
        "Provider=PostgreSQL;host=a\\",
        "Provider=PostgreSQL;host=a\\;port=5432",
        "Provider=PostgreSQL;host=a\\ b port=5432 dbname=\\\\x",
        "Provider=PostgreSQL;host='' port='5432' dbname=''",
        "Provider=PostgreSQL;host=h;port=",
        "Provider=PostgreSQL;sslmode= password=x",
        "Provider=PostgreSQL;user='o\\'neil' password='p;w\\\\' application_name=\"q\"",
        "Provider=PostgreSQL;password='';options='-c search_path=a,b'",
        "Provider=PostgreSQL;host = h ; dbname = 'd b'\tuser=u\v",
        "Provider=PostgreSQL;dbname=x'y host=h",
    };
    for (const char* link : links) {
        SCOPED_TRACE(link);
        const std::map<std::string, std::string> meaning = DriverMeaning(link);
        ASSERT_EQ(meaning.count("parse error"), 0u) << meaning.at("parse error");
        CDataLinkSettings settings;
        ASSERT_TRUE(settings.FromInitializationString(link));
        EXPECT_EQ(settings.host, Value(meaning, "host"));
        EXPECT_EQ(settings.port, Value(meaning, "port"));
        EXPECT_EQ(settings.database, Value(meaning, "dbname"));
        EXPECT_EQ(settings.user, Value(meaning, "user"));
        EXPECT_EQ(DriverMeaning(settings.ToInitializationString()), meaning) << settings.ToInitializationString();
    }

    // And what a user types reaches libpq as typed.
    const char* const typed[] = {"a\\", "\\", "a b", " a", "a ", "o'neil", "a\\'b", "x;y", "\"q\"", "a=b", "'",
                                 "tab\tx", "v\vx", "\xC3\xBC"};
    for (const char* value : typed) {
        SCOPED_TRACE(value);
        const CDataLinkSettings settings = Postgres(value, value, value, value);
        const std::map<std::string, std::string> meaning = DriverMeaning(settings.ToInitializationString());
        for (const char* keyword : {"host", "port", "dbname", "user"})
            EXPECT_EQ(Value(meaning, keyword), value) << keyword;
        CDataLinkSettings read;
        ASSERT_TRUE(read.FromInitializationString(settings.ToInitializationString()));
        ExpectSame(settings, read);
    }
}

// The data-link file is one line; a value with a line break would end it and start another.
TEST(DataLinkSettings, LineBreakInAValueIsRefused)
{
    CTemporaryFolder folder;
    const std::string link = folder.Path("PDB.udl");
    WriteWholeFile(link, "[oledb]\nProvider=SQLite;Data Source=/d/p.db\n");
    const CDataLinkSettings cases[] = {Postgres("db\nuser=postgres", "", "", ""), Postgres("h", "", "pdb\r", ""),
                                       Sqlite("/d/p.db\nProvider=PostgreSQL")};
    for (const CDataLinkSettings& settings : cases) {
        SCOPED_TRACE(settings.ToInitializationString());
        EXPECT_TRUE(settings.HoldsLineBreak());
        std::string error;
        EXPECT_FALSE(settings.Write(link, &error));
        EXPECT_NE(error.find("line break"), std::string::npos) << error;
        EXPECT_EQ(ReadWholeFile(link), "[oledb]\nProvider=SQLite;Data Source=/d/p.db\n");
    }
    EXPECT_FALSE(Postgres("h", "5432", "pdb", "u").HoldsLineBreak());
}

// A password in the file is for the program's users only: nobody else may read it, yet a group
// a shared install gives the file keeps its access.
TEST(DataLinkSettings, FileWithAPasswordGivesOthersNoAccess)
{
    CTemporaryFolder folder;
    CDataLinkSettings secret;
    ASSERT_TRUE(secret.FromInitializationString("Provider=PostgreSQL;host=h password=x"));
    // The loop ends before the mask is restored only by a crash.
    const mode_t umaskBefore = umask(022);
    const CDataLinkSettings open = Postgres("h", "", "", "");
    const auto modeOf = [](const std::string& path) {
        struct stat st {};
        stat(path.c_str(), &st);
        return st.st_mode & 07777;
    };
    struct Case {
        const char* name;
        const CDataLinkSettings& settings;
        int before;          // -1: no file yet
        bool sameBytes;      // the file holds what is written already
        unsigned after;
        bool logged;
    };
    const Case cases[] = {
        {"new with a password", secret, -1, false, 0600, false},
        {"new without", open, -1, false, 0644, false},
        {"readable by all", secret, 0644, false, 0640, true},
        {"writable by all, bytes unchanged", secret, 0666, true, 0660, true},
        {"the group's only", secret, 0640, false, 0640, false},
        {"without a password, readable by all", open, 0666, false, 0666, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string link = folder.Path(std::string(c.name) + ".udl");
        if (c.before >= 0) {
            WriteWholeFile(link, c.sameBytes ? "[oledb]\n" + c.settings.ToInitializationString() + "\n" : "old");
            EXPECT_EQ(chmod(link.c_str(), static_cast<mode_t>(c.before)), 0);
        }
        std::string error;
        const std::string log = LogWrittenWhile(folder.Path("link.log"), LOGLEVEL_INFO, [&] {
            EXPECT_TRUE(c.settings.Write(link, &error)) << error;
        });
        EXPECT_EQ(modeOf(link), c.after);
        EXPECT_EQ(log.find("holds a password") != std::string::npos, c.logged) << log;
        CDataLinkSettings read;
        EXPECT_TRUE(read.Read(link));
        EXPECT_EQ(read.ToInitializationString(), c.settings.ToInitializationString());
    }
    umask(umaskBefore);
}

TEST(DataLinkSettings, FileOpensAsDataSource)
{
    CTemporaryFolder folder;
    const std::string link = folder.Path("PDB.udl");
    CDataLinkSettings missing;
    EXPECT_FALSE(missing.Read(link));

    const CDataLinkSettings settings = Sqlite(folder.Path("pdb;1.db"));
    WriteWholeFile(settings.file, "");
    std::string error;
    ASSERT_TRUE(settings.Write(link, &error)) << error;
    CDataLinkSettings read;
    ASSERT_TRUE(read.Read(link));
    ExpectSame(settings, read);
    CDataSource source;
    EXPECT_EQ(source.OpenFromFileName(link.c_str()), S_OK) << source.GetErrorText();
}

// Whatever data-link file the data source opens, the settings read: UTF-16 and UTF-8 with
// byte-order marks, with the section and comment lines another program writes first.
TEST(DataLinkSettings, ReadsTheFilesTheDataSourceOpens)
{
    CTemporaryFolder folder;
    const std::string db = folder.Path("pdb.db");
    WriteWholeFile(db, "");
    const std::string body = "[oledb]\r\n; Everything after this line is an OLE DB initstring\r\n"
                             "Provider=SQLite;Data Source=" + db + ";Persist Security Info=False\r\n";
    std::string wide = "\xFF\xFE";
    for (const char c : body) {
        wide += c;
        wide += '\0';
    }
    const struct {
        const char* name;
        std::string bytes;
    } files[] = {{"plain.udl", body}, {"utf8.udl", "\xEF\xBB\xBF" + body}, {"utf16.udl", wide}};
    for (const auto& file : files) {
        SCOPED_TRACE(file.name);
        const std::string link = folder.Path(file.name);
        WriteWholeFile(link, file.bytes);
        CDataSource source;
        ASSERT_EQ(source.OpenFromFileName(link.c_str()), S_OK) << source.GetErrorText();
        CDataLinkSettings read;
        EXPECT_TRUE(read.Read(link));
        ExpectSame(Sqlite(db), read);
    }
}
