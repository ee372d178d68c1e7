#include "Harbinax/BaseDialog.h"

#include "Stretchkit/LayoutConvert.h"
#include "StretchkitCore/PageFrameLayout.h"
#include "StretchkitCore/ScrollArithmetic.h"

#include <wx/combo.h>
#include <wx/combobox.h>
#include <wx/display.h>
#include <wx/frame.h>
#include <wx/panel.h>
#include <wx/textctrl.h>
#include <wx/wupdlock.h>

#include <algorithm>
#include <memory>

namespace {

constexpr std::uint32_t kOwnGripRequest = 1;

// Controls that take Enter themselves: multi-line text, text that asks for Enter, and a combo
// box whose list is open (Enter picks the item).
bool WantsEnter(wxWindow* focus)
{
    if (!focus)
        return false;
    // The focus may be the text field inside a combo control.
    for (wxWindow* window : {focus, focus->GetParent()}) {
        if (auto* combo = dynamic_cast<wxComboCtrl*>(window))
            return combo->IsPopupShown() || combo->HasFlag(wxTE_PROCESS_ENTER);
    }
    if (auto* text = dynamic_cast<wxTextCtrl*>(focus))
        return text->IsMultiLine() || text->HasFlag(wxTE_PROCESS_ENTER);
    if (auto* combo = dynamic_cast<wxComboBox*>(focus))
        return combo->HasFlag(wxTE_PROCESS_ENTER);
    return false;
}

EScrollCode ScrollCode(wxEventType type)
{
    if (type == wxEVT_SCROLLWIN_LINEUP)
        return EScrollCode::LineUp;
    if (type == wxEVT_SCROLLWIN_LINEDOWN)
        return EScrollCode::LineDown;
    if (type == wxEVT_SCROLLWIN_PAGEUP)
        return EScrollCode::PageUp;
    if (type == wxEVT_SCROLLWIN_PAGEDOWN)
        return EScrollCode::PageDown;
    if (type == wxEVT_SCROLLWIN_THUMBTRACK || type == wxEVT_SCROLLWIN_THUMBRELEASE)
        return EScrollCode::Thumb;
    if (type == wxEVT_SCROLLWIN_TOP)
        return EScrollCode::Top;
    if (type == wxEVT_SCROLLWIN_BOTTOM)
        return EScrollCode::Bottom;
    return EScrollCode::Other;
}

// Every scroll request of a window's own scroll bars.
template <typename Action>
void ForEachScrollEvent(Action action)
{
    for (const wxEventTypeTag<wxScrollWinEvent>* type :
         {&wxEVT_SCROLLWIN_TOP, &wxEVT_SCROLLWIN_BOTTOM, &wxEVT_SCROLLWIN_LINEUP, &wxEVT_SCROLLWIN_LINEDOWN,
          &wxEVT_SCROLLWIN_PAGEUP, &wxEVT_SCROLLWIN_PAGEDOWN, &wxEVT_SCROLLWIN_THUMBTRACK,
          &wxEVT_SCROLLWIN_THUMBRELEASE})
        action(*type);
}

}  // namespace

cvBaseDialog::cvBaseDialog(bool scrollable)
    : m_scrollable(scrollable)
{
    m_ownButton.ownerPage = this;
}

cvBaseDialog::~cvBaseDialog()
{
    // Gone before its window: the overrides are gone too, so no protocol runs any more.
    wxWindow* window = m_window;
    if (!window)
        return;
    Detach();
    m_currentPage = nullptr;
    window->Destroy();
}

bool cvBaseDialog::CreateFrame(wxWindow* parent, const wxString& title, const wxSize& clientSize)
{
    if (m_window || m_scrollable)
        return false;
    auto frame = std::make_unique<wxFrame>();
    if (!frame->Create(parent, wxID_ANY, title, wxDefaultPosition, wxDefaultSize, wxDEFAULT_FRAME_STYLE | wxTAB_TRAVERSAL))
        return false;
    frame->SetClientSize(clientSize);
    // A top-level window can be made smaller than designed only through LayoutForPageSize.
    m_trackLimits.LimitMinTrack(ToLayoutSize(clientSize));
    m_contentSize = clientSize;
    wxFrame* created = frame.release();  // destroyed through wx from now on
    if (!m_grip.CreateGrip(created, true, true, false)) {
        created->Destroy();
        return false;
    }
    m_frame = created;
    Attach(created);
    ApplyTrackLimits();
    return true;
}

bool cvBaseDialog::CreatePage(wxWindow* parent, const wxRect& rect)
{
    if (m_window || !parent)
        return false;
    auto panel = std::make_unique<wxPanel>();
    panel->Hide();
    long style = wxTAB_TRAVERSAL | wxBORDER_NONE;
    if (m_scrollable)
        style |= wxHSCROLL | wxVSCROLL;
    if (!panel->Create(parent, wxID_ANY, rect.GetPosition(), rect.GetSize(), style))
        return false;
    m_contentSize = panel->GetClientSize();
    wxPanel* created = panel.release();
    if (!m_grip.CreateGrip(created, false, true, false)) {
        created->Destroy();
        return false;
    }
    Attach(created);
    UpdateScrollBars(created->GetClientSize());
    return true;
}

bool cvBaseDialog::CreatePage(wxWindow* parent, int dialogId, const DialogControlFactories& factories,
                              std::string* error)
{
    CDialogTemplate dialogTemplate;
    if (!CDialogControls::LoadResource(dialogId, dialogTemplate, error))
        return false;
    const SDialogTemplate* built = dialogTemplate.BuildTemplate();
    if (!built) {
        if (error)
            *error = "the dialog resource could not be built";
        return false;
    }
    if (!CreatePage(parent, wxRect()))
        return false;
    wxWindow* window = m_window;
    if (!CDialogControls::CreateControls(*built, window, factories, error)) {
        Detach();
        window->Destroy();
        return false;
    }
    m_contentSize = window->GetClientSize();
    m_grip.PlaceGrip();
    UpdateScrollBars(m_contentSize);
    return true;
}

void cvBaseDialog::FitControls()
{
    if (!m_window)
        return;
    // The fit places the controls for unscrolled content of the fitted size; anchors are taken
    // there again.
    const wxPoint scroll = m_scroll;
    ScrollContentTo(wxPoint());
    const wxSize content = CDialogControls::FitControlsInside(m_window);
    if (content != wxSize()) {
        m_contentSize = content;
        AnchorAgain(wxRect(content));
    }
    RepositionChildren();
    ScrollContentTo(scroll);
    KeepScrollInView(m_window->GetClientSize());
}

void cvBaseDialog::Attach(wxWindow* window)
{
    m_window = window;
    window->Bind(wxEVT_SIZE, &cvBaseDialog::OnWindowSize, this);
    window->Bind(wxEVT_DESTROY, &cvBaseDialog::OnWindowDestroy, this);
    window->Bind(wxEVT_CHAR_HOOK, &cvBaseDialog::OnCharHook, this);
    window->Bind(wxEVT_MENU, &cvBaseDialog::OnCommand, this);
    if (m_scrollable)
        ForEachScrollEvent([this, window](const auto& type) { window->Bind(type, &cvBaseDialog::OnScroll, this); });
}

void cvBaseDialog::Detach()
{
    m_window->Unbind(wxEVT_SIZE, &cvBaseDialog::OnWindowSize, this);
    m_window->Unbind(wxEVT_DESTROY, &cvBaseDialog::OnWindowDestroy, this);
    m_window->Unbind(wxEVT_CHAR_HOOK, &cvBaseDialog::OnCharHook, this);
    m_window->Unbind(wxEVT_MENU, &cvBaseDialog::OnCommand, this);
    if (m_scrollable)
        ForEachScrollEvent([this](const auto& type) { m_window->Unbind(type, &cvBaseDialog::OnScroll, this); });
    m_window = nullptr;
    m_frame = nullptr;
}

bool cvBaseDialog::OnEnterPage()
{
    return true;
}

bool cvBaseDialog::OnLeavePage()
{
    return true;
}

bool cvBaseDialog::CanEnterPage(int* reason)
{
    if (reason)
        *reason = 0;
    return true;
}

bool cvBaseDialog::CanLeavePage(int* reason)
{
    if (reason)
        *reason = 0;
    return true;
}

void cvBaseDialog::OnPageChanged()
{
}

void cvBaseDialog::ShowPageRefusal(int)
{
}

bool cvBaseDialog::ShowPage(cvBaseDialog* page)
{
    if (page == m_currentPage)
        return true;
    int reason = 0;
    if ((m_currentPage && !m_currentPage->CanLeavePage(&reason)) || (page && !page->CanEnterPage(&reason))) {
        // The button the user just pressed falls back to the current page's.
        UpdateToolBarChecks();
        ShowPageRefusal(reason);
        return false;
    }
    cvBaseDialog* old = m_currentPage;
    m_currentPage = page;
    if (old) {
        old->OnLeavePage();
        if (old->m_window)
            old->m_window->Hide();
    }
    if (page) {
        page->OnEnterPage();
        if (page->m_window) {
            page->m_window->Show();
            page->m_window->SetFocus();
        }
        OnPageChanged();
    }
    UpdateToolBarChecks();
    return true;
}

void cvBaseDialog::UpdateToolBarChecks()
{
    cvToolBar* toolBar = m_topBar.get();
    if (!toolBar)
        return;
    for (cvBaseDialog* page : m_pages) {
        if (page && toolBar->FindById(page->m_ownButton.commandId))
            toolBar->ToggleTool(page->m_ownButton.commandId, page == m_currentPage);
    }
}

void cvBaseDialog::CreateToolBar()
{
    DestroyToolBar();
    if (!m_window)
        return;
    cvToolBar* toolBar = new cvToolBar(m_window);
    toolBar->SetButtons(m_buttons);
    m_topBar = toolBar;
    UpdateToolBarChecks();
}

void cvBaseDialog::DestroyToolBar()
{
    cvToolBar* toolBar = m_topBar.get();
    if (!toolBar)
        return;
    DeleteAnchor(toolBar);
    m_topBar = nullptr;
    toolBar->Destroy();
}

wxSize cvBaseDialog::GetMinimumSize(bool withToolBar) const
{
    wxSize size = m_contentSize;
    for (const cvBaseDialog* page : m_pages) {
        if (page)
            size.IncTo(page->m_contentSize);
    }
    const cvToolBar* toolBar = m_topBar.get();
    if (toolBar && m_showTopBar && withToolBar && toolBar->GetToolsCount() > 0)
        size.x = std::max(size.x, toolBar->GetBestSize().x);
    return size;
}

void cvBaseDialog::LayoutForPageSize(int cx, int cy)
{
    if (!m_window)
        return;
    cvToolBar* toolBar = m_topBar.get();
    for (cvBaseDialog* page : m_pages) {
        if (page && page->m_window)
            DeleteAnchor(page->m_window);
    }
    if (toolBar)
        DeleteAnchor(toolBar);

    SPageFrameInput in;
    in.page = {cx, cy};
    in.topBarHeight = toolBar && m_showTopBar ? toolBar->GetSize().y : 0;
    in.frameExtra = ToLayoutSize(m_window->GetSize() - m_window->GetClientSize());
    const int display = wxDisplay::GetFromWindow(m_window);
    in.screen = ToLayoutSize(wxDisplay(display == wxNOT_FOUND ? 0 : display).GetGeometry().GetSize());
    const SPageFrameLayout layout = ComputePageFrameLayout(in);

    if (toolBar) {
        toolBar->Show(m_showTopBar);
        if (m_showTopBar) {
            toolBar->SetSize(0, 0, m_window->GetClientSize().x, in.topBarHeight);
            AddAnchor(toolBar, kAnchorTopLeft, kAnchorTopRight);
        }
    }

    m_trackLimits.LimitMinTrack({0, 0});
    ApplyTrackLimits();
    // A frame is sized through its client area: when the window manager's border becomes known
    // after showing, GTK keeps the client area instead of squeezing the menu bar's box below what
    // its children need.
    if (m_window->IsTopLevel())
        m_window->SetClientSize(ToWxSize(layout.windowSize) - ToWxSize(in.frameExtra));
    else
        m_window->SetSize(ToWxSize(layout.windowSize));
    if (m_frame)
        m_frame->Centre();

    m_contentSize = ToWxSize(layout.contentSize);
    KeepScrollInView(m_window->GetClientSize());

    for (cvBaseDialog* page : m_pages) {
        if (page && page->m_window) {
            page->m_window->SetSize(ToWxRect(layout.pageRect));
            AddAnchor(page->m_window, kAnchorTopLeft, kAnchorBottomRight);
        }
    }

    m_trackLimits.LimitMinTrack(layout.minTrackSize);
    ApplyTrackLimits();
    AfterResize();
    if (m_frame && layout.maximize)
        m_frame->Maximize();
}

void cvBaseDialog::AddPageToLayout(cvBaseDialog* page)
{
    if (!m_window || !page || !page->m_window)
        return;
    for (const cvBaseDialog* other : m_pages) {
        if (other && other != page && other->m_window) {
            page->m_window->SetSize(other->m_window->GetRect());
            AddAnchor(page->m_window, kAnchorTopLeft, kAnchorBottomRight);
            return;
        }
    }
}

void cvBaseDialog::ApplyTrackLimits()
{
    if (!m_frame)
        return;
    SMinMaxInfo info;
    m_trackLimits.FillMinMaxInfo(&info);
    m_frame->SetSizeHints(ToWxSize(info.minTrackSize), ToWxSize(info.maxTrackSize));
}

wxRect cvBaseDialog::GetLayoutRect() const
{
    if (!m_window)
        return wxRect();
    const wxSize client = m_window->GetClientSize();
    if (!m_scrollable || (client.x >= m_contentSize.x && client.y >= m_contentSize.y))
        return wxRect(client);
    return wxRect(-m_scroll.x, -m_scroll.y, std::max(client.x, m_contentSize.x), std::max(client.y, m_contentSize.y));
}

void cvBaseDialog::OnWindowSize(wxSizeEvent& event)
{
    // A frame with a single child would stretch it over the client area: not here.
    if (!m_frame)
        event.Skip();
    if (m_scrollable)
        KeepScrollInView(m_window->GetClientSize());
    if (m_frame && m_frame->IsMaximized())
        m_grip.GripHideRequest(&m_gripStatus, kOwnGripRequest);
    else
        m_grip.GripShowRequest(&m_gripStatus, kOwnGripRequest);
    if (!m_frame)
        m_grip.GripHideRequest(&m_gripStatus, kOwnGripRequest);  // a page never shows a grip
    AfterResize();
}

void cvBaseDialog::AfterResize()
{
    m_grip.PlaceGrip();
    RepositionChildren();
}

void cvBaseDialog::UpdateScrollBars(const wxSize& client)
{
    if (!m_scrollable || !m_window)
        return;
    ScrollContentTo(wxPoint(client.x < m_contentSize.x ? m_scroll.x : 0, client.y < m_contentSize.y ? m_scroll.y : 0));
    if (client.x < m_contentSize.x)
        m_window->SetScrollbar(wxHORIZONTAL, m_scroll.x, client.x, m_contentSize.x);
    else
        m_window->SetScrollbar(wxHORIZONTAL, 0, 0, 0);
    if (client.y < m_contentSize.y)
        m_window->SetScrollbar(wxVERTICAL, m_scroll.y, client.y, m_contentSize.y);
    else
        m_window->SetScrollbar(wxVERTICAL, 0, 0, 0);
}

void cvBaseDialog::KeepScrollInView(const wxSize& client)
{
    if (!m_scrollable || !m_window)
        return;
    ScrollContentTo(wxPoint(ScrollPositionForView(m_scroll.x, m_contentSize.x, client.x),
                            ScrollPositionForView(m_scroll.y, m_contentSize.y, client.y)));
    UpdateScrollBars(client);
}

void cvBaseDialog::ScrollContentTo(const wxPoint& position)
{
    const wxPoint delta = m_scroll - position;
    if (delta == wxPoint())
        return;
    m_scroll = position;
    wxWindowUpdateLocker batch(m_window);
    for (wxWindow* child : m_window->GetChildren()) {
        if (child != m_grip.GetGrip() && !child->IsTopLevel())
            child->Move(child->GetPosition() + delta);
    }
}

void cvBaseDialog::OnScroll(wxScrollWinEvent& event)
{
    const wxSize client = m_window->GetClientSize();
    const bool horizontal = event.GetOrientation() == wxHORIZONTAL;
    const int position = horizontal ? m_scroll.x : m_scroll.y;
    const int extent = horizontal ? m_contentSize.x : m_contentSize.y;
    const int view = horizontal ? client.x : client.y;
    const int target = ScrollPositionForCode(ScrollCode(event.GetEventType()), position, event.GetPosition(), extent, view);
    if (target != position)
        ScrollContentTo(horizontal ? wxPoint(target, m_scroll.y) : wxPoint(m_scroll.x, target));
    // The scroll bar may have moved on its own; it shows the position kept.
    UpdateScrollBars(client);
}

void cvBaseDialog::OnCharHook(wxKeyEvent& event)
{
    wxWindow* focus = wxWindow::FindFocus();
    int key = event.GetKeyCode();
    if (m_enterAsTab && (key == WXK_RETURN || key == WXK_NUMPAD_ENTER) && !WantsEnter(focus))
        key = m_enterReplacementKey;
    const bool replaced = key != event.GetKeyCode();

    if (key == WXK_ESCAPE) {
        if (m_blockEscape)
            return;
        if (m_frame) {
            m_frame->Close();  // the window's owner may still veto
        } else if (!replaced) {
            event.Skip();
        } else if (wxWindow* parent = m_window->GetParent()) {
            wxKeyEvent escape(event);
            escape.m_keyCode = WXK_ESCAPE;
            escape.m_uniChar = WXK_ESCAPE;
            parent->GetEventHandler()->ProcessEvent(escape);
        }
        return;
    }
    if (!replaced) {
        event.Skip();
        return;
    }
    if (key == WXK_TAB) {
        const int direction = event.ShiftDown() ? wxNavigationKeyEvent::IsBackward : wxNavigationKeyEvent::IsForward;
        (focus ? focus : m_window)->Navigate(direction);
        return;
    }
    if (!focus || key == WXK_NONE)
        return;  // Enter goes nowhere
    for (const wxEventType type : {wxEVT_KEY_DOWN, wxEVT_CHAR}) {
        wxKeyEvent handed(event);
        handed.SetEventType(type);
        handed.SetEventObject(focus);
        handed.m_keyCode = key;
        handed.m_uniChar = key >= WXK_SPACE && key < WXK_START ? key : WXK_NONE;
        focus->GetEventHandler()->ProcessEvent(handed);
    }
}

void cvBaseDialog::OnCommand(wxCommandEvent& event)
{
    // The command goes on to the window's own handlers whatever happens here.
    event.Skip();
    const auto found = std::find_if(m_buttons.begin(), m_buttons.end(),
                                    [&event](const cvToolBarButton& button) { return button.commandId == event.GetId(); });
    if (found != m_buttons.end() && found->text.empty() && found->ownerPage)
        ShowPage(found->ownerPage);
}

void cvBaseDialog::OnWindowDestroy(wxWindowDestroyEvent& event)
{
    event.Skip();
    if (event.GetEventObject() != m_window)
        return;  // a child's
    OnDestroy();
    Detach();
}

void cvBaseDialog::OnDestroy()
{
    // The page may refuse to be left, but its window goes with this one all the same.
    ShowPage(nullptr);
    m_currentPage = nullptr;
    DeleteAllAnchors();
    DestroyToolBar();
}
