// Style bits of dialog templates and the names dialog descriptions write them with. The values
// are those of the Windows dialog templates the descriptions were first written for, so a style
// list reads the same here as it always did; CDialogControls turns them into wx styles.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace DialogStyle {

// Window styles
constexpr std::uint32_t WS_OVERLAPPED = 0x00000000;
constexpr std::uint32_t WS_POPUP = 0x80000000;
constexpr std::uint32_t WS_CHILD = 0x40000000;
constexpr std::uint32_t WS_MINIMIZE = 0x20000000;
constexpr std::uint32_t WS_VISIBLE = 0x10000000;
constexpr std::uint32_t WS_DISABLED = 0x08000000;
constexpr std::uint32_t WS_CLIPSIBLINGS = 0x04000000;
constexpr std::uint32_t WS_CLIPCHILDREN = 0x02000000;
constexpr std::uint32_t WS_MAXIMIZE = 0x01000000;
constexpr std::uint32_t WS_CAPTION = 0x00C00000;
constexpr std::uint32_t WS_BORDER = 0x00800000;
constexpr std::uint32_t WS_DLGFRAME = 0x00400000;
constexpr std::uint32_t WS_VSCROLL = 0x00200000;
constexpr std::uint32_t WS_HSCROLL = 0x00100000;
constexpr std::uint32_t WS_SYSMENU = 0x00080000;
constexpr std::uint32_t WS_THICKFRAME = 0x00040000;
constexpr std::uint32_t WS_GROUP = 0x00020000;
constexpr std::uint32_t WS_TABSTOP = 0x00010000;
constexpr std::uint32_t WS_MINIMIZEBOX = 0x00020000;
constexpr std::uint32_t WS_MAXIMIZEBOX = 0x00010000;
constexpr std::uint32_t WS_TILED = WS_OVERLAPPED;
constexpr std::uint32_t WS_ICONIC = WS_MINIMIZE;
constexpr std::uint32_t WS_SIZEBOX = WS_THICKFRAME;
constexpr std::uint32_t WS_CHILDWINDOW = WS_CHILD;
constexpr std::uint32_t WS_OVERLAPPEDWINDOW =
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
constexpr std::uint32_t WS_TILEDWINDOW = WS_OVERLAPPEDWINDOW;
constexpr std::uint32_t WS_POPUPWINDOW = WS_POPUP | WS_BORDER | WS_SYSMENU;

// Dialog styles
constexpr std::uint32_t DS_ABSALIGN = 0x0001;
constexpr std::uint32_t DS_SYSMODAL = 0x0002;
constexpr std::uint32_t DS_3DLOOK = 0x0004;
constexpr std::uint32_t DS_FIXEDSYS = 0x0008;
constexpr std::uint32_t DS_NOFAILCREATE = 0x0010;
constexpr std::uint32_t DS_LOCALEDIT = 0x0020;
constexpr std::uint32_t DS_SETFONT = 0x0040;
constexpr std::uint32_t DS_MODALFRAME = 0x0080;
constexpr std::uint32_t DS_NOIDLEMSG = 0x0100;
constexpr std::uint32_t DS_SETFOREGROUND = 0x0200;
constexpr std::uint32_t DS_CONTROL = 0x0400;
constexpr std::uint32_t DS_CENTER = 0x0800;
constexpr std::uint32_t DS_CENTERMOUSE = 0x1000;
constexpr std::uint32_t DS_CONTEXTHELP = 0x2000;
constexpr std::uint32_t DS_SHELLFONT = DS_SETFONT | DS_FIXEDSYS;

// Button styles: the low four bits are the kind of button
constexpr std::uint32_t BS_PUSHBUTTON = 0x0;
constexpr std::uint32_t BS_DEFPUSHBUTTON = 0x1;
constexpr std::uint32_t BS_CHECKBOX = 0x2;
constexpr std::uint32_t BS_AUTOCHECKBOX = 0x3;
constexpr std::uint32_t BS_RADIOBUTTON = 0x4;
constexpr std::uint32_t BS_3STATE = 0x5;
constexpr std::uint32_t BS_AUTO3STATE = 0x6;
constexpr std::uint32_t BS_GROUPBOX = 0x7;
constexpr std::uint32_t BS_AUTORADIOBUTTON = 0x9;
constexpr std::uint32_t BS_OWNERDRAW = 0xB;
constexpr std::uint32_t BS_TYPEMASK = 0xF;
constexpr std::uint32_t BS_LEFTTEXT = 0x20;
constexpr std::uint32_t BS_RIGHTBUTTON = BS_LEFTTEXT;
constexpr std::uint32_t BS_TEXT = 0x0;
constexpr std::uint32_t BS_ICON = 0x40;
constexpr std::uint32_t BS_BITMAP = 0x80;
constexpr std::uint32_t BS_LEFT = 0x100;
constexpr std::uint32_t BS_RIGHT = 0x200;
constexpr std::uint32_t BS_CENTER = 0x300;
constexpr std::uint32_t BS_TOP = 0x400;
constexpr std::uint32_t BS_BOTTOM = 0x800;
constexpr std::uint32_t BS_VCENTER = 0xC00;
constexpr std::uint32_t BS_PUSHLIKE = 0x1000;
constexpr std::uint32_t BS_MULTILINE = 0x2000;
constexpr std::uint32_t BS_NOTIFY = 0x4000;
constexpr std::uint32_t BS_FLAT = 0x8000;

// Static styles: the low five bits are the kind of static
constexpr std::uint32_t SS_LEFT = 0x0;
constexpr std::uint32_t SS_CENTER = 0x1;
constexpr std::uint32_t SS_RIGHT = 0x2;
constexpr std::uint32_t SS_ICON = 0x3;
constexpr std::uint32_t SS_BLACKRECT = 0x4;
constexpr std::uint32_t SS_GRAYRECT = 0x5;
constexpr std::uint32_t SS_WHITERECT = 0x6;
constexpr std::uint32_t SS_BLACKFRAME = 0x7;
constexpr std::uint32_t SS_GRAYFRAME = 0x8;
constexpr std::uint32_t SS_WHITEFRAME = 0x9;
constexpr std::uint32_t SS_SIMPLE = 0xB;
constexpr std::uint32_t SS_LEFTNOWORDWRAP = 0xC;
constexpr std::uint32_t SS_OWNERDRAW = 0xD;
constexpr std::uint32_t SS_BITMAP = 0xE;
constexpr std::uint32_t SS_ENHMETAFILE = 0xF;
constexpr std::uint32_t SS_ETCHEDHORZ = 0x10;
constexpr std::uint32_t SS_ETCHEDVERT = 0x11;
constexpr std::uint32_t SS_ETCHEDFRAME = 0x12;
constexpr std::uint32_t SS_TYPEMASK = 0x1F;
constexpr std::uint32_t SS_NOPREFIX = 0x80;
constexpr std::uint32_t SS_NOTIFY = 0x100;
constexpr std::uint32_t SS_CENTERIMAGE = 0x200;
constexpr std::uint32_t SS_RIGHTJUST = 0x400;
constexpr std::uint32_t SS_REALSIZEIMAGE = 0x800;
constexpr std::uint32_t SS_SUNKEN = 0x1000;
constexpr std::uint32_t SS_ENDELLIPSIS = 0x4000;
constexpr std::uint32_t SS_PATHELLIPSIS = 0x8000;
constexpr std::uint32_t SS_WORDELLIPSIS = 0xC000;
constexpr std::uint32_t SS_ELLIPSISMASK = 0xC000;

// Edit styles
constexpr std::uint32_t ES_LEFT = 0x0;
constexpr std::uint32_t ES_CENTER = 0x1;
constexpr std::uint32_t ES_RIGHT = 0x2;
constexpr std::uint32_t ES_MULTILINE = 0x4;
constexpr std::uint32_t ES_UPPERCASE = 0x8;
constexpr std::uint32_t ES_LOWERCASE = 0x10;
constexpr std::uint32_t ES_PASSWORD = 0x20;
constexpr std::uint32_t ES_AUTOVSCROLL = 0x40;
constexpr std::uint32_t ES_AUTOHSCROLL = 0x80;
constexpr std::uint32_t ES_NOHIDESEL = 0x100;
constexpr std::uint32_t ES_OEMCONVERT = 0x400;
constexpr std::uint32_t ES_READONLY = 0x800;
constexpr std::uint32_t ES_WANTRETURN = 0x1000;
constexpr std::uint32_t ES_NUMBER = 0x2000;

// Combo box styles
constexpr std::uint32_t CBS_SIMPLE = 0x1;
constexpr std::uint32_t CBS_DROPDOWN = 0x2;
constexpr std::uint32_t CBS_DROPDOWNLIST = 0x3;
constexpr std::uint32_t CBS_OWNERDRAWFIXED = 0x10;
constexpr std::uint32_t CBS_OWNERDRAWVARIABLE = 0x20;
constexpr std::uint32_t CBS_AUTOHSCROLL = 0x40;
constexpr std::uint32_t CBS_OEMCONVERT = 0x80;
constexpr std::uint32_t CBS_SORT = 0x100;
constexpr std::uint32_t CBS_HASSTRINGS = 0x200;
constexpr std::uint32_t CBS_NOINTEGRALHEIGHT = 0x400;
constexpr std::uint32_t CBS_DISABLENOSCROLL = 0x800;
constexpr std::uint32_t CBS_UPPERCASE = 0x2000;
constexpr std::uint32_t CBS_LOWERCASE = 0x4000;

// List box styles
constexpr std::uint32_t LBS_NOTIFY = 0x1;
constexpr std::uint32_t LBS_SORT = 0x2;
constexpr std::uint32_t LBS_NOREDRAW = 0x4;
constexpr std::uint32_t LBS_MULTIPLESEL = 0x8;
constexpr std::uint32_t LBS_OWNERDRAWFIXED = 0x10;
constexpr std::uint32_t LBS_OWNERDRAWVARIABLE = 0x20;
constexpr std::uint32_t LBS_HASSTRINGS = 0x40;
constexpr std::uint32_t LBS_USETABSTOPS = 0x80;
constexpr std::uint32_t LBS_NOINTEGRALHEIGHT = 0x100;
constexpr std::uint32_t LBS_MULTICOLUMN = 0x200;
constexpr std::uint32_t LBS_WANTKEYBOARDINPUT = 0x400;
constexpr std::uint32_t LBS_EXTENDEDSEL = 0x800;
constexpr std::uint32_t LBS_DISABLENOSCROLL = 0x1000;
constexpr std::uint32_t LBS_NODATA = 0x2000;
constexpr std::uint32_t LBS_NOSEL = 0x4000;
constexpr std::uint32_t LBS_COMBOBOX = 0x8000;
constexpr std::uint32_t LBS_STANDARD = LBS_NOTIFY | LBS_SORT | WS_VSCROLL | WS_BORDER;

// List view styles (class "SysListView32"): the low two bits are the view
constexpr std::uint32_t LVS_ICON = 0x0;
constexpr std::uint32_t LVS_REPORT = 0x1;
constexpr std::uint32_t LVS_SMALLICON = 0x2;
constexpr std::uint32_t LVS_LIST = 0x3;
constexpr std::uint32_t LVS_TYPEMASK = 0x3;
constexpr std::uint32_t LVS_SINGLESEL = 0x4;
constexpr std::uint32_t LVS_SHOWSELALWAYS = 0x8;
constexpr std::uint32_t LVS_SORTASCENDING = 0x10;
constexpr std::uint32_t LVS_SORTDESCENDING = 0x20;
constexpr std::uint32_t LVS_EDITLABELS = 0x200;
constexpr std::uint32_t LVS_NOCOLUMNHEADER = 0x4000;
constexpr std::uint32_t LVS_NOSORTHEADER = 0x8000;

// Tab strip styles (class "SysTabControl32")
constexpr std::uint32_t TCS_TABS = 0x0;
constexpr std::uint32_t TCS_BOTTOM = 0x2;

// Progress bar styles (class "msctls_progress32")
constexpr std::uint32_t PBS_SMOOTH = 0x1;
constexpr std::uint32_t PBS_VERTICAL = 0x4;

// Extended window styles
constexpr std::uint32_t WS_EX_DLGMODALFRAME = 0x00000001;
constexpr std::uint32_t WS_EX_NOPARENTNOTIFY = 0x00000004;
constexpr std::uint32_t WS_EX_TOPMOST = 0x00000008;
constexpr std::uint32_t WS_EX_ACCEPTFILES = 0x00000010;
constexpr std::uint32_t WS_EX_TRANSPARENT = 0x00000020;
constexpr std::uint32_t WS_EX_MDICHILD = 0x00000040;
constexpr std::uint32_t WS_EX_TOOLWINDOW = 0x00000080;
constexpr std::uint32_t WS_EX_WINDOWEDGE = 0x00000100;
constexpr std::uint32_t WS_EX_CLIENTEDGE = 0x00000200;
constexpr std::uint32_t WS_EX_CONTEXTHELP = 0x00000400;
constexpr std::uint32_t WS_EX_RIGHT = 0x00001000;
constexpr std::uint32_t WS_EX_LEFT = 0x00000000;
constexpr std::uint32_t WS_EX_RTLREADING = 0x00002000;
constexpr std::uint32_t WS_EX_LTRREADING = 0x00000000;
constexpr std::uint32_t WS_EX_LEFTSCROLLBAR = 0x00004000;
constexpr std::uint32_t WS_EX_RIGHTSCROLLBAR = 0x00000000;
constexpr std::uint32_t WS_EX_CONTROLPARENT = 0x00010000;
constexpr std::uint32_t WS_EX_STATICEDGE = 0x00020000;
constexpr std::uint32_t WS_EX_APPWINDOW = 0x00040000;
constexpr std::uint32_t WS_EX_LAYERED = 0x00080000;
constexpr std::uint32_t WS_EX_NOINHERITLAYOUT = 0x00100000;
constexpr std::uint32_t WS_EX_LAYOUTRTL = 0x00400000;
constexpr std::uint32_t WS_EX_COMPOSITED = 0x02000000;
constexpr std::uint32_t WS_EX_NOACTIVATE = 0x08000000;
constexpr std::uint32_t WS_EX_OVERLAPPEDWINDOW = WS_EX_WINDOWEDGE | WS_EX_CLIENTEDGE;
constexpr std::uint32_t WS_EX_PALETTEWINDOW = WS_EX_WINDOWEDGE | WS_EX_TOOLWINDOW | WS_EX_TOPMOST;

}  // namespace DialogStyle

class CStyleNames {
public:
    // The or of the values of the style names in the text. Names are separated by white space
    // and compared whole, without regard to case ("LBS_NOTIFY" is that name only, never also
    // "BS_NOTIFY"). Names not in the table add nothing; when unknown is given they are appended
    // to it as written.
    static std::uint32_t ParseStyleNames(std::string_view text, std::vector<std::string>* unknown = nullptr);
    // The same with the extended-style names ("WS_EX_...").
    static std::uint32_t ParseExStyleNames(std::string_view text, std::vector<std::string>* unknown = nullptr);
};
