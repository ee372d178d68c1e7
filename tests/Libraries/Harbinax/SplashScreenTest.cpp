#include "Harbinax/ProgressEvents.h"
#include "Harbinax/SplashScreen.h"
#include "HarbinaxGuiEnvironment.h"
#include "support/WxTestSupport.h"

#include <gtest/gtest.h>
#include <wx/frame.h>
#include <wx/toplevel.h>

namespace {

int SplashWindowCount()
{
    int count = 0;
    for (const wxWindow* window : wxTopLevelWindows) {
        if (window->GetLabel() == "SplashScreen" && !window->IsBeingDeleted())
            ++count;
    }
    return count;
}

// wx deletes top-level windows when idle; let it, so each test counts only its own windows.
void DeletePendingWindows()
{
    wxTheApp->ProcessIdle();
}

// Image with a green frame of the given thickness around an opaque middle.
wxImage FramedImage(int width, int height, int frame)
{
    wxImage image(width, height);
    image.SetRGB(wxRect(0, 0, width, height), 0x00, 0xFF, 0x00);
    image.SetRGB(wxRect(frame, frame, width - 2 * frame, height - 2 * frame), 0x30, 0x50, 0x90);
    return image;
}

class Splash : public ::testing::Test {
protected:
    void TearDown() override { DeletePendingWindows(); }
};

TEST_F(Splash, LoadsItsBitmapFromTheResources)
{
    CSplashScreen splash;
    EXPECT_TRUE(splash.SetBitmap(139));
    EXPECT_FALSE(splash.SetBitmap(140)) << "not an image";
    EXPECT_FALSE(splash.SetBitmap(999)) << "no such resource";
    // Without a bitmap the window still comes up, with the default background.
    splash.Show();
    ASSERT_NE(nullptr, splash.GetWindow());
}

TEST_F(Splash, ShowingTwiceCreatesOneCentredWindow)
{
    const int before = SplashWindowCount();
    CSplashScreen splash;
    splash.Hide();
    EXPECT_EQ(nullptr, splash.GetWindow()) << "hiding before showing does nothing";
    ASSERT_TRUE(splash.SetBitmap(139));
    splash.Show();
    splash.Show();
    EXPECT_EQ(before + 1, SplashWindowCount());
    wxFrame* window = splash.GetWindow();
    ASSERT_NE(nullptr, window);
    EXPECT_TRUE(window->IsShown());
    EXPECT_EQ(wxSize(480, 460), window->GetClientSize());
    const wxSize screen = wxGetDisplaySize();
    EXPECT_EQ(wxPoint((screen.x - 480) / 2, (screen.y - 460) / 2), window->GetPosition());
    EXPECT_EQ("1.2.3.4", splash.GetVersionText());

    splash.Hide();
    EXPECT_FALSE(window->IsShown());
    splash.Show();
    EXPECT_TRUE(window->IsShown());
    EXPECT_EQ(before + 1, SplashWindowCount());
}

TEST_F(Splash, RegionLeavesOutTheGreenFrame)
{
    CSplashScreen splash;
    ASSERT_TRUE(splash.SetBitmap(FramedImage(60, 40, 3)));
    splash.Show();
    const wxRegion& region = splash.GetShapeRegion();
    EXPECT_EQ(wxRect(3, 3, 54, 34), region.GetBox());
    EXPECT_EQ(wxOutRegion, region.Contains(0, 0));
    EXPECT_EQ(wxOutRegion, region.Contains(2, 20));
    EXPECT_EQ(wxInRegion, region.Contains(3, 3));
    EXPECT_EQ(wxInRegion, region.Contains(56, 36));
    EXPECT_EQ(wxOutRegion, region.Contains(57, 36));

    CSplashScreen shipped;
    ASSERT_TRUE(shipped.SetBitmap(139));
    shipped.Show();
    EXPECT_EQ(wxOutRegion, shipped.GetShapeRegion().Contains(479, 0)) << "green corner of the bitmap";
    EXPECT_EQ(wxInRegion, shipped.GetShapeRegion().Contains(240, 230));
}

TEST_F(Splash, BitmapWithoutGreenGivesARectangularWindow)
{
    CSplashScreen splash;
    ASSERT_TRUE(splash.SetBitmap(FramedImage(30, 20, 0)));
    splash.Show();
    const wxRegion& region = splash.GetShapeRegion();
    EXPECT_EQ(wxRect(0, 0, 30, 20), region.GetBox());
    EXPECT_EQ(wxInRegion, region.Contains(wxRect(0, 0, 30, 20)));
}

TEST_F(Splash, ProgressEventsWriteTheStatusLines)
{
    CSplashScreen splash;
    ASSERT_TRUE(splash.SetBitmap(139));
    splash.SetStatusTextPosition(20, 425);
    splash.Show();
    splash.SetStatusText("Loading units", 0);

    SendDownloadFile(&splash, "a.zip");
    SendSetFileSize(&splash, 10);
    for (int i = 0; i < 3; ++i)
        SendDownloaded1KB(&splash);
    EXPECT_EQ("Aktualisiere Datei", splash.GetTexts().GetStatusText(0));
    EXPECT_EQ("a.zip 3 / 10 KB", splash.GetTexts().GetStatusText(1));

    SendDownloadFile(&splash, "b.zip");
    splash.SetStatusText("Loading fluids", 0);
    EXPECT_EQ("a.zip 3 / 10 KB", splash.GetTexts().GetStatusText(1));

    // The events reach the splash screen before its window exists, too.
    CSplashScreen hidden;
    SendDownloadFile(&hidden, "c.zip");
    SendSetFileSize(&hidden, 2);
    SendDownloaded1KB(&hidden);
    EXPECT_EQ("c.zip 1 / 2 KB", hidden.GetTexts().GetStatusText(1));
    SendDownloaded1KB(nullptr);
}

// Shows the shipped splash bitmap with the texts at the given positions and returns what the
// window shows. The colours appear nowhere in the bitmap.
const unsigned long statusColour = 0x0000C0;
const unsigned long versionColour = 0xC00000;

wxImage ShowTexts(const wxPoint& status, const wxPoint& version)
{
    CSplashScreen splash;
    EXPECT_TRUE(splash.SetBitmap(139));
    splash.SetStatusTextPosition(status.x, status.y);
    splash.SetStatusTextColor(statusColour);
    splash.SetVersionTextPosition(version.x, version.y);
    splash.SetVersionTextColor(versionColour);
    splash.Show();
    splash.SetStatusText("Loading units", 0);
    splash.SetStatusText("Aktualisiere Datei", 1);
    const wxImage shown = Snapshot(splash.GetWindow()).ConvertToImage();
    splash.Hide();
    return shown;
}

TEST_F(Splash, DrawsStatusAndVersionInTheirColoursOnlyWithBothCoordinates)
{
    const wxRect statusArea(0, 400, 300, 45);
    const wxRect versionArea(0, 340, 240, 25);

    const wxImage shown = ShowTexts(wxPoint(20, 425), wxPoint(140, 360));
    EXPECT_GT(CountColour(shown, wxColour(statusColour), statusArea), 20);
    EXPECT_GT(CountColour(shown, wxColour(versionColour), versionArea), 10);
    DeletePendingWindows();

    const wxImage plain = ShowTexts(wxPoint(0, 425), wxPoint(140, 0));
    EXPECT_EQ(0, CountColour(plain, wxColour(statusColour), statusArea));
    EXPECT_EQ(0, CountColour(plain, wxColour(versionColour), versionArea));
}

}  // namespace
