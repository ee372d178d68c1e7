#include "HarbinaxCore/ReportWriter.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdarg>
#include <cstdio>
#include <string>
#include <unistd.h>

namespace {

// Collects what a writer hands to its descriptor.
class WrittenText {
public:
    WrittenText() : m_file(std::tmpfile()) {}
    ~WrittenText() { std::fclose(m_file); }
    int Fd() const { return fileno(m_file); }
    std::string Read() const
    {
        std::string text;
        char buffer[4096];
        ssize_t got;
        off_t offset = 0;
        while ((got = pread(Fd(), buffer, sizeof(buffer), offset)) > 0) {
            text.append(buffer, static_cast<std::size_t>(got));
            offset += got;
        }
        return text;
    }

private:
    std::FILE* m_file;
};

#define EXPECT_FORMATS(expected, ...)                                                                        \
    do {                                                                                                     \
        WrittenText out;                                                                                     \
        CReportWriter writer;                                                                                \
        writer.SetTarget(out.Fd());                                                                          \
        writer.Printf(__VA_ARGS__);                                                                          \
        ASSERT_TRUE(writer.Flush());                                                                         \
        EXPECT_EQ(expected, out.Read()) << #__VA_ARGS__;                                                     \
        char reference[256];                                                                                 \
        std::snprintf(reference, sizeof(reference), __VA_ARGS__);                                            \
        EXPECT_EQ(expected, std::string(reference)) << "printf disagrees: " #__VA_ARGS__;                    \
    } while (false)

TEST(ReportWriter, FormatsLikePrintf)
{
    EXPECT_FORMATS("0x00000000", "0x%08x", 0u);
    EXPECT_FORMATS("0xc0000005", "0x%08x", 0xC0000005u);
    EXPECT_FORMATS("0x00007ffd12345678", "0x%016llx", 0x7ffd12345678ULL);
    EXPECT_FORMATS("7ffd12345678", "%08llx", 0x7ffd12345678ULL);
    EXPECT_FORMATS("0033:", "%04x:", 0x33u);
    EXPECT_FORMATS("ABCDEF", "%X", 0xABCDEFu);
    EXPECT_FORMATS("-2147483648", "%d", INT_MIN);
    EXPECT_FORMATS("-9223372036854775808", "%lld", LLONG_MIN);
    EXPECT_FORMATS("18446744073709551615", "%llu", ULLONG_MAX);
    EXPECT_FORMATS("-0042", "%05d", -42);
    EXPECT_FORMATS("42        |", "%-10lld|", 42LL);
    EXPECT_FORMATS("      1234", "%10zu", static_cast<std::size_t>(1234));
    EXPECT_FORMATS("   ab|ab   |", "%5s|%-5s|", "ab", "ab");
    EXPECT_FORMATS("07/04/2031 09:05:08", "%02d/%02d/%d %02d:%02d:%02d", 7, 4, 2031, 9, 5, 8);
    EXPECT_FORMATS("x.y 100%", "%c%c%c 100%%", 'x', '.', 'y');
}

// Without a format attribute, so directives printf does not know get through the compiler.
void UncheckedPrintf(CReportWriter& writer, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    writer.VPrintf(format, args);
    va_end(args);
}

TEST(ReportWriter, CopiesUnknownDirectivesAndNullTexts)
{
    WrittenText out;
    CReportWriter writer;
    writer.SetTarget(out.Fd());
    UncheckedPrintf(writer, "%q and %s, 50%", static_cast<const char*>(nullptr));
    writer.Flush();
    EXPECT_EQ("%q and (null), 50%", out.Read());
}

TEST(ReportWriter, WritesTextLongerThanItsBufferInFull)
{
    WrittenText out;
    CReportWriter writer;
    writer.SetTarget(out.Fd());
    std::string expected;
    for (int i = 0; i < 3000; ++i) {
        writer.Printf("%04d|", i);
        char piece[8];
        std::snprintf(piece, sizeof(piece), "%04d|", i);
        expected += piece;
    }
    ASSERT_GT(expected.size(), CReportWriter::BufferSize);
    EXPECT_TRUE(writer.Flush());
    EXPECT_EQ(expected, out.Read());
}

TEST(ReportWriter, ReportsAFailedWrite)
{
    int pipeFds[2];
    ASSERT_EQ(0, pipe(pipeFds));
    close(pipeFds[1]);
    CReportWriter writer;
    writer.SetTarget(pipeFds[0]);  // the read end refuses writes
    writer.Printf("lost");
    EXPECT_FALSE(writer.Flush());
    close(pipeFds[0]);
}

}  // namespace
