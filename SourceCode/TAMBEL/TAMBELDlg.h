// The program's main window: a frame with the main menu, the toolbar of command and page
// buttons, and the pages (fluid data, results, configuration; the device page lives beside
// them without a button). Only the fluid page, shown at start, is made with the window; the
// others are made when first shown, so that the start does not wait for them, and until then
// have no window. It forwards the page protocol to the current page and greys the
// production-database commands while that database cannot be used. Its commands other than the
// page buttons go on to the application object.
#pragma once

#include "Harbinax/BaseDialog.h"
#include "Quillet/Logger.h"
#include "TAMBEL/Pages/PageConfiguration.h"
#include "TAMBEL/Pages/PageDevice.h"
#include "TAMBEL/Pages/PageFluid.h"
#include "TAMBEL/Pages/PageResults.h"

class wxCloseEvent;
class wxEventLoopBase;
class wxIdleEvent;

class CTAMBELDlg : public cvBaseDialog {
public:
    CTAMBELDlg();
    ~CTAMBELDlg() override;

    // Creates the frame with menu, pages and toolbar, shows the fluid page and hides the splash
    // screen (OnInitDialog); the frame is not shown yet. False when a part cannot be made.
    bool Create();
    // Create, show, and handle events until the window is closed (by its close box or the
    // menu's exit). With ZEPHRIN_EXIT_AFTER_SHOW set in the environment it closes itself as soon
    // as it has been shown, for start-up measurements. 0, or -1 when it could not be created.
    int DoModal();

    bool OnEnterPage() override;
    bool OnLeavePage() override;
    // Makes the page's window first when it has none; a page that cannot be made is logged and
    // the current page stays (false).
    bool ShowPage(cvBaseDialog* page) override;
    // Enables the production-database commands by the application's flag.
    void OnPageChanged() override;
    // The shown page puts what it shows of the project into it: only the fluid and device pages
    // hold project fields, and the other pages' leaving does more than store (it hides the
    // update settings). False when the page could not store (it has said why).
    bool StoreProject();

    CPageFluid& GetFluidPage() { return m_fluidPage; }
    CPageDevice& GetDevicePage() { return m_devicePage; }
    CPageResults& GetResultsPage() { return m_resultsPage; }
    CPageConfiguration& GetConfigurationPage() { return m_configurationPage; }

private:
    bool OnInitDialog();
    void AddButton(cvBaseDialog* page, int commandId, int iconId, const char* label, bool separatorBefore);
    // The window of a page that was not made at start, placed where the pages are.
    bool CreateLaterPage(cvBaseDialog* page);
    void OnClose(wxCloseEvent& event);
    void OnFirstIdle(wxIdleEvent& event);

    CLogger m_log;
    CPageFluid m_fluidPage;
    CPageDevice m_devicePage;
    CPageResults m_resultsPage;
    CPageConfiguration m_configurationPage;
    wxEventLoopBase* m_loop = nullptr;
};
