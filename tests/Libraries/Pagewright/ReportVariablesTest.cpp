#include "Pagewright/Report.h"

#include <gtest/gtest.h>

namespace {

TEST(ReportVariables, Expansion)
{
    CReport document;
    document.SetVariable("A", "x");
    document.SetVariable("X", "5");
    document.SetVariable("T.C.7", "seven");
    const struct {
        const char* text;
        const char* expanded;
    } cases[] = {
        {"Total: $$5", "Total: $5"},
        {"$A$B", "x$B"},
        {"$", ""},
        {"$ a", " a"},
        {"$UNKNOWN.", "."},
        {"It is $X.", "It is 5."},
        {"It is $X...", "It is 5..."},
        {"$T.C.7", "seven"},
        {"$T.C.7.", "seven."},
        {"($A)", "(x)"},
        {"$a", ""},  // names are case-sensitive
        {"$A_", ""},
        {"no names", "no names"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(document.ExpandVariables(c.text), c.expanded) << c.text;
    // Values are not expanded again.
    document.SetVariable("V", "$A");
    EXPECT_EQ(document.ExpandVariables("$V"), "$A");
}

TEST(ReportVariables, RowNumberedNamesRaiseTheRowCount)
{
    CReport document;
    document.SetVariable("T.C.7", "a");
    EXPECT_EQ(document.GetRowCount("T.C"), 7);
    document.SetVariable("T.C.3", "b");
    EXPECT_EQ(document.GetRowCount("T.C"), 7);
    document.SetVariable("T.C.12", "c");
    document.SetVariable("T.C.12", "");
    EXPECT_EQ(document.GetVariable("T.C.12"), "");
    EXPECT_EQ(document.GetRowCount("T.C"), 12);  // removing a value keeps the count
    document.SetVariable("T.D.0", "x");
    document.SetVariable(".5", "x");
    document.SetVariable("C.2", "x");
    EXPECT_EQ(document.GetRowCount("T.D"), 0);
    EXPECT_EQ(document.GetRowCount(""), 0);
    EXPECT_EQ(document.GetRowCount("C"), 2);
    EXPECT_EQ(document.GetVariable(".5"), "x");
    document.SetVariable("", "ignored");
    EXPECT_EQ(document.GetVariable(""), "");
}

}  // namespace
