// Case and blanks of machine text by the ASCII rules, whatever the process locale: under a
// Turkish one the C library keeps the I of "INTERVAL" upper case.
#include "Platform/AsciiText.h"
#include "support/LocaleScope.h"

#include <gtest/gtest.h>

namespace {

TEST(AsciiText, CaseFollowsTheAsciiRulesUnderATurkishLocale)
{
    CLocaleScope turkish("tr_TR.UTF-8");
    ASSERT_TRUE(turkish.IsSet());
    EXPECT_EQ(Platform::AsciiLowerText("INTERVAL|3|06:00"), "interval|3|06:00");
    // Bytes outside ASCII (here the UTF-8 of "İ") stay as they are.
    EXPECT_EQ(Platform::AsciiLowerText("\xC4\xB0Z"), "\xC4\xB0z");
    EXPECT_EQ(Platform::AsciiLowerText(""), "");
    EXPECT_TRUE(Platform::EqualsNoCase("integer", "INTEGER"));
    EXPECT_FALSE(Platform::EqualsNoCase("integer", "INTEGERS"));
    EXPECT_EQ(Platform::TrimAsciiBlanks(" \t\r\n\f\vDATE \n"), "DATE");
}

}  // namespace
