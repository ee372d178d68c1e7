#include "TAMBEL/TAMBELDlg.h"

#include "Harbinax/DialogControls.h"
#include "Harbinax/Harbinax.h"
#include "Harbinax/ResourceImage.h"
#include "PolyglottaWx/WindowIds.h"
#include "Quillet/LogManager.h"
#include "TAMBEL/MainMenu.h"
#include "TAMBEL/Resource.h"
#include "TAMBEL/TAMBELApp.h"

#include <wx/app.h>
#include <wx/evtloop.h>
#include <wx/frame.h>
#include <wx/icon.h>
#include <wx/menu.h>

#include <cstdlib>

namespace {

// The items that need a usable production database.
constexpr int kDatabaseCommands[] = {ID_FILE_OPEN_DB, ID_FILE_SAVE_DB, ID_FILE_DELETE_DB};

wxBitmap ResourceBitmap(int iconId)
{
    const wxImage image = LoadResourceImage("ICON", iconId);
    return image.IsOk() ? wxBitmap(image) : wxBitmap();
}

}  // namespace

CTAMBELDlg::CTAMBELDlg()
    : m_log(CLogManager::GetInstance()->GetLogger("CTAMBELDlg", LOGLEVEL_PARENT))
{
}

CTAMBELDlg::~CTAMBELDlg()
{
    // The pages go before the base part: their fields must be stored while they exist.
    if (GetWindow())
        ShowPage(nullptr);
    // wx deletes a frame only when idle; it must not stay on the screen until then.
    if (GetFrame())
        GetFrame()->Hide();
}

bool CTAMBELDlg::Create()
{
    if (GetWindow())
        return false;
    CDialogTemplate dialogTemplate;
    std::string error;
    const SDialogTemplate* built = nullptr;
    if (CDialogControls::LoadResource(IDD_TAMBEL_DIALOG, dialogTemplate, &error))
        built = dialogTemplate.BuildTemplate();
    if (!built || !CreateFrame(nullptr, wxString::FromUTF8(built->header.title), wxSize(400, 300)) ||
        !CDialogControls::CreateControls(*built, GetWindow(), DialogControlFactories(), &error)) {
        QUILLET_POS(m_log);
        m_log.Error("Main window not created: %s", error.c_str());
        return false;
    }
    m_contentSize = GetWindow()->GetClientSize();
    GetFrame()->Bind(wxEVT_CLOSE_WINDOW, &CTAMBELDlg::OnClose, this);
    // The window a later start of the program brings to the front.
    wxTheApp->SetTopWindow(GetFrame());
    return OnInitDialog();
}

bool CTAMBELDlg::OnInitDialog()
{
    wxFrame* frame = GetFrame();
    frame->SetMenuBar(CreateMainMenu());
    if (CHarbinax* app = CHarbinax::GetApp()) {
        app->TranslateDialog(IDD_TAMBEL_DIALOG, frame);
        app->TranslateMenu(IDR_MAIN_MENU, frame->GetMenuBar());
    }
    const wxImage icon = LoadResourceImage("ICON", IDR_MAINFRAME);
    if (icon.IsOk()) {
        wxIcon frameIcon;
        frameIcon.CopyFromBitmap(wxBitmap(icon));
        frame->SetIcon(frameIcon);
    }

    if (!m_fluidPage.Create(frame))
        return false;
    // Its translated texts may have needed more room than the template gives.
    m_fluidPage.m_contentSize.IncTo(m_fluidPage.GetWindow()->GetClientSize());
    // The window is laid out for the pages' template sizes before they are made.
    if (!m_resultsPage.SizeFromResource(frame, IDD_PAGE_RESULTS) ||
        !m_configurationPage.SizeFromResource(frame, IDD_PAGE_CONFIGURATION))
        return false;

    AddButton(nullptr, ID_FILE_OPEN, IDI_TOOL_OPEN, "Open", false);
    AddButton(nullptr, ID_FILE_SAVE, IDI_TOOL_SAVE, "Save", false);
    AddButton(nullptr, ID_FILE_PRINT_DIRECT, IDI_TOOL_PRINT, "Print", true);
    AddButton(nullptr, ID_FILE_EMAIL, IDI_TOOL_EMAIL, "Email", false);
    AddButton(nullptr, ID_FILE_PDF, IDI_TOOL_PDF, "PDF", false);
    AddButton(&m_fluidPage, ID_PAGE_FLUID, IDI_TOOL_FLUID, "Fluid data", true);
    AddButton(&m_resultsPage, ID_PAGE_RESULTS, IDI_TOOL_RESULTS, "Calculate meters", false);
    AddButton(&m_configurationPage, ID_PAGE_CONFIGURATION, IDI_TOOL_CONFIGURATION, "Configuration", true);

    CreateToolBar();
    m_showTopBar = true;
    ShowPage(&m_fluidPage);
    const wxSize minimum = GetMinimumSize(true);
    LayoutForPageSize(minimum.x, minimum.y);
    // The project with the defaults the page shows is the one the user has not changed yet.
    StoreProject();
    if (CTAMBELApp* app = CTAMBELApp::GetApp())
        app->KeepProjectSnapshot(false);
    if (CHarbinax* app = CHarbinax::GetApp())
        app->HideSplashScreen();
    return true;
}

void CTAMBELDlg::AddButton(cvBaseDialog* page, int commandId, int iconId, const char* label, bool separatorBefore)
{
    cvToolBarButton button;
    button.ownerPage = page;
    button.commandId = CWindowIds::FromResourceId(commandId);
    button.icon = ResourceBitmap(iconId);
    button.label = TranslateText(label);
    button.checkGroup = page != nullptr;
    button.separatorBefore = separatorBefore;
    m_buttons.push_back(button);
    if (page) {
        page->m_ownButton = button;
        m_pages.push_back(page);
    }
}

bool CTAMBELDlg::ShowPage(cvBaseDialog* page)
{
    if (page && !page->GetWindow() && !CreateLaterPage(page)) {
        // The button the user just pressed falls back to the current page's.
        UpdateToolBarChecks();
        return false;
    }
    return cvBaseDialog::ShowPage(page);
}

bool CTAMBELDlg::CreateLaterPage(cvBaseDialog* page)
{
    wxFrame* frame = GetFrame();
    bool created = false;
    if (frame && page == &m_devicePage)
        created = m_devicePage.Create(frame);
    else if (frame && page == &m_resultsPage)
        created = m_resultsPage.Create(frame);
    else if (frame && page == &m_configurationPage)
        created = m_configurationPage.Create(frame);
    if (!created) {
        QUILLET_POS(m_log);
        // Without the device page the stored device configuration is sized: the program still serves.
        if (page == &m_devicePage)
            m_log.Warn("Device page not available");
        else
            m_log.Error("Page not created");
        return false;
    }
    const wxSize area = m_fluidPage.GetWindow() ? m_fluidPage.GetWindow()->GetSize() : wxSize();
    page->m_contentSize.IncTo(page->GetWindow()->GetClientSize());
    AddPageToLayout(page);
    // A page whose texts needed more room than its template gives widens the window for it.
    if (page->m_contentSize.x > area.x || page->m_contentSize.y > area.y) {
        const wxSize minimum = GetMinimumSize(true);
        LayoutForPageSize(minimum.x, minimum.y);
    }
    return true;
}

int CTAMBELDlg::DoModal()
{
    if (!GetWindow() && !Create())
        return -1;
    wxGUIEventLoop loop;
    m_loop = &loop;
    const char* exitAfterShow = std::getenv("ZEPHRIN_EXIT_AFTER_SHOW");
    if (exitAfterShow && *exitAfterShow)
        GetFrame()->Bind(wxEVT_IDLE, &CTAMBELDlg::OnFirstIdle, this);
    GetFrame()->Show();
    QUILLET_POS(m_log);
    m_log.Info("Main window shown");
    loop.Run();
    m_loop = nullptr;
    return 0;
}

void CTAMBELDlg::OnFirstIdle(wxIdleEvent& event)
{
    event.Skip();
    GetFrame()->Unbind(wxEVT_IDLE, &CTAMBELDlg::OnFirstIdle, this);
    GetFrame()->Close();
}

void CTAMBELDlg::OnClose(wxCloseEvent& event)
{
    // A close that cannot be refused (the desktop session ends) cannot wait for an answer.
    CTAMBELApp* app = CTAMBELApp::GetApp();
    if (event.CanVeto() && app && app->GetMainDialog() == this && !app->MayDropProject()) {
        event.Veto();
        return;
    }
    // Leaves the current page, which stores its fields, as when the window goes.
    OnDestroy();
    GetFrame()->Hide();
    if (m_loop)
        m_loop->Exit();
}

bool CTAMBELDlg::StoreProject()
{
    cvBaseDialog* page = GetCurrentPage();
    return (page != &m_fluidPage && page != &m_devicePage) || page->OnLeavePage();
}

bool CTAMBELDlg::OnEnterPage()
{
    cvBaseDialog* page = GetCurrentPage();
    return page ? page->OnEnterPage() : cvBaseDialog::OnEnterPage();
}

bool CTAMBELDlg::OnLeavePage()
{
    cvBaseDialog* page = GetCurrentPage();
    return page ? page->OnLeavePage() : cvBaseDialog::OnLeavePage();
}

void CTAMBELDlg::OnPageChanged()
{
    wxFrame* frame = GetFrame();
    wxMenuBar* bar = frame ? frame->GetMenuBar() : nullptr;
    if (!bar || bar->GetMenuCount() < 3)
        return;
    const CTAMBELApp* app = CTAMBELApp::GetApp();
    const bool usable = app && app->IsProductionDbUsable();
    wxMenu* file = bar->GetMenu(0);
    for (int command : kDatabaseCommands) {
        if (wxMenuItem* item = file->FindItem(CWindowIds::FromResourceId(command)))
            item->Enable(usable);
    }
}
