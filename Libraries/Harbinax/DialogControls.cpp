#include "Harbinax/DialogControls.h"

#include "Harbinax/FilterEdit.h"
#include "Harbinax/Harbinax.h"
#include "Harbinax/ResourceImage.h"
#include "Harbinax/StaticLabel.h"
#include "HarbinaxCore/DialogItemKind.h"
#include "HarbinaxCore/StyleNames.h"
#include "Platform/NumberText.h"
#include "Platform/ResourceRegistry.h"
#include "PolyglottaWx/WindowIds.h"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/combobox.h>
#include <wx/gauge.h>
#include <wx/hyperlink.h>
#include <wx/listbox.h>
#include <wx/listctrl.h>
#include <wx/math.h>
#include <wx/notebook.h>
#include <wx/radiobut.h>
#include <wx/settings.h>
#include <wx/statbmp.h>
#include <wx/statbox.h>
#include <wx/statline.h>
#include <wx/stattext.h>

#include <algorithm>
#include <vector>

using namespace DialogStyle;

namespace {

// Dialog units of a one-line field (edit, closed combo box, button) in the usual templates.
constexpr int kFieldHeight = 14;

wxString Text(const std::string& utf8)
{
    return wxString::FromUTF8(utf8.data(), utf8.size());
}

std::string ItemName(const SDialogItem& item, std::size_t index)
{
    return "item " + Platform::LongToText(static_cast<long>(index) + 1) + " (id " +
           Platform::LongToText(item.id == 0xFFFF ? -1L : static_cast<long>(item.id)) + ", class \"" +
           item.windowClass + "\")";
}

bool Failed(std::string* error, const std::string& message)
{
    if (error)
        *error = message;
    return false;
}

long BorderStyle(const SDialogItem& item, long withBorder)
{
    if (item.exStyle & (WS_EX_CLIENTEDGE | WS_EX_STATICEDGE))
        return wxBORDER_SUNKEN;
    return (item.style & WS_BORDER) ? withBorder : static_cast<long>(wxBORDER_NONE);
}

// An image of the program's resources of that type, named by the title ("#131"); an empty
// bitmap when there is none.
wxBitmap ResourceImage(const char* type, const std::string& title)
{
    int id = 0;
    if (!CResourceRegistry::IdFromName(title, id))
        return wxBitmap();
    const wxImage image = LoadResourceImage(type, id);
    return image.IsOk() ? wxBitmap(image) : wxBitmap();
}

// GTK draws the box of a check box or radio button taller than a template line of 10 dialog
// units; such a control grows to its own height around the same middle.
wxWindow* FitHeight(wxWindow* control, const wxPoint& pos, const wxSize& size)
{
    const int best = control->GetBestSize().y;
    if (best > size.y)
        control->SetSize(pos.x, pos.y - (best - size.y) / 2, size.x, best);
    return control;
}

wxWindow* CreateButton(wxWindow* parent, int id, const SDialogItem& item, const wxPoint& pos, const wxSize& size)
{
    long style = 0;
    switch (item.style & BS_CENTER) {
    case BS_LEFT:
        style |= wxBU_LEFT;
        break;
    case BS_RIGHT:
        style |= wxBU_RIGHT;
        break;
    }
    switch (item.style & BS_VCENTER) {
    case BS_TOP:
        style |= wxBU_TOP;
        break;
    case BS_BOTTOM:
        style |= wxBU_BOTTOM;
        break;
    }
    if (item.style & BS_FLAT)
        style |= wxBORDER_NONE;
    auto* button = new wxButton(parent, id, Text(item.title), pos, size, style);
    if ((item.style & BS_TYPEMASK) == BS_DEFPUSHBUTTON)
        button->SetDefault();
    return button;
}

wxWindow* CreateCheckBox(wxWindow* parent, int id, const SDialogItem& item, const wxPoint& pos, const wxSize& size)
{
    long style = (item.style & BS_LEFTTEXT) ? wxALIGN_RIGHT : 0;
    switch (item.style & BS_TYPEMASK) {
    case BS_3STATE:
        style |= wxCHK_3STATE;
        break;
    case BS_AUTO3STATE:
        style |= wxCHK_3STATE | wxCHK_ALLOW_3RD_STATE_FOR_USER;
        break;
    }
    return FitHeight(new wxCheckBox(parent, id, Text(item.title), pos, size, style), pos, size);
}

wxWindow* CreateText(wxWindow* parent, int id, const SDialogItem& item, const wxPoint& pos, const wxSize& size)
{
    long style = wxST_NO_AUTORESIZE | BorderStyle(item, wxBORDER_SIMPLE);
    if (item.style & SS_SUNKEN)
        style = (style & ~wxBORDER_MASK) | wxBORDER_SUNKEN;
    switch (item.style & SS_TYPEMASK) {
    case SS_CENTER:
        style |= wxALIGN_CENTRE_HORIZONTAL;
        break;
    case SS_RIGHT:
        style |= wxALIGN_RIGHT;
        break;
    default:
        style |= wxALIGN_LEFT;
        break;
    }
    switch (item.style & SS_ELLIPSISMASK) {
    case SS_ENDELLIPSIS:
    case SS_WORDELLIPSIS:
        style |= wxST_ELLIPSIZE_END;
        break;
    case SS_PATHELLIPSIS:
        style |= wxST_ELLIPSIZE_MIDDLE;
        break;
    default:
        // GTK wraps every label; one that must not wrap is cut with an ellipsis instead.
        if ((item.style & SS_TYPEMASK) == SS_SIMPLE || (item.style & SS_TYPEMASK) == SS_LEFTNOWORDWRAP)
            style |= wxST_ELLIPSIZE_END;
        break;
    }
    const wxString title = Text(item.title);
    auto* text = new CStaticLabel(parent, id, (item.style & SS_NOPREFIX) ? wxControl::EscapeMnemonics(title) : title,
                                  pos, size, style);
    // A label beside a field stands in the middle of its line, as the field's text does.
    if (item.style & SS_CENTERIMAGE) {
        const int height = text->GetTextExtent(text->GetLabelText()).y;
        if (height < size.y)
            text->SetSize(pos.x, pos.y + (size.y - height) / 2, size.x, height);
    }
    return text;
}

wxWindow* CreatePlaceholder(wxWindow* parent, int id, const SDialogItem& item, const wxPoint& pos,
                            const wxSize& size)
{
    long style = BorderStyle(item, wxBORDER_SIMPLE);
    wxColour fill;
    switch (item.style & SS_TYPEMASK) {
    case SS_BLACKFRAME:
    case SS_GRAYFRAME:
    case SS_WHITEFRAME:
        style = wxBORDER_SIMPLE;
        break;
    case SS_ETCHEDFRAME:
        style = wxBORDER_THEME;
        break;
    case SS_BLACKRECT:
        fill = *wxBLACK;
        break;
    case SS_GRAYRECT:
        fill = wxSystemSettings::GetColour(wxSYS_COLOUR_BTNSHADOW);
        break;
    case SS_WHITERECT:
        fill = *wxWHITE;
        break;
    }
    auto* window = new wxWindow(parent, id, pos, size, style);
    if (fill.IsOk())
        window->SetBackgroundColour(fill);
    return window;
}

wxWindow* CreateEdit(wxWindow* parent, int id, const SDialogItem& item, const wxPoint& pos, const wxSize& size)
{
    long style = BorderStyle(item, 0);
    if (item.style & ES_MULTILINE) {
        style |= wxTE_MULTILINE;
        if (item.style & (WS_HSCROLL | ES_AUTOHSCROLL))
            style |= wxTE_DONTWRAP;
    }
    if (item.style & ES_PASSWORD)
        style |= wxTE_PASSWORD;
    if (item.style & ES_READONLY)
        style |= wxTE_READONLY;
    if (item.style & ES_CENTER)
        style |= wxTE_CENTRE;
    else if (item.style & ES_RIGHT)
        style |= wxTE_RIGHT;
    const wxString title = Text(item.title);
    if (!(item.style & (ES_NUMBER | ES_UPPERCASE | ES_LOWERCASE)))
        return new wxTextCtrl(parent, id, title, pos, size, style);
    auto* edit = new CFilterEdit(parent, id, wxString(), pos, size, style);
    if (item.style & ES_NUMBER)
        edit->SetAllowedChars("0123456789");
    if (item.style & ES_UPPERCASE)
        edit->SetUpperCase(true);
    else if (item.style & ES_LOWERCASE)
        edit->SetLowerCase(true);
    edit->ChangeValue(edit->FilterText(title));
    return edit;
}

wxWindow* CreateComboBox(wxWindow* parent, int id, const SDialogItem& item, const wxPoint& pos, const wxSize& size)
{
    long style = 0;
    switch (item.style & CBS_DROPDOWNLIST) {
    case CBS_SIMPLE:
        style |= wxCB_SIMPLE;
        break;
    case CBS_DROPDOWNLIST:
        style |= wxCB_READONLY;
        break;
    }
    if (item.style & CBS_SORT)
        style |= wxCB_SORT;
    // The template's height includes the dropped-down list; closed, the box is as high as a
    // button of the template, not the taller box of the GTK theme, so it keeps to its row.
    const int height = std::min(size.y, parent->ConvertDialogToPixels(wxSize(0, kFieldHeight)).y);
    return new wxComboBox(parent, id, wxString(), pos, wxSize(size.x, height), 0, nullptr, style);
}

wxWindow* CreateListBox(wxWindow* parent, int id, const SDialogItem& item, const wxPoint& pos, const wxSize& size)
{
    long style = BorderStyle(item, wxBORDER_THEME);
    if (item.style & LBS_EXTENDEDSEL)
        style |= wxLB_EXTENDED;
    else if (item.style & LBS_MULTIPLESEL)
        style |= wxLB_MULTIPLE;
    else
        style |= wxLB_SINGLE;
    if (item.style & LBS_SORT)
        style |= wxLB_SORT;
    if (item.style & LBS_DISABLENOSCROLL)
        style |= wxLB_ALWAYS_SB;
    if (item.style & WS_HSCROLL)
        style |= wxLB_HSCROLL;
    return new wxListBox(parent, id, pos, size, 0, nullptr, style);
}

wxWindow* CreateListView(wxWindow* parent, int id, const SDialogItem& item, const wxPoint& pos, const wxSize& size)
{
    long style = BorderStyle(item, wxBORDER_THEME);
    switch (item.style & LVS_TYPEMASK) {
    case LVS_ICON:
        style |= wxLC_ICON;
        break;
    case LVS_REPORT:
        style |= wxLC_REPORT;
        break;
    case LVS_SMALLICON:
        style |= wxLC_SMALL_ICON;
        break;
    case LVS_LIST:
        style |= wxLC_LIST;
        break;
    }
    if (item.style & LVS_SINGLESEL)
        style |= wxLC_SINGLE_SEL;
    if (item.style & LVS_SORTASCENDING)
        style |= wxLC_SORT_ASCENDING;
    else if (item.style & LVS_SORTDESCENDING)
        style |= wxLC_SORT_DESCENDING;
    if (item.style & LVS_EDITLABELS)
        style |= wxLC_EDIT_LABELS;
    if (item.style & LVS_NOCOLUMNHEADER)
        style |= wxLC_NO_HEADER;
    return new wxListCtrl(parent, id, pos, size, style);
}

wxWindow* CreateLink(wxWindow* parent, int id, const SDialogItem& item, const wxPoint& pos, const wxSize& size)
{
    // The target is the text until the owner sets another (wxHyperlinkCtrl::SetURL).
    const wxString title = Text(item.title);
    return new wxHyperlinkCtrl(parent, id, wxControl::EscapeMnemonics(title), title.empty() ? wxString(" ") : title,
                               pos, size, wxHL_ALIGN_LEFT | wxBORDER_NONE);
}

wxWindow* CreateStandard(EDialogItemKind kind, bool startsGroup, wxWindow* parent, int id, const SDialogItem& item,
                         const wxPoint& pos, const wxSize& size)
{
    switch (kind) {
    case EDialogItemKind::PushButton:
        return CreateButton(parent, id, item, pos, size);
    case EDialogItemKind::CheckBox:
        return CreateCheckBox(parent, id, item, pos, size);
    case EDialogItemKind::RadioButton:
        return FitHeight(new wxRadioButton(parent, id, Text(item.title), pos, size,
                                           (startsGroup ? wxRB_GROUP : 0) |
                                               ((item.style & BS_LEFTTEXT) ? wxALIGN_RIGHT : 0)),
                         pos, size);
    case EDialogItemKind::GroupBox:
        return new wxStaticBox(parent, id, Text(item.title), pos, size);
    case EDialogItemKind::Text:
        return CreateText(parent, id, item, pos, size);
    case EDialogItemKind::Icon:
    case EDialogItemKind::Bitmap: {
        // Shown in its own size, as the template's size only places it.
        const wxBitmap bitmap = ResourceImage(kind == EDialogItemKind::Icon ? "ICON" : "BITMAP", item.title);
        return new wxStaticBitmap(parent, id, bitmap, pos, bitmap.IsOk() ? wxDefaultSize : size);
    }
    case EDialogItemKind::HorizontalLine:
        return new wxStaticLine(parent, id, pos, wxSize(size.x, -1), wxLI_HORIZONTAL);
    case EDialogItemKind::VerticalLine:
        return new wxStaticLine(parent, id, pos, wxSize(-1, size.y), wxLI_VERTICAL);
    case EDialogItemKind::Placeholder:
        return CreatePlaceholder(parent, id, item, pos, size);
    case EDialogItemKind::Edit:
        return CreateEdit(parent, id, item, pos, size);
    case EDialogItemKind::ComboBox:
        return CreateComboBox(parent, id, item, pos, size);
    case EDialogItemKind::ListBox:
        return CreateListBox(parent, id, item, pos, size);
    case EDialogItemKind::ListView:
        return CreateListView(parent, id, item, pos, size);
    case EDialogItemKind::TabStrip:
        return new wxNotebook(parent, id, pos, size, (item.style & TCS_BOTTOM) ? wxNB_BOTTOM : 0);
    case EDialogItemKind::ProgressBar:
        return new wxGauge(parent, id, 100, pos, size,
                           ((item.style & PBS_VERTICAL) ? wxGA_VERTICAL : wxGA_HORIZONTAL) |
                               ((item.style & PBS_SMOOTH) ? wxGA_SMOOTH : 0));
    case EDialogItemKind::Link:
        return CreateLink(parent, id, item, pos, size);
    case EDialogItemKind::Unknown:
        break;
    }
    return nullptr;
}

}  // namespace

int CDialogControls::WindowId(int itemId)
{
    if (itemId == 0xFFFF || itemId == -1)
        return wxID_ANY;
    return CWindowIds::FromResourceId(itemId);
}

wxWindow* CDialogControls::FindItem(const wxWindow* window, int itemId)
{
    const int id = WindowId(itemId);
    if (!window || id == wxID_ANY)
        return nullptr;
    for (wxWindow* child : window->GetChildren()) {
        if (child->GetId() == id)
            return child;
    }
    return nullptr;
}

bool CDialogControls::CreateControls(const SDialogTemplate& dialogTemplate, wxWindow* window,
                                     const DialogControlFactories& factories, std::string* error)
{
    const std::vector<SDialogItem>& items = dialogTemplate.items;
    for (std::size_t i = 0; i < items.size(); ++i) {
        const SDialogItem& item = items[i];
        if (DialogItemKind(item) == EDialogItemKind::Unknown && !factories.count(item.id))
            return Failed(error, ItemName(item, i) + ": no control of this class");
    }

    const SDialogHeader& header = dialogTemplate.header;
    if ((header.style & DS_SHELLFONT) && header.pointSize > 0) {
        wxFontInfo font(header.pointSize);
        if (!header.typeface.empty())
            font.FaceName(Text(header.typeface));
        if (header.weight > 0)
            font.Weight(header.weight);
        font.Italic(header.italic != 0);
        window->SetFont(wxFont(font));
    }
    if (header.width > 0 && header.height > 0)
        window->SetClientSize(window->ConvertDialogToPixels(wxSize(header.width, header.height)));

    // wx measures a window's own font again for every conversion; one measurement serves all
    // items, converted as wx converts them.
    const wxSize unitBase = window->ConvertDialogToPixels(wxSize(4, 8));
    const auto toPixels = [&unitBase](int x, int y) {
        return wxPoint(x == wxDefaultCoord ? x : wxMulDivInt32(x, unitBase.x, 4),
                       y == wxDefaultCoord ? y : wxMulDivInt32(y, unitBase.y, 8));
    };
    std::vector<wxWindow*> created;
    for (std::size_t i = 0; i < items.size(); ++i) {
        const SDialogItem& item = items[i];
        const int id = WindowId(item.id);
        const wxPoint pos = toPixels(item.x, item.y);
        const wxPoint extent = toPixels(item.width, item.height);
        const wxSize size(extent.x, extent.y);
        const auto factory = factories.find(item.id);
        wxWindow* control =
            factory != factories.end()
                ? factory->second(window, id, item, pos, size)
                : CreateStandard(DialogItemKind(item), StartsRadioGroup(items, i), window, id, item, pos, size);
        if (!control) {
            for (wxWindow* done : created)
                done->Destroy();
            return Failed(error, ItemName(item, i) + ": the control could not be created");
        }
        created.push_back(control);
        if (!(item.style & WS_VISIBLE))
            control->Hide();
        if (item.style & WS_DISABLED)
            control->Disable();
    }
    return true;
}

bool CDialogControls::LoadResource(int dialogId, CDialogTemplate& dialogTemplate, std::string* error)
{
    std::string_view bytes;
    if (!CHarbinax::FindResource("DIALOG", dialogId, bytes))
        return Failed(error, "no dialog resource " + Platform::LongToText(dialogId));
    return dialogTemplate.LoadFromXml(bytes, error);
}
