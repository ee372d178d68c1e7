#include "Oddments/DataLinkSettings.h"
#include "Oddments/DataSource.h"
#include "support/TemporaryFolder.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

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

// A link written back after a user changed what the dialog shows keeps everything else it said.
TEST(DataLinkSettings, WritesBackWhatTheFieldsDoNotShow)
{
    struct Case {
        const char* read;
        CDataLinkSettings::Provider provider;
        const char* place;  // the new file or host
        const char* written;
    };
    using Provider = CDataLinkSettings::Provider;
    const Case cases[] = {
        {"Provider=PostgreSQL;host=h port=5432 sslmode=require password='a b';Command Timeout=60;user=u",
         Provider::PostgreSQL, "db2",
         "Provider=PostgreSQL;host=db2;port=5432;user=u;Command Timeout=60;sslmode=require;password='a b'"},
        {"Provider=SQLite;Data Source=/d/p.db;Mode=Read;Persist Security Info=False", Provider::SQLite, "/d/q.db",
         "Provider=SQLite;Data Source=/d/q.db;Mode=Read;Persist Security Info=False"},
        // What belongs to one provider is not handed to another.
        {"Provider=PostgreSQL;host=h;password=x;Command Timeout=5", Provider::SQLite, "/d/p.db",
         "Provider=SQLite;Data Source=/d/p.db"},
    };
    for (const Case& c : cases) {
        CDataLinkSettings settings;
        ASSERT_TRUE(settings.FromInitializationString(c.read)) << c.read;
        settings.provider = c.provider;
        (c.provider == Provider::SQLite ? settings.file : settings.host) = c.place;
        EXPECT_EQ(settings.ToInitializationString(), c.written);
    }
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
