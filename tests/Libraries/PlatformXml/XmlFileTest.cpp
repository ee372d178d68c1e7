#include "Platform/XmlFile.h"

#include "Platform/AtomicFile.h"
#include "XmlTestSupport.h"
#include "support/TemporaryFolder.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <unistd.h>

namespace {

const std::string kBom = "\xEF\xBB\xBF";

class XmlFileTest : public ::testing::Test
{
protected:
    void TearDown() override { CAtomicFile::SetHookForTesting(nullptr); }

    // Loads bytes written to a file; on failure returns the message.
    std::string LoadBytes(const std::string& bytes, TiXmlDocument& doc, const std::string& name = "doc.xml")
    {
        WriteWholeFile(folder.Path(name), bytes);
        std::string error;
        const bool loaded = CXmlFile::Load(doc, folder.Path(name), &error);
        EXPECT_EQ(loaded, error.empty()) << error;
        return error;
    }

    static std::string Text(const TiXmlDocument& doc, const char* element)
    {
        const TiXmlElement* found = doc.RootElement() ? doc.RootElement()->FirstChildElement(element) : nullptr;
        return found && found->GetText() ? found->GetText() : "";
    }

    CTemporaryFolder folder;
};

TEST_F(XmlFileTest, NestingIsAcceptedUpToTheLimit)
{
    for (const int levels : {100, 1000, CXmlFile::kMaxDepth}) {
        TiXmlDocument doc;
        EXPECT_EQ(LoadBytes(Nested(levels), doc), "") << levels;
        EXPECT_EQ(TreeDepth(doc), levels);
    }
}

TEST_F(XmlFileTest, DeeperNestingIsRefusedWithoutCrash)
{
    for (const int levels : {CXmlFile::kMaxDepth + 1, 200000}) {
        TiXmlDocument doc;
        const std::string error = LoadBytes("<?xml version=\"1.0\"?>\n" + Nested(levels), doc);
        EXPECT_EQ(error, "The file '" + folder.Path("doc.xml") + "' is nested too deeply (more than " +
                             std::to_string(CXmlFile::kMaxDepth) + " levels, at line 2).");
        EXPECT_EQ(doc.FirstChild(), nullptr);
    }
}

TEST_F(XmlFileTest, ElementsWithTooManyAttributesAreRefused)
{
    const auto document = [](int attributes) {
        std::string text = "<units>\n<unit";
        for (int i = 0; i < attributes; ++i)
            text += " a" + std::to_string(i) + "=\"1\"";
        return text + "/>\n</units>";
    };
    TiXmlDocument doc;
    EXPECT_EQ(LoadBytes(document(CXmlFile::kMaxAttributes), doc), "");
    EXPECT_EQ(LoadBytes(document(CXmlFile::kMaxAttributes + 1), doc),
              "The file '" + folder.Path("doc.xml") + "' has an element with more than " +
                  std::to_string(CXmlFile::kMaxAttributes) + " attributes (at line 2).");
    EXPECT_EQ(doc.FirstChild(), nullptr);
}

TEST_F(XmlFileTest, Windows1252IsReadAsUtf8)
{
    TiXmlDocument doc;
    EXPECT_EQ(LoadBytes("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n"
                        "<unit name=\"Gr\xF6\xDF" "e\"><symbol>\xB0" "C</symbol><price>5 \x80</price></unit>",
                        doc),
              "");
    EXPECT_STREQ(doc.RootElement()->Attribute("name"), "Gr\xC3\xB6\xC3\x9F" "e");
    EXPECT_EQ(Text(doc, "symbol"), "\xC2\xB0" "C");
    EXPECT_EQ(Text(doc, "price"), "5 \xE2\x82\xAC");
    // The document is UTF-8 now, and says so when saved.
    EXPECT_EQ(CXmlFile::ToText(doc).substr(0, 39), "<?xml version=\"1.0\" encoding=\"UTF-8\" ?>");
}

TEST_F(XmlFileTest, Utf8WithAndWithoutByteOrderMark)
{
    const std::string body = "<unit name=\"Gr\xC3\xB6\xC3\x9F" "e\">\xC2\xB0" "C</unit>";
    for (const std::string& mark : {std::string(), kBom}) {
        TiXmlDocument doc;
        EXPECT_EQ(LoadBytes(mark + body, doc), "");
        EXPECT_STREQ(doc.RootElement()->Attribute("name"), "Gr\xC3\xB6\xC3\x9F" "e");
        EXPECT_STREQ(doc.RootElement()->GetText(), "\xC2\xB0" "C");
        // TinyXML writes the mark back only where the file had one.
        EXPECT_EQ(CXmlFile::ToText(doc), mark + body + "\n");
    }
    // A document read after one with a mark does not inherit it.
    TiXmlDocument doc;
    LoadBytes(kBom + body, doc);
    LoadBytes(body, doc);
    EXPECT_EQ(CXmlFile::ToText(doc), body + "\n");
}

TEST_F(XmlFileTest, ParseErrorsGiveLineAndColumn)
{
    const std::string path = folder.Path("doc.xml");
    const struct
    {
        const char* what;
        std::string bytes;
        std::string message;
    } cases[] = {
        {"truncated", "<a>\n  <b>\n    <c/>\n  </b",
         "is not well-formed XML. Line 4, column 6: Error reading end tag."},
        {"truncated in an element", "<a>\n  <b>\n    <c/>\n",
         "is not well-formed XML. Line 4, column 1: Error reading end tag."},
        {"duplicate attribute", "<a>\n  <b x='1' x='2'/>\n</a>",
         "is not well-formed XML. Line 2, column 12: Error parsing Element."},
        {"columns count characters", "<a>\n\xC3\xA4\xC3\xB6<b\n x='1' y/>\n</a>",
         "is not well-formed XML. Line 3, column 9: Error reading Attributes."},
        {"Windows-1252 columns", "<a>\n\xE4\xF6<b\n x='1' y/>\n</a>",
         "is not well-formed XML. Line 3, column 9: Error reading Attributes."},
        {"empty", "", "holds no XML document."},
        {"blank", " \n\t", "holds no XML document."},
        {"zero byte", std::string("<a>\n x\0y</a>", 11),
         "is not a text file: it holds a zero byte at line 2, column 3."},
        // Named, rather than reported as a zero byte.
        {"UTF-16LE with mark", std::string("\xFF\xFE<\0a\0/\0>\0", 10),
         "is in UTF-16LE, which is not read: it must be saved as UTF-8."},
        {"UTF-16BE without mark", std::string("\0<\0a\0/\0>", 8),
         "is in UTF-16BE, which is not read: it must be saved as UTF-8."},
        {"UTF-32LE with mark", std::string("\xFF\xFE\0\0<\0\0\0", 8),
         "is in UTF-32LE, which is not read: it must be saved as UTF-8."},
        {"UTF-32BE without mark", std::string("\0\0\0<\0\0\0a", 8),
         "is in UTF-32BE, which is not read: it must be saved as UTF-8."},
    };
    for (const auto& c : cases) {
        TiXmlDocument doc;
        EXPECT_EQ(LoadBytes(c.bytes, doc), "The file '" + path + "' " + c.message) << c.what;
        EXPECT_EQ(doc.FirstChild(), nullptr) << c.what;
    }
}

TEST_F(XmlFileTest, FilesThatCannotBeRead)
{
    TiXmlDocument doc;
    std::string error;
    const std::string missing = folder.Path("missing.xml");
    EXPECT_FALSE(CXmlFile::Load(doc, missing, &error));
    EXPECT_EQ(error, "The file '" + missing + "' cannot be opened: " + std::strerror(ENOENT) + ".");

    EXPECT_FALSE(CXmlFile::Load(doc, folder.Path(""), &error));
    EXPECT_EQ(error, "The file '" + folder.Path("") + "' cannot be read: it is not a regular file.");

    // Refused by its size before a byte is read (the file is sparse).
    const std::string large = folder.Path("large.xml");
    WriteWholeFile(large, "<a/>");
    ASSERT_EQ(truncate(large.c_str(), CXmlFile::kMaxSize + 1), 0);
    EXPECT_FALSE(CXmlFile::Load(doc, large, &error));
    EXPECT_EQ(error, "The file '" + large + "' is too large (16777217 bytes; at most 16 MiB are read).");

    EXPECT_FALSE(CXmlFile::LoadText(doc, std::string(CXmlFile::kMaxSize + 1, ' '), "list.xml", &error));
    EXPECT_EQ(error, "The file 'list.xml' is too large (16777217 bytes; at most 16 MiB are read).");
}

TEST_F(XmlFileTest, LoadTextNamesTheDocument)
{
    TiXmlDocument doc;
    std::string error;
    ASSERT_TRUE(CXmlFile::LoadText(doc, "<translator><en/></translator>", "InternalResource.xml", &error));
    EXPECT_STREQ(doc.Value(), "InternalResource.xml");
    EXPECT_STREQ(doc.RootElement()->Value(), "translator");

    EXPECT_FALSE(CXmlFile::LoadText(doc, "<translator>", "InternalResource.xml", &error));
    EXPECT_EQ(error, "The file 'InternalResource.xml' is not well-formed XML. Line 1, column 13: "
                     "Error reading Element value.");
    EXPECT_FALSE(CXmlFile::LoadText(doc, "<a>", "x.xml", nullptr));  // message not wanted
}

TEST_F(XmlFileTest, SavePrintsAsTinyXmlAndReadsBack)
{
    TiXmlDocument doc;
    doc.LinkEndChild(new TiXmlDeclaration("1.0", "UTF-8", ""));
    auto* root = new TiXmlElement("TAMBEL");
    doc.LinkEndChild(root);
    auto* data = new TiXmlElement("PhysicalData");
    data->SetAttribute("Name", "Gr\xC3\xB6\xC3\x9F" "e \"<&>\"");
    data->LinkEndChild(new TiXmlText("\xC2\xB0" "C"));
    root->LinkEndChild(data);
    root->LinkEndChild(new TiXmlElement("CustomerData"));

    const std::string path = folder.Path("project.xml");
    std::string error;
    ASSERT_TRUE(CXmlFile::Save(doc, path, &error)) << error;

    const std::string tinyXml = folder.Path("tinyxml.xml");
    ASSERT_TRUE(doc.SaveFile(tinyXml));
    EXPECT_EQ(ReadWholeFile(path), ReadWholeFile(tinyXml));
    EXPECT_EQ(ReadWholeFile(path), CXmlFile::ToText(doc));

    TiXmlDocument back;
    ASSERT_TRUE(CXmlFile::Load(back, path, &error)) << error;
    EXPECT_EQ(CXmlFile::ToText(back), CXmlFile::ToText(doc));
}

TEST_F(XmlFileTest, FailedSaveLeavesOldFile)
{
    const std::string path = folder.Path("project.xml");
    const std::string old = "<old/>\n";
    WriteWholeFile(path, old);
    TiXmlDocument doc;
    doc.LinkEndChild(new TiXmlElement("new"));

    CAtomicFile::SetHookForTesting([](CAtomicFile::Step step) { return step == CAtomicFile::Step::Write ? ENOSPC : 0; });
    std::string error;
    EXPECT_FALSE(CXmlFile::Save(doc, path, &error));
    EXPECT_NE(error.find(path), std::string::npos) << error;
    EXPECT_EQ(ReadWholeFile(path), old);
    CAtomicFile::SetHookForTesting(nullptr);

    // Text that is not UTF-8 would read back as something else; it is not written.
    doc.RootElement()->SetAttribute("name", "Gr\xF6\xDF" "e");
    EXPECT_FALSE(CXmlFile::Save(doc, path, &error));
    EXPECT_EQ(error, "The file '" + path + "' was not saved: the document holds text that is not valid UTF-8.");
    EXPECT_EQ(ReadWholeFile(path), old);
}

TEST_F(XmlFileTest, SizeLimitHoldsForTheTextAsUtf8)
{
    // Under the limit as a file, three times larger once each euro sign is UTF-8.
    const std::string euros = "<a>" + std::string(CXmlFile::kMaxSize / 3 + 1, '\x80') + "</a>";
    ASSERT_LT(euros.size(), CXmlFile::kMaxSize);
    TiXmlDocument doc;
    std::string error;
    EXPECT_FALSE(CXmlFile::LoadText(doc, euros, "euros.xml", &error));
    EXPECT_EQ(error, "The file 'euros.xml' is too large (" + std::to_string(3 * (CXmlFile::kMaxSize / 3 + 1) + 7) +
                         " bytes as UTF-8; at most 16 MiB are read).");
}

TEST_F(XmlFileTest, WhatTheLoaderRefusesIsNotSaved)
{
    const std::string path = folder.Path("Zephrin.cfg");
    const std::string old = "<old/>\n";
    struct Case {
        const char* what;
        void (*build)(TiXmlDocument& doc);
        std::string message;
    };
    const Case cases[] = {
        {"too large",
         [](TiXmlDocument& doc) {
             // <a text="..." />, a line break and the text.
             TiXmlElement* root = new TiXmlElement("a");
             root->SetAttribute("text", std::string(CXmlFile::kMaxSize, 'x'));
             doc.LinkEndChild(root);
         },
         "is too large (" + std::to_string(CXmlFile::kMaxSize + 14) + " bytes as UTF-8; at most 16 MiB are read)."},
        {"too deep",
         [](TiXmlDocument& doc) {
             TiXmlNode* node = &doc;
             for (int i = 0; i <= CXmlFile::kMaxDepth; ++i)
                 node = node->LinkEndChild(new TiXmlElement("d"));
         },
         "is nested too deeply (more than " + std::to_string(CXmlFile::kMaxDepth) + " levels, at line " +
             std::to_string(CXmlFile::kMaxDepth + 1) + ")."},
    };
    for (const Case& c : cases) {
        WriteWholeFile(path, old);
        TiXmlDocument doc;
        c.build(doc);
        std::string error;
        EXPECT_FALSE(CXmlFile::Save(doc, path, &error)) << c.what;
        EXPECT_EQ(error, "The file '" + path + "' was not saved: it " + c.message) << c.what;
        EXPECT_EQ(ReadWholeFile(path), old) << c.what;
    }
}

}  // namespace
