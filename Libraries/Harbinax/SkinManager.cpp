#include "Harbinax/SkinManager.h"

#include "Harbinax/Harbinax.h"
#include "Harbinax/Skin.h"
#include "Harbinax/SkinFrame.h"
#include "Harbinax/WindowManagerDrag.h"
#include "Platform/XmlFile.h"
#include "Quillet/Logger.h"

#include <tinyxml.h>
#include <wx/dcclient.h>
#include <wx/dcmemory.h>
#include <wx/image.h>
#include <wx/menu.h>
#include <wx/settings.h>
#include <wx/weakref.h>
#include <wx/toplevel.h>

#include <fstream>
#include <iterator>
#include <vector>

// A line on the manager's logger, when it has one, with the source position of the call.
#define SKIN_LOG(level, ...)                  \
    do {                                      \
        if (m_logger) {                       \
            QUILLET_POS(*m_logger);           \
            m_logger->level(__VA_ARGS__);     \
        }                                     \
    } while (0)

namespace {

CSkinManager* instance = nullptr;

// Skin bitmaps are small; anything far larger is no skin and is not read into memory.
constexpr std::streamoff kMaxBitmapFile = 256 * 1024 * 1024;

bool ReadBitmapFile(const std::string& path, std::string& bytes, std::string& error)
{
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in) {
        error = "cannot open " + path;
        return false;
    }
    const std::streamoff size = in.tellg();
    if (size < 0 || size > kMaxBitmapFile) {
        error = path + " is no skin bitmap";
        return false;
    }
    bytes.resize(static_cast<std::size_t>(size));
    in.seekg(0);
    if (!in.read(bytes.data(), size)) {
        error = "cannot read " + path;
        return false;
    }
    return true;
}

// The bitmap file names a definition gives are relative to the folder of the XML file.
std::string BesideFile(const std::string& file, const std::string& name)
{
    if (!name.empty() && name[0] == '/')
        return name;
    const std::size_t slash = file.rfind('/');
    return slash == std::string::npos || slash == 0 ? name : file.substr(0, slash + 1) + name;
}

// The definition in a document that loaded; false with the reason otherwise.
bool DefinitionOf(bool loaded, const TiXmlDocument& doc, const std::string& source, SSkinDefinition& definition,
                  std::string& error)
{
    if (!loaded || !doc.RootElement()) {
        if (error.empty())
            error = source + " holds no element";
        return false;
    }
    if (!ReadSkinDefinition(*doc.RootElement(), definition, error)) {
        error = source + ": " + error;
        return false;
    }
    return true;
}

wxColour FromColorRef(std::uint32_t color)
{
    return wxColour(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
}

wxRect ToWx(const SSkinRect& rect)
{
    return wxRect(rect.x, rect.y, rect.width, rect.height);
}

wxStockCursor CursorFor(int code)
{
    switch (code) {
    case SKINHIT_LEFT:
    case SKINHIT_RIGHT:
        return wxCURSOR_SIZEWE;
    case SKINHIT_TOP:
    case SKINHIT_BOTTOM:
        return wxCURSOR_SIZENS;
    case SKINHIT_TOPLEFT:
    case SKINHIT_BOTTOMRIGHT:
        return wxCURSOR_SIZENWSE;
    case SKINHIT_TOPRIGHT:
    case SKINHIT_BOTTOMLEFT:
        return wxCURSOR_SIZENESW;
    default:
        return wxCURSOR_ARROW;
    }
}

// The caption button of a hit-test code; -1 for none and for the icon, which is no button.
int ButtonOf(int code)
{
    for (int button = SKIN_CLOSE; button < SKIN_BUTTON_COUNT; ++button)
        if (SkinButtonHitCode(button) == code)
            return button;
    return -1;
}

// The menu bar of a skinned frame, which the skin draws.
wxMenuBar* FrameMenuBar(const wxTopLevelWindow* window)
{
    const CSkinFrame* frame = dynamic_cast<const CSkinFrame*>(window);
    return frame ? frame->GetMenuBar() : nullptr;
}

// The same when it has a menu to show.
wxMenuBar* MenuBarOf(const wxTopLevelWindow* window)
{
    wxMenuBar* bar = FrameMenuBar(window);
    return bar && bar->GetMenuCount() > 0 ? bar : nullptr;
}

wxFont MenuFont()
{
    return wxSystemSettings::GetFont(wxSYS_DEFAULT_GUI_FONT);
}

// Room for one line of menu titles.
int MenuHeightOf(const wxTopLevelWindow* window)
{
    if (!MenuBarOf(window))
        return 0;
    const wxFont font = MenuFont();
    int width = 0;
    int height = 0;
    window->GetTextExtent("Xg", &width, &height, nullptr, nullptr, &font);
    return height + 8;
}

wxTopLevelWindow* WindowOf(wxEvent& event)
{
    return wxDynamicCast(event.GetEventObject(), wxTopLevelWindow);
}

}  // namespace

// --- instance --------------------------------------------------------------------------------

CSkinManager* CSkinManager::GetInstance()
{
    if (!instance)
        instance = new CSkinManager();
    return instance;
}

CSkinManager* CSkinManager::FindInstance()
{
    return instance;
}

void CSkinManager::DestroyInstance()
{
    if (!instance)
        return;
    instance->SetLogger(nullptr);
    delete instance;
    instance = nullptr;
}

CSkinManager::~CSkinManager()
{
    RemoveAllSkins();
    // Windows registered under a name that was never loaded have no skin to go with.
    RemoveSkin(std::string());
}

void CSkinManager::SetLogger(CLogger* logger)
{
    m_logger = logger;
}

// --- skins -----------------------------------------------------------------------------------

bool CSkinManager::LoadSkinFile(const std::string& name, const std::string& xmlPath)
{
    TiXmlDocument doc;
    std::string error;
    SSkinDefinition definition;
    const bool loaded = CXmlFile::Load(doc, xmlPath, &error);
    if (!DefinitionOf(loaded, doc, xmlPath, definition, error))
        return Fail(name, error);
    const std::string bitmapPath = BesideFile(xmlPath, definition.bitmapFile);
    std::string bytes;
    if (!ReadBitmapFile(bitmapPath, bytes, error))
        return Fail(name, error);
    return Install(name, definition, bytes, bitmapPath);
}

bool CSkinManager::LoadSkinResource(const std::string& name, int xmlResource, int bitmapResource)
{
    const std::string xmlName = "#" + std::to_string(xmlResource);
    const std::string bitmapName = "#" + std::to_string(bitmapResource);
    std::string_view xml;
    if (!CHarbinax::FindResource("RCDATA", xmlResource, xml))
        return Fail(name, "no resource " + xmlName);
    TiXmlDocument doc;
    std::string error;
    SSkinDefinition definition;
    const bool loaded = CXmlFile::LoadText(doc, xml, xmlName, &error);
    if (!DefinitionOf(loaded, doc, xmlName, definition, error))
        return Fail(name, error);
    std::string_view bitmap;
    if (bitmapResource == 0 || (!CHarbinax::FindResource("BITMAP", bitmapResource, bitmap) &&
                                !CHarbinax::FindResource("RCDATA", bitmapResource, bitmap)))
        return Fail(name, "no bitmap resource " + bitmapName);
    return Install(name, definition, bitmap, bitmapName);
}

bool CSkinManager::Install(const std::string& name, const SSkinDefinition& definition, std::string_view bitmap,
                           const std::string& bitmapSource)
{
    auto skin = std::make_unique<CSkin>(definition);
    std::string error;
    if (!skin->SetBitmap(bitmap, error))
        return Fail(name, bitmapSource + ": " + error);
    // Only now that the new skin is whole does the old one go.
    RemoveSkin(name);
    m_skins[name] = std::move(skin);
    SKIN_LOG(Info, "Skin %s loaded", name.c_str());
    return true;
}

bool CSkinManager::Fail(const std::string& name, const std::string& error)
{
    SKIN_LOG(Error, "Skin %s not loaded: %s", name.c_str(), error.c_str());
    return false;
}

bool CSkinManager::RemoveSkin(const std::string& name)
{
    std::vector<wxTopLevelWindow*> wearing;
    for (const auto& [window, record] : m_windows)
        if (name.empty() || record.skinName == name)
            wearing.push_back(const_cast<wxTopLevelWindow*>(window));
    for (wxTopLevelWindow* window : wearing)
        Unregister(window, false);
    return m_skins.erase(name) > 0;
}

void CSkinManager::RemoveAllSkins()
{
    while (!m_skins.empty())
        RemoveSkin(m_skins.begin()->first);
}

const CSkin* CSkinManager::FindSkin(const std::string& name) const
{
    const auto found = m_skins.find(name);
    return found == m_skins.end() ? nullptr : found->second.get();
}

// --- windows ---------------------------------------------------------------------------------

template <typename Hook>
void CSkinManager::ForEachHandler(Hook hook)
{
    hook(wxEVT_PAINT, &CSkinManager::OnPaint);
    hook(wxEVT_SIZE, &CSkinManager::OnSize);
    hook(wxEVT_ACTIVATE, &CSkinManager::OnActivate);
    hook(wxEVT_MOTION, &CSkinManager::OnMotion);
    hook(wxEVT_LEFT_DOWN, &CSkinManager::OnLeftDown);
    hook(wxEVT_LEFT_DCLICK, &CSkinManager::OnLeftDown);
    hook(wxEVT_LEFT_UP, &CSkinManager::OnLeftUp);
    hook(wxEVT_LEAVE_WINDOW, &CSkinManager::OnLeave);
    hook(wxEVT_MOUSE_CAPTURE_LOST, &CSkinManager::OnCaptureLost);
    hook(wxEVT_DESTROY, &CSkinManager::OnDestroy);
}

bool CSkinManager::RegisterWindow(wxTopLevelWindow* window, const std::string& skinName, bool pinButtons,
                                  bool rollUpButton)
{
    if (!window)
        return false;
    UnregisterWindow(window);
    const CSkin* skin = FindSkin(skinName);
    if (!skin)
        return false;
    SWindowRecord record;
    record.skinName = skinName;
    record.skin = skin;
    record.pinButtons = pinButtons;
    record.rollUpButton = rollUpButton;
    record.pinned = window->HasFlag(wxSTAY_ON_TOP);
    record.menuHeight = MenuHeightOf(window);
    SKIN_LOG(Debug, "menuHeight=%d", record.menuHeight);
    const wxSize before = window->GetSize();
    m_windows[window] = record;

    ForEachHandler([this, window](auto type, auto handler) { window->Bind(type, handler, this); });

    const SSkinBorderElement* b = skin->Definition().borders;
    UpdateSizeHints(window, record);
    window->SetSize(before.x + b[SKIN_LEFT].width + b[SKIN_RIGHT].width,
                    before.y + b[SKIN_TOP].height + b[SKIN_BOTTOM].height + record.menuHeight);
    UpdateShape(window, record);
    window->SendSizeEvent();
    window->Refresh();
    return true;
}

bool CSkinManager::UnregisterWindow(wxTopLevelWindow* window)
{
    return Unregister(window, false);
}

bool CSkinManager::Unregister(wxTopLevelWindow* window, bool windowGoing)
{
    const auto found = m_windows.find(window);
    if (found == m_windows.end())
        return false;
    ForEachHandler([this, window](auto type, auto handler) { window->Unbind(type, handler, this); });
    m_windows.erase(found);
    if (windowGoing)
        return true;
    if (window->HasCapture())
        window->ReleaseMouse();
    if (window->HasFlag(wxFRAME_SHAPED))
        window->SetShape(wxRegion());
    window->SetSizeHints(wxDefaultSize, wxDefaultSize);
    window->SetCursor(wxNullCursor);
    window->SendSizeEvent();
    window->Refresh();
    return true;
}

bool CSkinManager::IsRegistered(const wxTopLevelWindow* window) const
{
    return Find(window) != nullptr;
}

CSkinManager::SWindowRecord* CSkinManager::Find(const wxTopLevelWindow* window)
{
    const auto found = m_windows.find(window);
    return found == m_windows.end() ? nullptr : &found->second;
}

const CSkinManager::SWindowRecord* CSkinManager::Find(const wxTopLevelWindow* window) const
{
    const auto found = m_windows.find(window);
    return found == m_windows.end() ? nullptr : &found->second;
}

SSkinFrameState CSkinManager::State(const wxTopLevelWindow* window, const SWindowRecord& record) const
{
    SSkinFrameState state;
    state.caption = window->HasFlag(wxCAPTION);
    state.sysMenu = window->HasFlag(wxSYSTEM_MENU);
    state.minimizeBox = window->HasFlag(wxMINIMIZE_BOX);
    state.maximizeBox = window->HasFlag(wxMAXIMIZE_BOX);
    state.resizable = window->HasFlag(wxRESIZE_BORDER);
    state.active = record.active;
    state.maximized = window->IsMaximized();
    state.pinButtons = record.pinButtons;
    state.pinned = record.pinned;
    state.rollUpButton = record.rollUpButton;
    state.rolledUp = record.rolledUp;
    const wxSize size = window->GetSize();
    state.width = size.x;
    state.height = size.y;
    state.menuHeight = record.menuHeight;
    return state;
}

bool CSkinManager::GetFrameState(const wxTopLevelWindow* window, SSkinFrameState& state) const
{
    const SWindowRecord* record = Find(window);
    if (!record)
        return false;
    state = State(window, *record);
    return true;
}

bool CSkinManager::GetContentRect(const wxTopLevelWindow* window, wxRect& rect) const
{
    const SWindowRecord* record = Find(window);
    if (!record)
        return false;
    rect = ToWx(SkinClientRect(record->skin->Definition(), State(window, *record)));
    return true;
}

int CSkinManager::HitTest(const wxTopLevelWindow* window, const wxPoint& point) const
{
    const SWindowRecord* record = Find(window);
    if (!record)
        return SKINHIT_NOWHERE;
    return SkinHitTest(record->skin->Definition(), State(window, *record), point.x, point.y);
}

int CSkinManager::GetButtonState(const wxTopLevelWindow* window, int button) const
{
    const SWindowRecord* record = Find(window);
    return record && button >= 0 && button < SKIN_BUTTON_COUNT ? record->buttonStates[button] : BUTTON_NORMAL;
}

std::vector<wxRect> CSkinManager::GetMenuTitleRects(const wxTopLevelWindow* window) const
{
    std::vector<wxRect> titles;
    const SWindowRecord* record = Find(window);
    wxMenuBar* bar = MenuBarOf(window);
    if (!record || !bar || record->menuHeight == 0 || record->rolledUp)
        return titles;
    const SSkinBorderElement* b = record->skin->Definition().borders;
    const wxFont font = MenuFont();
    int x = b[SKIN_LEFT].width + 2;
    for (std::size_t i = 0; i < bar->GetMenuCount(); ++i) {
        int width = 0;
        int height = 0;
        window->GetTextExtent(bar->GetMenuLabelText(i), &width, &height, nullptr, nullptr, &font);
        titles.emplace_back(x, b[SKIN_TOP].height, width + 16, record->menuHeight);
        x += width + 16;
    }
    return titles;
}

// --- frame -------------------------------------------------------------------------------------

void CSkinManager::Paint(wxTopLevelWindow* window, const SWindowRecord& record, wxDC& dc) const
{
    const CSkin& skin = *record.skin;
    const SSkinDefinition& definition = skin.Definition();
    const SSkinFrameState state = State(window, record);

    // The content's background, menu strip included, where no child covers it.
    SSkinRect content = SkinClientRect(definition, state);
    content.y -= state.rolledUp ? 0 : record.menuHeight;
    content.height += state.rolledUp ? 0 : record.menuHeight;
    dc.SetPen(*wxTRANSPARENT_PEN);
    dc.SetBrush(wxBrush(window->GetBackgroundColour()));
    dc.DrawRectangle(ToWx(content));

    // The menu strip: the menu bar's titles, greyed where a whole menu is disabled.
    if (!state.rolledUp && record.menuHeight > 0) {
        const wxRect strip(content.x, content.y, content.width, record.menuHeight);
        dc.SetBrush(wxBrush(wxSystemSettings::GetColour(wxSYS_COLOUR_MENUBAR)));
        dc.DrawRectangle(strip);
        wxMenuBar* bar = MenuBarOf(window);
        const std::vector<wxRect> titles = GetMenuTitleRects(window);
        dc.SetFont(MenuFont());
        for (std::size_t i = 0; i < titles.size(); ++i) {
            dc.SetTextForeground(wxSystemSettings::GetColour(bar->IsEnabledTop(i) ? wxSYS_COLOUR_MENUTEXT
                                                                                 : wxSYS_COLOUR_GRAYTEXT));
            const wxString label = bar->GetMenuLabelText(i);
            dc.DrawText(label, titles[i].x + 8, titles[i].y + (titles[i].height - dc.GetCharHeight()) / 2);
        }
    }

    wxMemoryDC source;
    source.SelectObjectAsSource(skin.Bitmap());
    for (const SSkinPiece& piece : SkinFramePieces(definition, state.width, state.height)) {
        const SSkinBorderElement& element = definition.borders[piece.element];
        const SSkinRect& from = state.active ? element.active : element.inactive;
        if (!from.IsEmpty())
            dc.Blit(piece.place.x, piece.place.y, piece.place.width, piece.place.height, &source, from.x, from.y,
                    wxCOPY, true);
    }
    if (!state.caption)
        return;

    // Caption text, one line, with the shadow under an active caption unless it is magenta.
    const wxString title = window->GetTitle().BeforeFirst('\n');
    const int right = state.width - definition.borders[SKIN_TOPRIGHT].width - definition.captionOffsetX;
    const wxRect textRect(definition.captionOffsetX, definition.captionOffsetY, right - definition.captionOffsetX,
                          definition.borders[SKIN_TOP].height - definition.captionOffsetY);
    dc.SetFont(skin.CaptionFont());
    dc.SetBackgroundMode(wxBRUSHSTYLE_TRANSPARENT);
    if (state.active && definition.shadeCaption != SSkinDefinition::kMagenta) {
        wxDCClipper clip(dc, wxRect(textRect.x + 1, textRect.y + 1, textRect.width + 1, textRect.height));
        dc.SetTextForeground(FromColorRef(definition.shadeCaption));
        dc.DrawText(title, textRect.x + 1, textRect.y + 1);
    }
    {
        wxDCClipper clip(dc, textRect);
        dc.SetTextForeground(FromColorRef(state.active ? definition.activeCaption : definition.inactiveCaption));
        dc.DrawText(title, textRect.GetPosition());
    }

    const SSkinRect iconRect = SkinButtonRect(definition, state, SKIN_ICON);
    // The window's icon nearest in size, a larger one rather than a smaller.
    const wxIcon icon = iconRect.IsEmpty() ? wxIcon()
                                           : window->GetIcons().GetIcon(wxSize(iconRect.width, iconRect.height),
                                                                        wxIconBundle::FALLBACK_NEAREST_LARGER);
    if (icon.IsOk()) {
        wxBitmap picture(icon);
        if (picture.GetWidth() != iconRect.width || picture.GetHeight() != iconRect.height)
            picture = wxBitmap(picture.ConvertToImage().Scale(iconRect.width, iconRect.height, wxIMAGE_QUALITY_HIGH));
        dc.DrawBitmap(picture, iconRect.x, iconRect.y, true);
    }
    for (int button : {SKIN_CLOSE, SKIN_RESTORE, SKIN_MIN, SKIN_MAX, SKIN_PIN1, SKIN_PIN2, SKIN_ROLLUP}) {
        const SSkinRect place = SkinButtonRect(definition, state, button);
        if (place.IsEmpty())
            continue;
        const SSkinButton& b = definition.buttons[button];
        const int buttonState = record.buttonStates[button];
        const SSkinRect& from = buttonState == BUTTON_PRESSED ? b.pressed
                                : buttonState == BUTTON_HOVER ? b.hover
                                : state.active                ? b.active
                                                              : b.inactive;
        if (!from.IsEmpty())
            dc.StretchBlit(place.x, place.y, place.width, place.height, &source, from.x, from.y, from.width,
                           from.height, wxCOPY, true);
    }
}

void CSkinManager::UpdateShape(wxTopLevelWindow* window, const SWindowRecord& record)
{
    const SSkinDefinition& definition = record.skin->Definition();
    const SSkinFrameState state = State(window, record);
    SSkinRect content = SkinClientRect(definition, state);
    SKIN_LOG(Debug, "clientRect=%d x %d", content.width, content.height);
    if (!window->HasFlag(wxFRAME_SHAPED))
        return;
    // The content with its menu strip, and the opaque pixels of every frame piece.
    content.y = definition.borders[SKIN_TOP].height;
    content.height = std::max(0, state.height - content.y - definition.borders[SKIN_BOTTOM].height);
    wxRegion shape(ToWx(content));
    for (const SSkinPiece& piece : SkinFramePieces(definition, state.width, state.height)) {
        wxRegion part = record.skin->PieceRegion(piece.element);
        part.Offset(piece.place.x, piece.place.y);
        part.Intersect(ToWx(piece.place));
        shape.Union(part);
    }
    window->SetShape(shape);
}

void CSkinManager::UpdateSizeHints(wxTopLevelWindow* window, const SWindowRecord& record)
{
    const SSkinDefinition& definition = record.skin->Definition();
    const SSkinFrameState state = State(window, record);
    const int minWidth = SkinMinimumWidth(definition, state);
    SKIN_LOG(Debug, "minimum width %d for a window %d wide", minWidth, state.width);
    if (record.rolledUp) {
        const int height = SkinRolledUpHeight(definition);
        window->SetSizeHints(minWidth, height, -1, height);
    } else {
        window->SetSizeHints(minWidth, SkinMinimumHeight(definition, state));
    }
}

void CSkinManager::SetButtonStates(wxTopLevelWindow* window, SWindowRecord& record,
                                   const int (&states)[SKIN_BUTTON_COUNT])
{
    const SSkinFrameState state = State(window, record);
    for (int button = 0; button < SKIN_BUTTON_COUNT; ++button) {
        if (record.buttonStates[button] == states[button])
            continue;
        record.buttonStates[button] = states[button];
        const SSkinRect place = SkinButtonRect(record.skin->Definition(), state, button);
        if (!place.IsEmpty())
            window->RefreshRect(ToWx(place), false);
    }
}

void CSkinManager::Unroll(wxTopLevelWindow* window, SWindowRecord& record)
{
    if (!record.rolledUp)
        return;
    record.rolledUp = false;
    const int height = record.heightBeforeRollUp;
    record.heightBeforeRollUp = 0;
    UpdateSizeHints(window, record);
    window->SetSize(window->GetSize().x, height);
}

// Opens the menu whose title is under the point, below its title. wx shows only menus that
// belong to no menu bar, so the menu leaves the bar while it is open.
void CSkinManager::OpenMenu(wxTopLevelWindow* window, const wxPoint& point)
{
    const std::vector<wxRect> titles = GetMenuTitleRects(window);
    wxMenuBar* bar = MenuBarOf(window);
    for (std::size_t i = 0; i < titles.size(); ++i) {
        if (!titles[i].Contains(point) || !bar->IsEnabledTop(i))
            continue;
        const wxString label = bar->GetMenuLabel(i);
        wxMenu* menu = bar->Remove(i);
        const wxWeakRef<wxTopLevelWindow> alive(window);
        window->PopupMenu(menu, titles[i].GetBottomLeft() + wxPoint(0, 1));
        // The window may have gone with its menu bar while the menu was open.
        if (alive && FrameMenuBar(window) == bar)
            bar->Insert(i, menu, label);
        else
            delete menu;
        return;
    }
}

// The action of a caption button released over itself.
void CSkinManager::Press(wxTopLevelWindow* window, SWindowRecord& record, int button)
{
    switch (button) {
    case SKIN_CLOSE:
        window->CallAfter([window] { window->Close(); });
        break;
    case SKIN_MIN:
        Unroll(window, record);
        window->Iconize(true);
        break;
    case SKIN_MAX:
        Unroll(window, record);
        window->Maximize(true);
        break;
    case SKIN_RESTORE:
        record.rolledUp = false;
        UpdateSizeHints(window, record);
        window->Maximize(false);
        break;
    case SKIN_PIN1:
    case SKIN_PIN2:
        record.pinned = !record.pinned;
        window->SetWindowStyleFlag(record.pinned ? window->GetWindowStyleFlag() | wxSTAY_ON_TOP
                                                 : window->GetWindowStyleFlag() & ~wxSTAY_ON_TOP);
        window->Refresh();
        break;
    case SKIN_ROLLUP:
        if (record.rolledUp) {
            Unroll(window, record);
        } else {
            record.heightBeforeRollUp = window->GetSize().y;
            record.rolledUp = true;
            UpdateSizeHints(window, record);
            window->SetSize(window->GetSize().x, SkinRolledUpHeight(record.skin->Definition()));
        }
        window->Refresh();
        break;
    default:
        break;
    }
}

// --- events ------------------------------------------------------------------------------------

void CSkinManager::OnPaint(wxPaintEvent& event)
{
    wxTopLevelWindow* window = WindowOf(event);
    const SWindowRecord* record = Find(window);
    if (!record || !record->skin->HasBitmap()) {
        event.Skip();
        return;
    }
    wxPaintDC dc(window);
    Paint(window, *record, dc);
}

void CSkinManager::OnSize(wxSizeEvent& event)
{
    event.Skip();
    wxTopLevelWindow* window = WindowOf(event);
    if (SWindowRecord* record = Find(window)) {
        const int menuHeight = MenuHeightOf(window);
        if (menuHeight != record->menuHeight) {
            record->menuHeight = menuHeight;
            SKIN_LOG(Debug, "menuHeight=%d", menuHeight);
            UpdateSizeHints(window, *record);
        }
        UpdateShape(window, *record);
        window->Refresh();
    }
}

void CSkinManager::OnActivate(wxActivateEvent& event)
{
    event.Skip();
    wxTopLevelWindow* window = WindowOf(event);
    if (SWindowRecord* record = Find(window)) {
        record->active = event.GetActive();
        window->Refresh();
    }
}

void CSkinManager::OnMotion(wxMouseEvent& event)
{
    event.Skip();
    wxTopLevelWindow* window = WindowOf(event);
    SWindowRecord* record = Find(window);
    if (!record)
        return;
    const int code = HitTest(window, event.GetPosition());
    window->SetCursor(wxCursor(CursorFor(code)));
    int states[SKIN_BUTTON_COUNT] = {};
    const int button = ButtonOf(code);
    if (button >= 0)
        states[button] = record->buttonStates[button] == BUTTON_PRESSED ? BUTTON_PRESSED : BUTTON_HOVER;
    SetButtonStates(window, *record, states);
}

void CSkinManager::OnLeftDown(wxMouseEvent& event)
{
    wxTopLevelWindow* window = WindowOf(event);
    SWindowRecord* record = Find(window);
    if (!record) {
        event.Skip();
        return;
    }
    const int code = HitTest(window, event.GetPosition());
    const wxPoint screen = window->ClientToScreen(event.GetPosition());
    const int button = ButtonOf(code);
    if (code == SKINHIT_CAPTION) {
        window->Raise();
        if (!window->IsMaximized() && !BeginWindowMoveDrag(window, 1, screen))
            SKIN_LOG(Warn, "the window system takes no move");
    } else if (button >= 0) {
        int states[SKIN_BUTTON_COUNT] = {};
        states[button] = BUTTON_PRESSED;
        SetButtonStates(window, *record, states);
        if (!window->HasCapture())
            window->CaptureMouse();
    } else if (code == SKINHIT_MENU) {
        OpenMenu(window, event.GetPosition());
    } else if (const int command = SkinSizeCommand(code)) {
        if (!BeginWindowResizeDrag(window, command, 1, screen))
            SKIN_LOG(Warn, "the window system takes no resize");
    } else {
        event.Skip();
    }
}

void CSkinManager::OnLeftUp(wxMouseEvent& event)
{
    event.Skip();
    wxTopLevelWindow* window = WindowOf(event);
    SWindowRecord* record = Find(window);
    if (!record)
        return;
    const wxPoint point = event.GetPosition();
    SKIN_LOG(Debug, "LButtonUp x:%d y:%d", point.x, point.y);
    if (window->HasCapture())
        window->ReleaseMouse();
    const SSkinFrameState state = State(window, *record);
    int pressed = -1;
    for (int button = 0; button < SKIN_BUTTON_COUNT; ++button)
        if (record->buttonStates[button] == BUTTON_PRESSED &&
            SkinButtonRect(record->skin->Definition(), state, button).Contains(point.x, point.y))
            pressed = button;
    const int normal[SKIN_BUTTON_COUNT] = {};
    SetButtonStates(window, *record, normal);
    if (pressed >= 0)
        Press(window, *record, pressed);
}

void CSkinManager::OnLeave(wxMouseEvent& event)
{
    event.Skip();
    wxTopLevelWindow* window = WindowOf(event);
    SWindowRecord* record = Find(window);
    if (!record || window->HasCapture())
        return;
    const int normal[SKIN_BUTTON_COUNT] = {};
    SetButtonStates(window, *record, normal);
}

void CSkinManager::OnCaptureLost(wxMouseCaptureLostEvent& event)
{
    wxTopLevelWindow* window = WindowOf(event);
    if (SWindowRecord* record = Find(window)) {
        const int normal[SKIN_BUTTON_COUNT] = {};
        SetButtonStates(window, *record, normal);
    }
}

void CSkinManager::OnDestroy(wxWindowDestroyEvent& event)
{
    event.Skip();
    if (wxTopLevelWindow* window = WindowOf(event))
        Unregister(window, true);
}
