#include "Platform/XmlPreScan.h"

#include "XmlTestSupport.h"

#include <gtest/gtest.h>

namespace {

int TinyXmlDepth(const std::string& text)
{
    TiXmlDocument doc;
    doc.Parse(text.c_str(), nullptr, TIXML_ENCODING_UTF8);
    return TreeDepth(doc);  // what the parser built, up to where it gave up
}

// The scan must find the nesting TinyXML's parser really reaches: markup inside comments,
// CDATA, declarations, processing instructions and attribute values does not count, and
// no element the parser opens is missed, even where its reading is unusual.
TEST(XmlPreScanTest, FindsTheDepthTinyXmlReaches)
{
    const struct
    {
        const char* what;
        std::string text;
        int depth;
    } cases[] = {
        {"empty", "", 0},
        {"root only", "<a/>", 1},
        {"siblings", "<a><b/><c><d/></c><e></e></a>", 3},
        {"blanks in end tags", "<a><b></b ></a >", 2},
        {"comment", "<a><!-- <b><c><d> --></a>", 1},
        {"comment opener is not its closer", "<a><!--><b>--><c/></a>", 2},
        {"CDATA", "<a><![CDATA[<b><c><d>]]></a>", 1},
        {"CDATA at top level", "<![CDATA[<b><c>]]><a/>", 1},
        {"processing instruction", "<a><?target <b <c ?><d/></a>", 2},
        {"instruction ends at the first '>'", "<a><?pi x=\"<b>\"?><c/></a>", 2},
        {"declaration with quoted markup", "<?xml version=\"1.0\" encoding=\"<a><a>\"?><r/>", 1},
        {"declaration hiding a comment opener", "<?xml version=\"><!--\"?><a><b/></a><!-- -->", 2},
        {"declaration, unknown attribute", "<?xml foo=\"a>b\"?><a><b/></a>", 0},
        {"doctype", "<!DOCTYPE a><a><b/></a>", 2},
        {"attribute values", "<a x=\"<b>\" y='<c><d>'><e/></a>", 2},
        {"'>' in an attribute value", "<a x=\"1>2\"><b/></a>", 2},
        {"other quote inside a value", "<a x='\"<b>' y=\"'<c>\"><d/></a>", 2},
        {"bare attribute value", "<a x=1><b/></a>", 2},
        {"entity swallowing a comment opener", "<r>&#x<!--x41;<a><b/></a><!-- --></r>", 3},
        {"entity swallowing a quote", "<r a=\"&#x\"x41;\"><a><b/></a></r>", 3},
        {"decimal entity swallowing a quote", "<r a=\"&#\"#65;\"><a><b/></a></r>", 3},
        {"named entities", "<a x=\"&quot;&lt;b&gt;\">&lt;c&gt;<d/></a>", 2},
        {"byte order marks as blanks", "\xEF\xBB\xBF<a \xEF\xBB\xBF><b/></a>", 2},
        {"parser stops at top-level text", "<a/>text<b><c><d/></c></b>", 1},
        {"parser stops at a bad attribute", "<a x=\"1\" y><b><c/></b></a>", 1},
        {"parser stops at an unclosed value", "<a><b x=\"<c><d><e>", 2},
        {"parser stops at a bad entity", "<a>&#x12<b><c/></b></a>", 1},
        {"parser stops at a wrong end tag", "<t></><n><b/></n>", 1},
        {"parser stops at a longer end tag", "<a><b></bc><c><d/></c></a>", 2},
        {"parser stops at a repeated attribute", "<a x=a x=1><b><c/></b></a>", 1},
        {"end tag at top level", "</x><a><b/></a>", 2},
        {"non-ASCII names", "<Gr\xC3\xB6\xC3\x9F" "e><\xC3\xA4/></Gr\xC3\xB6\xC3\x9F" "e>", 2},
        {"nested 100", Nested(100), 100},
        {"nested 1000", Nested(1000), 1000},
    };
    for (const auto& c : cases) {
        const CXmlPreScan::Result result = CXmlPreScan::Scan(c.text, 5000, 5000);
        EXPECT_EQ(result.depth, c.depth) << c.what;
        EXPECT_EQ(result.depth, TinyXmlDepth(c.text)) << c.what;
        EXPECT_FALSE(result.overLimit) << c.what;
    }
}

TEST(XmlPreScanTest, StopsPastTheDepthLimit)
{
    const std::string text = Nested(200000);
    const CXmlPreScan::Result result = CXmlPreScan::Scan(text, 2000, 10);
    EXPECT_TRUE(result.overLimit);
    EXPECT_EQ(result.depth, 2001);
    EXPECT_EQ(result.offset, 2000u * 3);  // the start tag of level 2001

    EXPECT_FALSE(CXmlPreScan::Scan(Nested(2000), 2000, 10).overLimit);
    // Many levels inside a comment are no nesting.
    EXPECT_FALSE(CXmlPreScan::Scan("<a><!--" + Nested(5000) + "--></a>", 2000, 10).overLimit);
}

TEST(XmlPreScanTest, CountsAttributesPerElement)
{
    const auto element = [](int attributes) {
        std::string text = "<e";
        for (int i = 0; i < attributes; ++i)
            text += " a" + std::to_string(i) + "='1'";
        return text + "/>";
    };
    CXmlPreScan::Result result = CXmlPreScan::Scan("<r>" + element(3) + element(10) + element(2) + "</r>", 100, 10);
    EXPECT_EQ(result.attributes, 10);
    EXPECT_FALSE(result.overLimit);

    const std::string tooMany = "<r>\n" + element(2) + "\n" + element(11) + "</r>";
    result = CXmlPreScan::Scan(tooMany, 100, 10);
    EXPECT_TRUE(result.overLimit);
    EXPECT_EQ(result.offset, tooMany.find("<e", 5));
    // Attributes of the declaration and text that only looks like attributes do not count.
    EXPECT_FALSE(CXmlPreScan::Scan("<?xml version='1' encoding='UTF-8' standalone='yes' a='1'?><r><!--" +
                                       element(20) + "--></r>",
                                   100, 2)
                     .overLimit);
}

}  // namespace
