#include "Pagewright/ReportTable.h"

#include "Pagewright/ReportPage.h"

#include <tinyxml.h>

#include <algorithm>

CReportTable::CReportTable(const CReportTable& other) : CReportTable(other, SShareColumns())
{
    for (auto& column : columns)
        column = std::make_shared<CReportColumn>(*column);
}

CReportTable::CReportTable(const CReportTable& other, SShareColumns)
    : CReportSizedElement(other),
      rowHeight(other.rowHeight),
      multipage(other.multipage),
      name(other.name),
      firstRow(other.firstRow),
      columns(other.columns)
{
}

std::unique_ptr<CReportElement> CReportTable::CloneForCell() const
{
    return std::unique_ptr<CReportElement>(new CReportTable(*this, SShareColumns()));
}

long long CReportTable::CountDrawn(long long limit) const
{
    long long count = 1;
    ForEachCell([&](const CReportColumn& column, const SReportRect& cell, int row) {
        ++count;  // the cell's borders
        if (column.prototype) {
            // Only a table's count depends on the cell it is fitted into.
            if (dynamic_cast<const CReportTable*>(column.prototype.get()) != nullptr) {
                bool bordersWanted = false;
                count += column.MakeCell(cell, name, row, bordersWanted)->CountDrawn(limit - count);
            } else {
                count += column.prototype->CountDrawn(limit - count);
            }
        }
        return count <= limit;
    });
    return count;
}

bool CReportTable::Load(const TiXmlElement* element)
{
    if (!CReportSizedElement::Load(element))
        return false;
    LoadSize(*element);
    rowHeight = Pagewright::CoordinateAttribute(*element, "rowheight");
    if (rowHeight < 1)
        rowHeight = 1;
    multipage = Pagewright::FlagAttribute(*element, "multipage");
    name = Pagewright::AttributeText(*element, "name");
    columns.clear();
    for (const TiXmlElement* child = element->FirstChildElement("column"); child != nullptr;
         child = child->NextSiblingElement("column")) {
        auto column = std::make_unique<CReportColumn>();
        column->SetOwner(owner);
        if (column->Load(child))
            columns.push_back(std::move(column));
    }
    return true;
}

void CReportTable::Save(TiXmlElement& element) const
{
    CReportSizedElement::Save(element);
    SaveSize(element);
    element.SetAttribute("rowheight", rowHeight);
    element.SetAttribute("multipage", multipage ? "TRUE" : "FALSE");
    element.SetAttribute("name", name);
    for (const auto& column : columns)
        column->AppendTo(element);
}

void CReportTable::SetOwner(CReportPage* page)
{
    CReportSizedElement::SetOwner(page);
    for (const auto& column : columns)
        column->SetOwner(page);
}

int CReportTable::GetRowsPerPage() const
{
    return rowHeight > 0 && height > 0 ? height / rowHeight : 0;
}

void CReportTable::GetVisibleRows(int& first, int& end) const
{
    first = 0;
    end = 0;
    const int rows = GetRowsPerPage();
    if (rows <= 0)
        return;
    // The page shows y from -top border up to its height less the top border.
    const long long pageTop = owner != nullptr ? -static_cast<long long>(owner->topBorder) : 0;
    const long long pageBottom = pageTop + (owner != nullptr ? owner->height : CReportPage::kDefaultHeight);
    // Row r covers y + r * rowHeight up to y + (r + 1) * rowHeight.
    const auto floorDiv = [](long long a, long long b) { return a / b - (a % b != 0 && a < 0 ? 1 : 0); };
    const long long from = floorDiv(pageTop - y, rowHeight);
    const long long to = -floorDiv(-(pageBottom - y), rowHeight);  // rounded up
    first = static_cast<int>(std::max(0LL, std::min<long long>(from, rows)));
    end = static_cast<int>(std::max<long long>(first, std::min<long long>(to, rows)));
}

void CReportTable::ForEachCell(const CellVisitor& visit) const
{
    if (columns.empty())
        return;
    int first = 0;
    int end = 0;
    GetVisibleRows(first, end);
    for (int row = first; row < end; ++row) {
        const long long top = static_cast<long long>(row) * rowHeight + y;
        long long left = x;
        for (const auto& column : columns) {
            const long long right = left + column->width;
            const SReportRect cell{Pagewright::ClampToInt(left), Pagewright::ClampToInt(top),
                                   Pagewright::ClampToInt(right), Pagewright::ClampToInt(top + rowHeight)};
            if (!visit(*column, cell, firstRow + row + 1))
                return;
            left = right;
        }
    }
}

bool CReportTable::IsPaginated() const
{
    return multipage && GetRowsPerPage() > 0;
}

SReportRect CReportTable::GetCellRect(int rowOnPage, std::size_t column) const
{
    long long left = x;
    for (std::size_t i = 0; i < column && i < columns.size(); ++i)
        left += columns[i]->width;
    const long long top = static_cast<long long>(rowOnPage) * rowHeight + y;
    const long long right = left + (column < columns.size() ? columns[column]->width : 0);
    return SReportRect{Pagewright::ClampToInt(left), Pagewright::ClampToInt(top), Pagewright::ClampToInt(right),
                       Pagewright::ClampToInt(top + rowHeight)};
}
