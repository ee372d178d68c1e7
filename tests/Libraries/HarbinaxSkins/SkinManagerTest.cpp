#include "Harbinax/Skin.h"
#include "Harbinax/SkinFrame.h"
#include "Harbinax/SkinManager.h"
#include "Quillet/LogManager.h"
#include "SkinTestSupport.h"
#include "../HarbinaxCore/SkinTestBitmaps.h"
#include "support/TemporaryFolder.h"
#include "support/TestFiles.h"
#include "support/WxTestSupport.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <functional>

namespace {

CSkinManager& Skins()
{
    return *CSkinManager::GetInstance();
}

// Each test has its own folder with a copy of the skin, and leaves no skin and no skinned
// window behind.
class SkinManager : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_xml = ReadWholeFile(SkinDataFile("Frame.xml"));
        m_bmp = ReadWholeFile(SkinDataFile("Frame.bmp"));
        ASSERT_FALSE(m_xml.empty());
        ASSERT_FALSE(m_bmp.empty());
    }
    void TearDown() override
    {
        Skins().RemoveAllSkins();
        Skins().RemoveSkin(std::string());
    }

    // The skin's XML with one text replaced, and its bitmap, in a sub-folder of their own.
    std::string Write(const std::string& folder, const std::string& xml, const std::string& bmp)
    {
        const std::string path = m_folder.Path(folder);
        mkdir(path.c_str(), 0700);
        WriteWholeFile(path + "/Frame.xml", xml);
        if (!bmp.empty())
            WriteWholeFile(path + "/Frame.bmp", bmp);
        return path + "/Frame.xml";
    }
    std::string Good(const std::string& folder = "good") { return Write(folder, m_xml, m_bmp); }
    std::string Replaced(const std::string& folder, const std::string& from, const std::string& to)
    {
        std::string xml = m_xml;
        const std::size_t at = xml.find(from);
        EXPECT_NE(std::string::npos, at) << from;
        if (at != std::string::npos)
            xml.replace(at, from.size(), to);
        return Write(folder, xml, m_bmp);
    }

    UniqueWindow<CSkinFrame> Frame(const wxSize& size = wxSize(300, 200))
    {
        return UniqueWindow<CSkinFrame>(new CSkinFrame(nullptr, wxID_ANY, "Skinned", wxDefaultPosition, size));
    }

    CTemporaryFolder m_folder;
    std::string m_xml;
    std::string m_bmp;
};

TEST_F(SkinManager, LoadsAFileWithItsBitmapBesideIt)
{
    ASSERT_TRUE(Skins().LoadSkinFile("Blue", Good()));
    const CSkin* skin = Skins().FindSkin("Blue");
    ASSERT_NE(nullptr, skin);
    EXPECT_TRUE(skin->HasBitmap());
    EXPECT_EQ(wxSize(200, 56), skin->Bitmap().GetSize());
    EXPECT_EQ(0xFFFFFFu, skin->Definition().activeCaption);
    EXPECT_TRUE(skin->CaptionFont().GetWeight() >= wxFONTWEIGHT_BOLD);
    EXPECT_EQ(13, skin->CaptionFont().GetPixelSize().y);

    // The rounded corner's magenta pixels are no part of the window; the rest of the piece is.
    const wxRegion& topLeft = skin->PieceRegion(SKIN_TOPLEFT);
    EXPECT_EQ(wxOutRegion, topLeft.Contains(0, 0));
    EXPECT_EQ(wxInRegion, topLeft.Contains(7, 0));
    EXPECT_EQ(wxInRegion, topLeft.Contains(0, 10));
    EXPECT_EQ(wxRect(0, 0, 16, 26), skin->PieceRegion(SKIN_TOP).GetBox());
}

TEST_F(SkinManager, AnAllMagentaPieceHasAnEmptyRegion)
{
    // A block of the bitmap at (184, 42) is all magenta.
    ASSERT_TRUE(Skins().LoadSkinFile(
        "Blue", Replaced("magenta", R"(name="BOTTOMLEFT" width="8" height="4" activex="40" activey="0")",
                         R"(name="BOTTOMLEFT" width="8" height="4" activex="184" activey="42")")));
    EXPECT_TRUE(Skins().FindSkin("Blue")->PieceRegion(SKIN_BOTTOMLEFT).IsEmpty());
    EXPECT_FALSE(Skins().FindSkin("Blue")->PieceRegion(SKIN_BOTTOMRIGHT).IsEmpty());
}

TEST_F(SkinManager, PieceCoordinatesCountFromTheTopInEitherRowOrder)
{
    // 8 x 4 pixels: the top row magenta, the rest grey.
    for (bool bottomUp : {true, false}) {
        STestBmp bmp = PlainBmp(8, 4, 0x808080, bottomUp);
        std::fill(bmp.pixels.begin(), bmp.pixels.begin() + 8, 0xFF00FF);
        const std::string folder = bottomUp ? "up" : "down";
        ASSERT_TRUE(Skins().LoadSkinFile(
            folder, Write(folder, R"(<skindefinition bmpfile="Frame.bmp">
                <borderelement name="TOP" width="8" height="4"/></skindefinition>)",
                          BmpFile(bmp))));
        EXPECT_EQ(wxRect(0, 1, 8, 3), Skins().FindSkin(folder)->PieceRegion(SKIN_TOP).GetBox()) << folder;
    }
}

struct SBadSkin {
    const char* name;
    std::function<std::string(const std::string& xml, const std::string& bmp, std::string& newBmp)> make;
};

TEST_F(SkinManager, AFailedLoadKeepsTheSkinOfThatNameAndItsWindows)
{
    const SBadSkin cases[] = {
        {"no XML", [](const std::string&, const std::string&, std::string&) { return std::string("<"); }},
        {"another root", [](const std::string&, const std::string&, std::string&) { return std::string("<skin/>"); }},
        {"no bitmap", [](const std::string& xml, const std::string&, std::string& bmp) { bmp = "-"; return xml; }},
        {"truncated bitmap",
         [](const std::string& xml, const std::string& good, std::string& bmp) {
             bmp = good.substr(0, good.size() - 100);
             return xml;
         }},
        {"bitmap claiming more rows",
         [](const std::string& xml, const std::string& good, std::string& bmp) {
             bmp = good;
             PutLe(bmp, 22, 57, 4);
             return xml;
         }},
        {"piece outside the bitmap",
         [](const std::string& xml, const std::string& good, std::string& bmp) {
             bmp = good;
             std::string spoilt = xml;
             const std::string hover = R"(hooverx="88" hoovery="0")";
             spoilt.replace(spoilt.find(hover), hover.size(), R"(hooverx="188" hoovery="0")");
             return spoilt;
         }},
    };
    ASSERT_TRUE(Skins().LoadSkinFile("Blue", Good()));
    const CSkin* loaded = Skins().FindSkin("Blue");
    auto frame = Frame();
    ASSERT_TRUE(Skins().RegisterWindow(frame.get(), "Blue", true, true));
    int folder = 0;
    for (const SBadSkin& bad : cases) {
        std::string bmp;
        const std::string xml = bad.make(m_xml, m_bmp, bmp);
        const std::string path = Write("bad" + std::to_string(++folder), xml, bmp == "-" ? std::string() : bmp);
        EXPECT_FALSE(Skins().LoadSkinFile("Blue", path)) << bad.name;
        EXPECT_EQ(loaded, Skins().FindSkin("Blue")) << bad.name;
        EXPECT_TRUE(Skins().IsRegistered(frame.get())) << bad.name;
    }
}

TEST_F(SkinManager, ReloadingUnregistersTheWindowsOfTheOldSkinOnly)
{
    ASSERT_TRUE(Skins().LoadSkinFile("Blue", Good()));
    ASSERT_TRUE(Skins().LoadSkinFile("Other", Good()));
    auto blue = Frame();
    auto other = Frame();
    ASSERT_TRUE(Skins().RegisterWindow(blue.get(), "Blue", false, false));
    ASSERT_TRUE(Skins().RegisterWindow(other.get(), "Other", false, false));
    ASSERT_TRUE(Skins().LoadSkinFile("Blue", Good("again")));
    EXPECT_FALSE(Skins().IsRegistered(blue.get()));
    EXPECT_TRUE(Skins().IsRegistered(other.get()));
    ShowAndFocus(blue.get());
    Snapshot(blue.get());  // paints without the old skin
}

TEST_F(SkinManager, RemovingTheEmptyNameUnregistersEveryWindowAndKeepsTheSkins)
{
    ASSERT_TRUE(Skins().LoadSkinFile("Blue", Good()));
    ASSERT_TRUE(Skins().LoadSkinFile("Other", Good()));
    auto blue = Frame();
    auto other = Frame();
    ASSERT_TRUE(Skins().RegisterWindow(blue.get(), "Blue", false, false));
    ASSERT_TRUE(Skins().RegisterWindow(other.get(), "Other", false, false));
    EXPECT_FALSE(Skins().RemoveSkin(""));
    EXPECT_FALSE(Skins().IsRegistered(blue.get()));
    EXPECT_FALSE(Skins().IsRegistered(other.get()));
    EXPECT_NE(nullptr, Skins().FindSkin("Blue"));
    EXPECT_TRUE(Skins().RemoveSkin("Other"));
    EXPECT_EQ(nullptr, Skins().FindSkin("Other"));
}

TEST_F(SkinManager, ALongSkinNameStillFindsItsWindowsWhenTheSkinGoes)
{
    const std::string name(100, 'n');
    const std::string other = name.substr(0, 63);
    ASSERT_TRUE(Skins().LoadSkinFile(name, Good()));
    ASSERT_TRUE(Skins().LoadSkinFile(other, Good()));
    auto frame = Frame();
    ASSERT_TRUE(Skins().RegisterWindow(frame.get(), name, false, false));
    EXPECT_TRUE(Skins().RemoveSkin(other));
    EXPECT_TRUE(Skins().IsRegistered(frame.get())) << "a skin whose name starts the same is another skin";
    EXPECT_TRUE(Skins().RemoveSkin(name));
    EXPECT_FALSE(Skins().IsRegistered(frame.get()));
    ShowAndFocus(frame.get());
    Snapshot(frame.get());
}

TEST_F(SkinManager, RegistrationNeedsAWindowAndALoadedSkinAndReplacesAnEarlierOne)
{
    ASSERT_TRUE(Skins().LoadSkinFile("Blue", Good()));
    ASSERT_TRUE(Skins().LoadSkinFile("Other", Good()));
    auto frame = Frame();
    EXPECT_FALSE(Skins().RegisterWindow(nullptr, "Blue", false, false));
    EXPECT_FALSE(Skins().RegisterWindow(frame.get(), "Unknown", false, false));
    EXPECT_FALSE(Skins().IsRegistered(frame.get()));
    EXPECT_FALSE(Skins().UnregisterWindow(frame.get()));

    ASSERT_TRUE(Skins().RegisterWindow(frame.get(), "Blue", false, false));
    ASSERT_TRUE(Skins().RegisterWindow(frame.get(), "Other", false, false));
    EXPECT_TRUE(Skins().RemoveSkin("Blue"));
    EXPECT_TRUE(Skins().IsRegistered(frame.get())) << "it wears the other skin now";
    EXPECT_TRUE(Skins().UnregisterWindow(frame.get()));
    EXPECT_FALSE(Skins().UnregisterWindow(frame.get()));
}

TEST_F(SkinManager, ADestroyedWindowUnregistersItself)
{
    ASSERT_TRUE(Skins().LoadSkinFile("Blue", Good()));
    auto frame = Frame();
    const wxTopLevelWindow* address = frame.get();
    ASSERT_TRUE(Skins().RegisterWindow(frame.get(), "Blue", false, false));
    frame.reset();
    EXPECT_FALSE(Skins().IsRegistered(address));
}

TEST_F(SkinManager, LoadsFromResources)
{
    EXPECT_TRUE(Skins().LoadSkinResource("Blue", 301, 302));
    ASSERT_NE(nullptr, Skins().FindSkin("Blue"));
    EXPECT_EQ(wxSize(200, 56), Skins().FindSkin("Blue")->Bitmap().GetSize());
    EXPECT_FALSE(Skins().LoadSkinResource("Other", 301, 0));
    EXPECT_FALSE(Skins().LoadSkinResource("Other", 399, 302));
    EXPECT_FALSE(Skins().LoadSkinResource("Other", 301, 303)) << "a resource that is no bitmap";
    EXPECT_FALSE(Skins().LoadSkinResource("Other", 301, 399));
    EXPECT_EQ(nullptr, Skins().FindSkin("Other"));
}

// --- The application object's skin operations --------------------------------------------------

class SkinHookUp : public SkinManager {
protected:
    void SetUp() override
    {
        SkinManager::SetUp();
        m_log = m_folder.Path("skins.log");
        CLogManager::GetInstance()->SetFormat("$LOGGER $MESSAGE");
        ASSERT_TRUE(CLogManager::GetInstance()->Open(m_log.c_str(), LOGLEVEL_TRACE));
    }
    void TearDown() override
    {
        CLogManager::GetInstance()->Close();
        SkinManager::TearDown();
    }
    std::string m_log;
};

TEST_F(SkinHookUp, ForwardsToTheManagerWithItsOwnLogger)
{
    EXPECT_FALSE(App().RemoveSkin("never loaded")) << "the manager's failure, unchanged";
    EXPECT_TRUE(App().LoadSkinFile("Blue", Good()));
    EXPECT_FALSE(App().LoadSkinFile("Other", m_folder.Path("none.xml")));
    EXPECT_TRUE(App().LoadSkinResource("Res", 301, 302));
    auto frame = Frame();
    EXPECT_TRUE(App().RegisterSkinWindow(frame.get(), "Blue", true, false));
    EXPECT_TRUE(Skins().IsRegistered(frame.get()));
    EXPECT_TRUE(App().UnregisterSkinWindow(frame.get()));
    EXPECT_TRUE(App().RemoveSkin("Blue"));
    App().RemoveAllSkins();
    EXPECT_EQ(nullptr, Skins().FindSkin("Res"));
    CLogManager::GetInstance()->Close();
    const std::string log = ReadWholeFile(m_log);
    EXPECT_NE(std::string::npos, log.find("CSkinManager Skin Blue loaded")) << log;
    EXPECT_NE(std::string::npos, log.find("CSkinManager Skin Other not loaded")) << log;
}

TEST_F(SkinHookUp, ARunWithoutSkinsLogsNothingAboutSkinsAndEndsTheManager)
{
    // An application object of its own, never run, built and destroyed as by a program that
    // uses no skin. wx makes each new application object the running one, and none when it
    // goes: the test program's own is put back afterwards.
    wxAppConsole* const running = wxApp::GetInstance();
    {
        CHarbinax program;
        EXPECT_FALSE(program.RemoveSkin("never loaded"));
    }
    wxApp::SetInstance(running);
    EXPECT_EQ(nullptr, CSkinManager::FindInstance());
    CLogManager::GetInstance()->Close();
    EXPECT_EQ(std::string::npos, ReadWholeFile(m_log).find("CSkinManager"));
}

}  // namespace
