// The description of a dialog that is assembled at run time, from an XML text or from add-item
// calls, and then built once into the template that CDialogControls creates the windows from.
// Every dialog resource of the programs is an XML text of this form:
//
//   <dialog style="WS_POPUP WS_CAPTION WS_SYSMENU DS_MODALFRAME DS_SETFONT" exstyle="WS_EX_APPWINDOW"
//           x="0" y="0" width="243" height="127" title="Renovix" pointsize="8" typeface="MS Sans Serif">
//     <item class="STATIC" id="1010" x="7" y="7" width="55" height="8" title="Current file:"
//           style="WS_CHILD WS_VISIBLE"/>
//     <item class="BUTTON" id="1" x="7" y="100" width="50" height="14" title="&amp;OK"
//           style="WS_CHILD WS_VISIBLE WS_TABSTOP BS_DEFPUSHBUTTON"/>
//   </dialog>
//
// Header attributes: style, exstyle, x, y, width, height, helpid, menuid, class, title,
// pointsize, weight, italic, charset, typeface. Item attributes: id, style, exstyle, x, y, width,
// height, helpid, class, title. Positions and sizes are dialog units; the style attributes are
// lists of the names of CStyleNames. Which control an item becomes follows from its class and
// style (DialogItemKind).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class TiXmlElement;

// The dialog window itself. All numbers 0 and all texts empty until set.
struct SDialogHeader {
    std::uint32_t style = 0;
    std::uint32_t exStyle = 0;
    std::int16_t x = 0;
    std::int16_t y = 0;
    std::int16_t width = 0;
    std::int16_t height = 0;
    std::uint32_t helpId = 0;
    std::uint32_t menuId = 0;  // kept, but the dialog gets no menu
    std::string windowClass;   // kept, but every dialog is an ordinary dialog window
    std::string title;
    std::uint16_t pointSize = 0;  // the font is used when the style has DS_SETFONT or DS_FIXEDSYS
    std::uint16_t weight = 0;
    std::uint8_t italic = 0;
    std::uint8_t charset = 0;
    std::string typeface;
};

// One control, in creation and tab order.
struct SDialogItem {
    std::uint16_t id = 0xFFFF;  // 0xFFFF (-1 in a description) for a control nobody addresses
    std::uint32_t style = 0;
    std::uint32_t exStyle = 0;
    std::int16_t x = 0;
    std::int16_t y = 0;
    std::int16_t width = 0;
    std::int16_t height = 0;
    std::uint32_t helpId = 0;
    std::string windowClass;
    std::string title;  // UTF-8
};

// A rectangle in dialog units.
struct SDialogRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

// What BuildTemplate freezes and the windows are created from.
struct SDialogTemplate {
    SDialogHeader header;
    std::vector<SDialogItem> items;
};

class CDialogTemplate {
public:
    CDialogTemplate();
    virtual ~CDialogTemplate();
    CDialogTemplate(const CDialogTemplate&) = delete;
    CDialogTemplate& operator=(const CDialogTemplate&) = delete;

    // The header; callers set its fields directly.
    SDialogHeader& Header() { return m_edit.header; }
    const SDialogHeader& Header() const { return m_edit.header; }
    const std::vector<SDialogItem>& Items() const { return m_edit.items; }

    // Header numbers 0, texts empty, no items. A built template stays as it is.
    void ResetTemplate();

    // Appends an item at rect (dialog units) and returns its index. The id keeps its low 16 bits
    // (-1 becomes 0xFFFF).
    int AddItem(const std::string& windowClass, const SDialogRect& rect, int id, const std::string& title,
                std::uint32_t style, std::uint32_t exStyle);
    // AddItem with the kind's class and usual styles or-ed into style:
    // WS_CHILD WS_VISIBLE WS_TABSTOP (button), the same with BS_DEFPUSHBUTTON, WS_CHILD WS_VISIBLE
    // (static), WS_CHILD WS_VISIBLE WS_TABSTOP BS_AUTOCHECKBOX BS_LEFT BS_VCENTER (check box),
    // WS_CHILD WS_VISIBLE WS_TABSTOP WS_BORDER ES_AUTOHSCROLL (edit) and WS_CHILD WS_VISIBLE
    // WS_TABSTOP WS_VSCROLL CBS_DROPDOWNLIST (combo box).
    int AddButton(const SDialogRect& rect, int id, const std::string& title, std::uint32_t style = 0,
                  std::uint32_t exStyle = 0);
    int AddDefButton(const SDialogRect& rect, int id, const std::string& title, std::uint32_t style = 0,
                     std::uint32_t exStyle = 0);
    int AddStatic(const SDialogRect& rect, int id, const std::string& title, std::uint32_t style = 0,
                  std::uint32_t exStyle = 0);
    int AddCheckBox(const SDialogRect& rect, int id, const std::string& title, std::uint32_t style = 0,
                    std::uint32_t exStyle = 0);
    int AddEdit(const SDialogRect& rect, int id, const std::string& title, std::uint32_t style = 0,
                std::uint32_t exStyle = 0);
    int AddComboBox(const SDialogRect& rect, int id, const std::string& title, std::uint32_t style = 0,
                    std::uint32_t exStyle = 0);

    // Reads the first element named "dialog" of the XML text (header and items, see above).
    // False, with the reason in *error when given, and the description left as it was, for text
    // that does not parse, a document without a "dialog" element, a number attribute that is not
    // a whole number in its field's range, or when the template has been built.
    bool LoadFromXml(std::string_view xml, std::string* error = nullptr);
    // The same for an element; false also for a null element or one with another name.
    bool ReadDialogElement(const TiXmlElement* element, std::string* error = nullptr);
    // Style names the last successful read did not know (they added nothing), as written.
    const std::vector<std::string>& UnknownStyleNames() const { return m_unknownNames; }

    // Freezes header and items into the template and returns it; null when a template has been
    // built already (a description is built once; FreeTemplate allows a rebuild). The template
    // stays valid until FreeTemplate or the end of this object.
    const SDialogTemplate* BuildTemplate();
    // The built template, null before BuildTemplate.
    const SDialogTemplate* GetTemplate() const { return m_built.get(); }
    void FreeTemplate();

private:
    SDialogTemplate m_edit;
    std::unique_ptr<SDialogTemplate> m_built;
    std::vector<std::string> m_unknownNames;
};
