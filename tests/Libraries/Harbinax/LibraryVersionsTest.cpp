#include "Harbinax/LibraryVersions.h"
#include "HarbinaxTestSupport.h"
#include "Quillet/LogManager.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);)
        lines.push_back(line);
    return lines;
}

TEST(LibraryVersions, OneLinePerLibraryInOrder)
{
    CTemporaryFolder folder;
    const std::string logFile = folder.Path("test.log");
    CLogManager* manager = CLogManager::GetInstance();
    ASSERT_TRUE(manager->Open(logFile.c_str(), LOGLEVEL_DEBUG));
    manager->SetFormat("$LOGGER|$LEVEL|$MESSAGE");
    cvLogLibraryVersions("CTAMBELApp", LOGLEVEL_DEBUG);
    cvLogLibraryVersions("", LOGLEVEL_INFO);
    cvLogLibraryVersions("CRenovixApp", LOGLEVEL_TRACE);  // below the default level
    manager->Close();

    const char* libraries[] = {
        "RenovixLib:\tRevision: 213\tDate:2008/03/22 09:49:49",
        "Glyphora:\tRevision: 197\tDate:2007/01/08 15:17:03",
        "cvLib:  \tRevision: 205\tDate:2007/05/03 17:48:06",
        "Dostrel:\tRevision: 47\tDate:2005/04/01 09:14:05",
        "Pagewright:\tRevision: 208\tDate:2007/08/31 12:24:33",
        "Stretchkit:\tRevision: 187\tDate:2006/10/16 22:10:31",
        "Oddments:\tRevision: 207\tDate:2007/07/24 16:08:55",
        "TinyXml:\tRevision: 56\tDate:2005/08/15 10:49:09",
        "Quillet:\tRevision: 167\tDate:2006/07/18 12:00:55",
        "Polyglotta:\tRevision: 210\tDate:2008/03/01 11:06:20",
        "Harbinax:\tRevision: 210\tDate:2008/03/01 11:06:20",
    };
    std::vector<std::string> expected;
    for (const char* library : libraries)
        expected.push_back(std::string("CTAMBELApp|debug|") + library);
    for (const char* library : libraries)
        expected.push_back(std::string("cvVersionInfo|info|") + library);

    std::vector<std::string> lines;
    for (const std::string& line : Lines(ReadWholeFile(logFile))) {
        if (line.find("Revision") != std::string::npos)
            lines.push_back(line);
    }
    EXPECT_EQ(expected, lines);
}

}  // namespace
