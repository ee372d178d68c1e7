#include "Pagewright/DisplayCondition.h"
#include "Pagewright/Report.h"
#include "Pagewright/ReportText.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

struct SCase {
    const char* condition;
    std::vector<std::pair<const char*, const char*>> variables;
    bool visible;
};

TEST(DisplayCondition, Cases)
{
    const SCase cases[] = {
        {"", {}, true},
        {"WARNING", {{"WARNING", "x"}}, true},
        {"WARNING", {}, false},
        {"!WARNING", {{"WARNING", "x"}}, false},
        {"!WARNING", {}, true},
        {"COUNT>=10", {{"COUNT", "9.5"}}, false},
        {"COUNT>=10", {{"COUNT", "abc"}}, true},  // as text "abc" >= "10"
        {"COUNT>=10", {{"COUNT", "10"}}, true},
        {"COUNT==0", {}, true},  // unset is the number 0
        {"X==1 OR Y==1 AND Z==1", {{"X", "1"}, {"Y", "0"}, {"Z", "0"}}, false},  // left to right
        {"X==1 AND Y==1 OR Z==1", {{"X", "0"}, {"Z", "1"}}, true},
        {"SIZE<50", {{"SIZE", "25"}}, true},
        {"SIZE<50", {{"SIZE", "50"}}, false},
        {"SIZE<=50", {{"SIZE", "50"}}, true},
        {"SIZE>50", {{"SIZE", "50.5"}}, true},
        {"SIZE!=50", {{"SIZE", "50.0"}}, false},  // numerically equal
        {"X== 1", {{"X", "1"}}, false},           // " 1" is no number: text compare
        {"X== 1", {{"X", " 1"}}, true},
        {"X==", {{"X", "a"}}, true},
        {"X==", {}, false},
        {"==5", {{"==5", "y"}}, true},  // an operator at the start belongs to the name
        {"==5", {}, false},
        {"X=5", {{"X", "5"}}, false},  // a single '=' is part of the name
        {"a and b", {{"a and b", "1"}}, true},  // only upper-case separators with blanks
    };
    for (const SCase& c : cases) {
        CReport document;
        for (const auto& [name, value] : c.variables)
            document.SetVariable(name, value);
        EXPECT_EQ(CDisplayCondition::Evaluate(c.condition, &document), c.visible) << "'" << c.condition << "'";
    }
}

TEST(DisplayCondition, ElementsAskTheirPagesDocument)
{
    CReport document;
    CReportPage page(&document);
    CReportText text;
    text.displaycondition = "SHOW";
    EXPECT_TRUE(text.IsVisible());  // no page: every term holds
    text.SetOwner(&page);
    EXPECT_FALSE(text.IsVisible());
    document.SetVariable("SHOW", "1");
    EXPECT_TRUE(text.IsVisible());
    EXPECT_FALSE(text.EvaluateCondition("!SHOW"));
}

}  // namespace
