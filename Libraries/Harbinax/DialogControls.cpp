#include "Harbinax/DialogControls.h"

#include "Harbinax/FilterEdit.h"
#include "Harbinax/Harbinax.h"
#include "Harbinax/ResourceImage.h"
#include "Harbinax/StaticLabel.h"
#include "HarbinaxCore/DialogItemKind.h"
#include "HarbinaxCore/EdgeMap.h"
#include "HarbinaxCore/StyleNames.h"
#include "Platform/NumberText.h"
#include "Platform/ResourceRegistry.h"
#include "PolyglottaWx/WindowIds.h"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/clntdata.h>
#include <wx/combo.h>
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
#include <wx/toplevel.h>

#include <algorithm>
#include <vector>

// The calls of GTK that measure a control and set a text box's margins; GTK's development headers
// are not installed with wx's.
struct SGtkBorder {
    std::int16_t left = 0;
    std::int16_t right = 0;
    std::int16_t top = 0;
    std::int16_t bottom = 0;
};
extern "C" {
void gtk_widget_get_preferred_height(GtkWidget* widget, int* minimum, int* natural);
void* gtk_widget_get_style_context(GtkWidget* widget);
int gtk_style_context_get_state(void* context);
void gtk_style_context_get_padding(void* context, int state, SGtkBorder* padding);
void gtk_style_context_get_border(void* context, int state, SGtkBorder* border);
GtkWidget* gtk_entry_new();
void* g_object_ref_sink(void* object);
void g_object_unref(void* object);
void gtk_text_view_set_left_margin(GtkWidget* view, int margin);
void gtk_text_view_set_right_margin(GtkWidget* view, int margin);
}

using namespace DialogStyle;

namespace {

// The average character width in pixels of the classic dialog font that templates were drawn
// with: four horizontal dialog units.
constexpr int kClassicCharWidth = 6;

// Pixels a title bar takes besides its title: the window's icon and its buttons.
constexpr int kTitleBarButtons = 120;

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
    return new wxCheckBox(parent, id, Text(item.title), pos, size, style);
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
    return new CStaticLabel(parent, id, (item.style & SS_NOPREFIX) ? wxControl::EscapeMnemonics(title) : title, pos,
                            size, style);
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

// The theme's padding of a widget's content: for a text field, between its frame and its text.
SGtkBorder Padding(GtkWidget* widget)
{
    void* context = gtk_widget_get_style_context(widget);
    SGtkBorder padding;
    gtk_style_context_get_padding(context, gtk_style_context_get_state(context), &padding);
    return padding;
}

// A box of several lines keeps its text as far from its frame as a one-line field does; GTK's
// text view of its own starts right at the frame.
void KeepOneLineMargins(wxTextCtrl& box)
{
    GtkWidget* field = gtk_entry_new();
    g_object_ref_sink(field);
    const SGtkBorder padding = Padding(field);
    g_object_unref(field);
    gtk_text_view_set_left_margin(box.GetConnectWidget(), padding.left);
    gtk_text_view_set_right_margin(box.GetConnectWidget(), padding.right);
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
        return new wxRadioButton(parent, id, Text(item.title), pos, size,
                                 (startsGroup ? wxRB_GROUP : 0) | ((item.style & BS_LEFTTEXT) ? wxALIGN_RIGHT : 0));
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


// What the template gave a control (or the window its client area), in pixels of the window's
// font, kept with the control so that the layout can be fitted again when its texts change.
class CTemplateSlot : public wxClientData {
public:
    CTemplateSlot(const wxRect& rect, EDialogItemKind kind, unsigned long style)
        : rect(rect), kind(kind), style(style)
    {
    }
    const wxRect rect;
    const EDialogItemKind kind;
    const unsigned long style;
};

CTemplateSlot* SlotOf(const wxWindow* window)
{
    return dynamic_cast<CTemplateSlot*>(window->wxEvtHandler::GetClientObject());
}

// The room a control needs for its whole text or its natural GTK size; 0 where it takes any.
struct SNeed {
    wxWindow* control;
    const CTemplateSlot* slot;
    wxSize need;
    bool oneLine;  // a field, button or box of one line: its height stays its own, centred in the row
};

// The words of a label broken into lines of at most width pixels, as GTK wraps it.
int WrappedLineCount(const wxWindow& window, const wxString& text, int width)
{
    int lines = 0;
    for (const wxString& paragraph : wxSplit(text, '\n', '\0')) {
        ++lines;
        int used = 0;
        const int space = window.GetTextExtent(" ").x;
        for (const wxString& word : wxSplit(paragraph, ' ', '\0')) {
            const int extent = window.GetTextExtent(word).x;
            if (used > 0 && used + space + extent > width) {
                ++lines;
                used = extent;
            } else {
                used += (used > 0 ? space : 0) + extent;
            }
        }
    }
    return std::max(lines, 1);
}

wxSize TextNeed(const wxStaticText& text, const wxRect& slot)
{
    const wxString label = text.GetLabelText();
    if (label.empty())
        return wxSize();
    const int lineHeight = text.GetCharHeight();
    const int border = text.GetSize().x - text.GetClientSize().x;
    int widest = 0;
    int longestWord = 0;
    for (const wxString& line : wxSplit(label, '\n', '\0')) {
        widest = std::max(widest, text.GetTextExtent(line).x);
        for (const wxString& word : wxSplit(line, ' ', '\0'))
            longestWord = std::max(longestWord, text.GetTextExtent(word).x);
    }
    // A label of one template line keeps to one line, as does one that GTK cuts with an
    // ellipsis instead of wrapping; a taller one wraps its words and grows downwards for them.
    if (slot.height < 2 * lineHeight || text.IsEllipsized())
        // GTK may lay the text out a pixel wider than wx measures it.
        return wxSize(std::max(widest + border, text.GetBestSize().x),
                      lineHeight * static_cast<int>(wxSplit(label, '\n', '\0').size()) + border);
    const int width = std::max(slot.width - border, longestWord);
    return wxSize(longestWord + border, WrappedLineCount(text, label, width) * lineHeight + border);
}

// The least height GTK draws a native control in, whether or not it is on screen yet; wx's best
// size of a text field is its font's, lower than the theme's frame around it.
int GtkMinimumHeight(const wxWindow& control)
{
    int minimum = 0;
    int natural = 0;
    gtk_widget_get_preferred_height(control.GetHandle(), &minimum, &natural);
    return minimum;
}

// GTK's own size of the button, without wx's default width for a row of dialog buttons.
wxSize ButtonNeed(wxButton& button)
{
    const long style = button.GetWindowStyleFlag();
    button.SetWindowStyleFlag(style | wxBU_EXACTFIT);
    button.InvalidateBestSize();
    const wxSize best = button.GetBestSize();
    button.SetWindowStyleFlag(style);
    button.InvalidateBestSize();
    return best;
}

// The width a field needs for the widest text it takes within its frame and padding; 0 for a
// field whose text may scroll.
int FieldWidth(const CFilterEdit& edit)
{
    const wxString widest = edit.WidestAcceptedText();
    if (widest.empty())
        return 0;
    const SGtkBorder padding = Padding(edit.GetHandle());
    void* context = gtk_widget_get_style_context(edit.GetHandle());
    SGtkBorder border;
    gtk_style_context_get_border(context, gtk_style_context_get_state(context), &border);
    // GTK keeps the caret's pixel beside the text.
    return edit.GetTextExtent(widest).x + padding.left + padding.right + border.left + border.right + 1;
}

SNeed NeedOf(wxWindow* control, const CTemplateSlot& slot)
{
    SNeed need{control, &slot, wxSize(), false};
    if (auto* text = dynamic_cast<wxStaticText*>(control)) {
        need.need = TextNeed(*text, slot.rect);
        // A label the template ends in an ellipsis keeps its width: a longer text is shortened
        // (the label's tip has it whole) rather than pushing its row apart.
        if (slot.style & SS_ELLIPSISMASK)
            need.need.x = 0;
    } else if (auto* box = dynamic_cast<wxStaticBox*>(control)) {
        // The title stands between the corner and a little of the frame on both sides.
        const wxString title = box->GetLabelText();
        if (!title.empty())
            need.need.x = box->GetTextExtent(title).x + 2 * box->GetCharHeight();
    } else if (auto* button = dynamic_cast<wxButton*>(control)) {
        need.need = ButtonNeed(*button);
        need.oneLine = true;
    } else if (dynamic_cast<wxCheckBox*>(control) || dynamic_cast<wxRadioButton*>(control)) {
        control->InvalidateBestSize();
        need.need = control->GetBestSize();
        need.oneLine = true;
    } else if (dynamic_cast<wxComboCtrl*>(control)) {
        // Drawn by wx over a window of its own, as high as wx makes GTK's text field.
        need.need.y = control->GetBestSize().y;
        need.oneLine = true;
    } else if (dynamic_cast<wxChoice*>(control) || dynamic_cast<wxTextCtrl*>(control)) {
        // Fields take the template's width; their height is at least GTK's, which holds the
        // theme's frame and padding around the text. A box of several lines may be taller.
        need.need.y = GtkMinimumHeight(*control);
        need.oneLine = !control->HasFlag(wxTE_MULTILINE);
        // A field that takes only certain characters (a number's) shows its longest text whole: a
        // cut number reads wrong.
        if (const auto* edit = dynamic_cast<CFilterEdit*>(control); edit && need.oneLine)
            need.need.x = FieldWidth(*edit);
    }
    return need;
}

void PlaceFitted(const SNeed& need, const CEdgeMap& across, const CEdgeMap& down)
{
    const wxRect& slot = need.slot->rect;
    const wxPoint origin(across(slot.x), down(slot.y));
    wxRect rect(origin, wxSize(across(slot.GetRight() + 1) - origin.x, down(slot.GetBottom() + 1) - origin.y));
    switch (need.slot->kind) {
    case EDialogItemKind::Icon:
    case EDialogItemKind::Bitmap:
        need.control->Move(rect.GetPosition());
        return;
    case EDialogItemKind::HorizontalLine:
        rect.height = need.control->GetSize().y;
        break;
    case EDialogItemKind::VerticalLine:
        rect.width = need.control->GetSize().x;
        break;
    case EDialogItemKind::Text:
        // A label beside a field stands in the middle of its line, as the field's text does.
        if ((need.slot->style & SS_CENTERIMAGE) && need.need.y > 0 && need.need.y < rect.height) {
            rect.y += (rect.height - need.need.y) / 2;
            rect.height = need.need.y;
        }
        break;
    default:
        if (need.oneLine) {
            const int height = std::min(rect.height, std::max(need.need.y, slot.height));
            rect.y += (rect.height - height) / 2;
            rect.height = height;
        }
        break;
    }
    need.control->SetSize(rect);
}

// The one-line fields a label beside them names.
bool IsOneLineField(const SNeed& need)
{
    return need.oneLine && (dynamic_cast<const wxChoice*>(need.control) ||
                            dynamic_cast<const wxTextCtrl*>(need.control) ||
                            dynamic_cast<const wxComboCtrl*>(need.control));
}

// A label of one line whose nearest neighbour to the right in its row is a field stands in the
// middle of the field's height, as the field's own text does: fields grow to GTK's height, the
// label's template row did not.
void CentreLabelsBesideFields(const std::vector<SNeed>& needs)
{
    for (const SNeed& label : needs) {
        if (label.slot->kind != EDialogItemKind::Text || label.need.y <= 0 ||
            label.need.y >= 2 * label.control->GetCharHeight())
            continue;
        const wxRect& slot = label.slot->rect;
        const SNeed* beside = nullptr;
        for (const SNeed& other : needs) {
            const wxRect& rect = other.slot->rect;
            const bool right = rect.x > slot.GetRight() && rect.y <= slot.GetBottom() && rect.GetBottom() >= slot.y;
            if (right && (!beside || rect.x < beside->slot->rect.x))
                beside = &other;
        }
        if (!beside || !IsOneLineField(*beside))
            continue;
        const wxRect field = beside->control->GetRect();
        const wxRect placed = label.control->GetRect();
        if (label.need.y <= field.height)
            label.control->SetSize(placed.x, field.y + (field.height - label.need.y) / 2, placed.width, label.need.y);
    }
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
    if (header.width > 0 && header.height > 0) {
        const wxSize client = window->ConvertDialogToPixels(wxSize(header.width, header.height));
        window->SetClientSize(client);
        window->wxEvtHandler::SetClientObject(
            new CTemplateSlot(wxRect(wxPoint(0, 0), client), EDialogItemKind::Unknown, header.style));
    }

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
        if (auto* box = dynamic_cast<wxTextCtrl*>(control); box && box->IsMultiLine())
            KeepOneLineMargins(*box);
        const EDialogItemKind kind = DialogItemKind(item);
        // The template's height of a combo box includes its dropped-down list; closed, it holds
        // one line.
        wxSize slot = size;
        if (kind == EDialogItemKind::ComboBox)
            slot.y = std::min(size.y, toPixels(0, kFieldHeight).y);
        control->wxEvtHandler::SetClientObject(new CTemplateSlot(wxRect(pos, slot), kind, item.style));
        if (!(item.style & WS_VISIBLE))
            control->Hide();
        if (item.style & WS_DISABLED)
            control->Disable();
    }
    FitControls(window);
    return true;
}

void CDialogControls::FitControls(wxWindow* window)
{
    const wxSize client = FitControlsInside(window);
    if (client != wxSize())
        window->SetClientSize(client);
}

wxSize CDialogControls::FitControlsInside(wxWindow* window)
{
    if (!window)
        return wxSize();
    std::vector<SNeed> needs;
    CEdgeMap across;
    CEdgeMap down;
    for (wxWindow* child : window->GetChildren()) {
        const CTemplateSlot* slot = child->IsTopLevel() ? nullptr : SlotOf(child);
        if (!slot)
            continue;
        needs.push_back(NeedOf(child, *slot));
        const wxRect& rect = slot->rect;
        across.AddSpan(rect.x, rect.x + rect.width, needs.back().need.x);
        down.AddSpan(rect.y, rect.y + rect.height, needs.back().need.y);
    }
    const CTemplateSlot* client = SlotOf(window);
    if (client) {
        across.AddSpan(0, client->rect.width, 0);
        down.AddSpan(0, client->rect.height, 0);
    } else {
        across.AddEdge(0);
        down.AddEdge(0);
    }
    across.Solve();
    down.Solve();
    for (const SNeed& need : needs)
        PlaceFitted(need, across, down);
    CentreLabelsBesideFields(needs);
    return client ? wxSize(across(client->rect.width), down(client->rect.height)) : wxSize();
}

int CDialogControls::ColumnWidth(const wxWindow& list, const wxString& heading, int templatePixels)
{
    const int charWidth = list.ConvertDialogToPixels(wxSize(4, 0)).x;
    const int scaled = wxMulDivInt32(templatePixels, charWidth, kClassicCharWidth);
    // The header draws its text between a margin on both sides.
    return std::max(scaled, list.GetTextExtent(heading).x + 2 * list.GetCharHeight());
}

void CDialogControls::FitColumns(wxListCtrl& list, const std::vector<int>& templatePixels)
{
    const int count = list.GetColumnCount();
    std::vector<int> needs(count);
    std::vector<int> widths(count);
    int total = 0;
    int spare = 0;
    for (int column = 0; column < count; ++column) {
        wxListItem item;
        item.SetMask(wxLIST_MASK_TEXT);
        list.GetColumn(column, item);
        needs[column] = ColumnWidth(list, item.GetText(), 0);
        // A cell draws its text between a margin on both sides, as the header does.
        for (int row = 0; row < list.GetItemCount(); ++row)
            needs[column] = std::max(needs[column], list.GetTextExtent(list.GetItemText(row, column)).x +
                                                        list.GetCharHeight());
        const int given = column < static_cast<int>(templatePixels.size()) ? templatePixels[column] : 0;
        widths[column] = std::max(ColumnWidth(list, item.GetText(), given), needs[column]);
        total += widths[column];
        spare += widths[column] - needs[column];
    }
    const int room = list.GetClientSize().x - wxSystemSettings::GetMetric(wxSYS_VSCROLL_X, &list);
    const int excess = std::min(total - room, spare);
    for (int column = 0; column < count; ++column) {
        // Rounded up, so that the columns together fit the room where their texts allow.
        const int given = widths[column] - needs[column];
        const int taken = excess > 0 ? static_cast<int>((static_cast<long long>(given) * excess + spare - 1) / spare) : 0;
        list.SetColumnWidth(column, widths[column] - std::min(given, taken));
    }
}

int CDialogControls::MissingTitleWidth(const wxTopLevelWindow& window)
{
    const wxString title = window.GetTitle();
    if (title.empty())
        return 0;
    const wxFont font = wxSystemSettings::GetFont(wxSYS_DEFAULT_GUI_FONT).Bold();
    int width = 0;
    int height = 0;
    window.GetTextExtent(title, &width, &height, nullptr, nullptr, &font);
    return std::max(0, width + kTitleBarButtons - window.GetSize().x);
}

bool CDialogControls::LoadResource(int dialogId, CDialogTemplate& dialogTemplate, std::string* error)
{
    std::string_view bytes;
    if (!CHarbinax::FindResource("DIALOG", dialogId, bytes))
        return Failed(error, "no dialog resource " + Platform::LongToText(dialogId));
    return dialogTemplate.LoadFromXml(bytes, error);
}
