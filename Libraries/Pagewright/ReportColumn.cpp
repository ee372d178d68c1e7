#include "Pagewright/ReportColumn.h"

#include "Pagewright/ReportElementFactory.h"
#include "Pagewright/ReportHtmlText.h"
#include "Pagewright/ReportText.h"

#include <tinyxml.h>

namespace {

// "top;left;bottom;right"; reading stops at the first missing ';', and a text without any sets
// nothing, so '2;1' gives top 2 and left 1 and the rest 0.
CReportColumn::SSides ReadSides(const std::string& text)
{
    CReportColumn::SSides sides;
    int* const order[] = {&sides.top, &sides.left, &sides.bottom, &sides.right};
    std::string rest = text;
    for (int i = 0; i < 4; ++i) {
        const std::size_t separator = rest.find(';');
        if (separator == std::string::npos) {
            if (i > 0)
                *order[i] = Pagewright::LeadingInt(rest.c_str());
            break;
        }
        *order[i] = Pagewright::LeadingInt(rest.substr(0, separator).c_str());
        rest.erase(0, separator + 1);
    }
    return sides;
}

std::string WriteSides(const CReportColumn::SSides& sides)
{
    return std::to_string(sides.top) + ";" + std::to_string(sides.left) + ";" + std::to_string(sides.bottom) + ";" +
           std::to_string(sides.right);
}

void ReplaceAll(std::string& text, const std::string& what, const std::string& with)
{
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + with.size()))
        text.replace(at, what.size(), with);
}

}  // namespace

CReportColumn::CReportColumn() : CReportSizedElement("column") {}

CReportColumn::CReportColumn(const CReportColumn& other)
    : CReportSizedElement(other),
      name(other.name),
      borderThickness(other.borderThickness),
      borderColor(other.borderColor),
      showBorderAlways(other.showBorderAlways),
      cellSpacing(other.cellSpacing),
      prototype(other.prototype ? other.prototype->Clone() : nullptr)
{
}

CReportColumn::~CReportColumn() = default;

bool CReportColumn::Load(const TiXmlElement* element)
{
    if (!CReportSizedElement::Load(element))
        return false;
    width = Pagewright::CoordinateAttribute(*element, "width");
    name = Pagewright::AttributeText(*element, "name");
    if (element->Attribute("borderthickness") != nullptr)
        borderThickness = ReadSides(Pagewright::AttributeText(*element, "borderthickness"));
    borderColor = Pagewright::ParseReportColor(Pagewright::AttributeText(*element, "bordercolor"));
    showBorderAlways = Pagewright::FlagAttribute(*element, "showborderalways");
    if (element->Attribute("cellspacing") != nullptr)
        cellSpacing = ReadSides(Pagewright::AttributeText(*element, "cellspacing"));
    prototype = CreateReportElement(element->FirstChildElement(), owner);
    return true;
}

void CReportColumn::Save(TiXmlElement& element) const
{
    CReportSizedElement::Save(element);
    element.SetAttribute("width", width);
    element.SetAttribute("name", name);
    element.SetAttribute("borderthickness", WriteSides(borderThickness));
    element.SetAttribute("bordercolor", Pagewright::FormatReportColor(borderColor));
    element.SetAttribute("showborderalways", showBorderAlways ? "TRUE" : "FALSE");
    element.SetAttribute("cellspacing", WriteSides(cellSpacing));
    if (prototype)
        prototype->AppendTo(element);
}

void CReportColumn::SetOwner(CReportPage* page)
{
    CReportSizedElement::SetOwner(page);
    if (prototype)
        prototype->SetOwner(page);
}

std::string CReportColumn::GetCellVariableName(const std::string& tableName, const std::string& columnName, int row)
{
    return GetRowCountKey(tableName, columnName) + "." + std::to_string(row);
}

std::string CReportColumn::GetRowCountKey(const std::string& tableName, const std::string& columnName)
{
    return tableName.empty() ? columnName : tableName + "." + columnName;
}

std::unique_ptr<CReportElement> CReportColumn::MakeCell(const SReportRect& cell, const std::string& tableName, int row,
                                                        bool& bordersWanted) const
{
    bordersWanted = false;
    if (!prototype)
        return nullptr;
    const int left = Pagewright::ClampToInt(static_cast<long long>(cell.left) + cellSpacing.left);
    const int top = Pagewright::ClampToInt(static_cast<long long>(cell.top) + cellSpacing.top);
    const int right = Pagewright::ClampToInt(static_cast<long long>(cell.right) - cellSpacing.right);
    const int bottom = Pagewright::ClampToInt(static_cast<long long>(cell.bottom) - cellSpacing.bottom);
    std::unique_ptr<CReportElement> element = prototype->CloneForCell();
    element->Move(left, top);
    element->ClampToRect(left, top, right, bottom);
    const std::string variable = GetCellVariableName(tableName, name, row);
    const std::string& type = element->GetTypeName();
    if (type == "line" || type == "rectangle" || type == "picture") {
        bordersWanted = true;
    } else if (auto* text = dynamic_cast<CReportText*>(element.get())) {
        ReplaceAll(text->content, kColumnVariable, variable);
        bordersWanted = !text->content.empty();
    } else if (auto* html = dynamic_cast<CReportHtmlText*>(element.get())) {
        ReplaceAll(html->markup, kColumnVariable, variable);
        bordersWanted = !html->markup.empty();
    }
    return element;
}
