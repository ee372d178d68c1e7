#include "HarbinaxCore/DialogTemplate.h"

#include "HarbinaxCore/StyleNames.h"
#include "Platform/NumberText.h"
#include "Platform/XmlFile.h"

#include <tinyxml.h>

using namespace DialogStyle;

namespace {

// Reads the attributes of one element; the first fault is kept for the message.
class CAttributeReader {
public:
    CAttributeReader(const TiXmlElement& element, std::vector<std::string>& unknownNames)
        : m_element(element), m_unknownNames(unknownNames)
    {
    }

    // A missing attribute is 0; a present one must be a whole number within [low, high].
    long Number(const char* name, long low, long high)
    {
        const char* text = m_element.Attribute(name);
        long value = 0;
        if (text && (!Platform::TextToLong(text, value) || value < low || value > high)) {
            Fail(std::string("attribute ") + name + "=\"" + text + "\" is not a whole number from " +
                 Platform::LongToText(low) + " to " + Platform::LongToText(high));
            return 0;
        }
        return value;
    }
    std::int16_t Coordinate(const char* name) { return static_cast<std::int16_t>(Number(name, -32768, 32767)); }
    std::uint16_t Word(const char* name) { return static_cast<std::uint16_t>(Number(name, 0, 65535)); }
    std::uint8_t Byte(const char* name) { return static_cast<std::uint8_t>(Number(name, 0, 255)); }

    std::string Text(const char* name) const
    {
        const char* text = m_element.Attribute(name);
        return text ? text : "";
    }
    std::uint32_t Style(const char* name) { return CStyleNames::ParseStyleNames(Text(name), &m_unknownNames); }
    std::uint32_t ExStyle(const char* name) { return CStyleNames::ParseExStyleNames(Text(name), &m_unknownNames); }

    // What the dialog and its items share: styles, place, help id, class and title.
    template <class TWindow>
    void ReadWindow(TWindow& window)
    {
        window.style = Style("style");
        window.exStyle = ExStyle("exstyle");
        window.x = Coordinate("x");
        window.y = Coordinate("y");
        window.width = Coordinate("width");
        window.height = Coordinate("height");
        window.helpId = Word("helpid");
        window.windowClass = Text("class");
        window.title = Text("title");
    }

    void Fail(const std::string& message)
    {
        if (m_error.empty())
            m_error = "<" + m_element.ValueStr() + "> in line " + Platform::LongToText(m_element.Row()) + ": " +
                      message;
    }
    const std::string& Error() const { return m_error; }

private:
    const TiXmlElement& m_element;
    std::vector<std::string>& m_unknownNames;
    std::string m_error;
};

bool Failed(std::string* error, const std::string& message)
{
    if (error)
        *error = message;
    return false;
}

}  // namespace

CDialogTemplate::CDialogTemplate() = default;

CDialogTemplate::~CDialogTemplate() = default;

void CDialogTemplate::ResetTemplate()
{
    m_edit = SDialogTemplate();
}

int CDialogTemplate::AddItem(const std::string& windowClass, const SDialogRect& rect, int id, const std::string& title,
                             std::uint32_t style, std::uint32_t exStyle)
{
    SDialogItem item;
    item.id = static_cast<std::uint16_t>(id);
    item.style = style;
    item.exStyle = exStyle;
    item.x = static_cast<std::int16_t>(rect.left);
    item.y = static_cast<std::int16_t>(rect.top);
    item.width = static_cast<std::int16_t>(rect.right - rect.left);
    item.height = static_cast<std::int16_t>(rect.bottom - rect.top);
    item.windowClass = windowClass;
    item.title = title;
    m_edit.items.push_back(std::move(item));
    return static_cast<int>(m_edit.items.size()) - 1;
}

int CDialogTemplate::AddButton(const SDialogRect& rect, int id, const std::string& title, std::uint32_t style,
                               std::uint32_t exStyle)
{
    return AddItem("BUTTON", rect, id, title, style | WS_CHILD | WS_VISIBLE | WS_TABSTOP, exStyle);
}

int CDialogTemplate::AddDefButton(const SDialogRect& rect, int id, const std::string& title, std::uint32_t style,
                                  std::uint32_t exStyle)
{
    return AddItem("BUTTON", rect, id, title, style | WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON,
                   exStyle);
}

int CDialogTemplate::AddStatic(const SDialogRect& rect, int id, const std::string& title, std::uint32_t style,
                               std::uint32_t exStyle)
{
    return AddItem("STATIC", rect, id, title, style | WS_CHILD | WS_VISIBLE, exStyle);
}

int CDialogTemplate::AddCheckBox(const SDialogRect& rect, int id, const std::string& title, std::uint32_t style,
                                 std::uint32_t exStyle)
{
    return AddItem("BUTTON", rect, id, title,
                   style | WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX | BS_LEFT | BS_VCENTER, exStyle);
}

int CDialogTemplate::AddEdit(const SDialogRect& rect, int id, const std::string& title, std::uint32_t style,
                             std::uint32_t exStyle)
{
    return AddItem("EDIT", rect, id, title, style | WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL,
                   exStyle);
}

int CDialogTemplate::AddComboBox(const SDialogRect& rect, int id, const std::string& title, std::uint32_t style,
                                 std::uint32_t exStyle)
{
    return AddItem("COMBOBOX", rect, id, title,
                   style | WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, exStyle);
}

bool CDialogTemplate::LoadFromXml(std::string_view xml, std::string* error)
{
    TiXmlDocument document;
    std::string message;
    if (!CXmlFile::LoadText(document, xml, "InternalResource.xml", &message))
        return Failed(error, message);
    const TiXmlElement* dialog = document.FirstChildElement("dialog");
    if (!dialog)
        return Failed(error, "InternalResource.xml: no <dialog> element");
    return ReadDialogElement(dialog, error);
}

bool CDialogTemplate::ReadDialogElement(const TiXmlElement* element, std::string* error)
{
    if (!element)
        return Failed(error, "no dialog element");
    if (m_built)
        return Failed(error, "the dialog template has been built already");
    if (element->ValueStr() != "dialog")
        return Failed(error, "<" + element->ValueStr() + "> is not a <dialog> element");

    // Read into a fresh description so that a fault leaves this one untouched.
    SDialogTemplate read;
    std::vector<std::string> unknownNames;
    CAttributeReader header(*element, unknownNames);
    SDialogHeader& h = read.header;
    header.ReadWindow(h);
    h.menuId = header.Word("menuid");
    h.pointSize = header.Word("pointsize");
    h.weight = header.Word("weight");
    h.italic = header.Byte("italic");
    h.charset = header.Byte("charset");
    h.typeface = header.Text("typeface");
    if (!header.Error().empty())
        return Failed(error, header.Error());

    for (const TiXmlElement* child = element->FirstChildElement("item"); child;
         child = child->NextSiblingElement("item")) {
        CAttributeReader attributes(*child, unknownNames);
        SDialogItem item;
        // Ids are 16-bit; -1 is the usual id of controls nobody addresses.
        item.id = static_cast<std::uint16_t>(attributes.Number("id", -32768, 65535));
        attributes.ReadWindow(item);
        if (!attributes.Error().empty())
            return Failed(error, attributes.Error());
        read.items.push_back(std::move(item));
    }

    m_edit = std::move(read);
    m_unknownNames = std::move(unknownNames);
    return true;
}

const SDialogTemplate* CDialogTemplate::BuildTemplate()
{
    if (m_built)
        return nullptr;
    m_built = std::make_unique<SDialogTemplate>(m_edit);
    return m_built.get();
}

void CDialogTemplate::FreeTemplate()
{
    m_built.reset();
}
