// A table element: rows of equal height, columns of given widths. The rows' values are the
// document's variables "table.column.row"; a multipage table spreads its rows over as many
// output pages as the row counts need.
#pragma once

#include "Pagewright/ReportColumn.h"

#include <vector>

class CReportTable : public CReportSizedElement {
public:
    CReportTable() : CReportSizedElement("table") {}
    CReportTable(const CReportTable& other);
    std::unique_ptr<CReportElement> Clone() const override { return std::make_unique<CReportTable>(*this); }
    bool Load(const TiXmlElement* element) override;
    // Writes the table as it is read, columns and their prototypes included.
    void Save(TiXmlElement& element) const override;
    void SetOwner(CReportPage* page) override;

    // Rows that fit into the table's height; 0 when not even one does.
    int GetRowsPerPage() const;
    // The rows of this page that can be seen: those that fit the table and reach into its page's
    // height (a default page's without one), from first up to end, end excluded. Drawing walks
    // only these, so a table far taller than its page costs no more than the page.
    void GetVisibleRows(int& first, int& end) const;
    // Whether pagination spreads the rows: a multipage table that holds at least one row.
    bool IsPaginated() const;
    // The cell of the row'th row shown (0 is the first row of this page) in the given column,
    // before the column's spacing.
    SReportRect GetCellRect(int rowOnPage, std::size_t column) const;

    int rowHeight = 1;
    bool multipage = false;
    std::string name;
    int firstRow = 0;  // 0-based; set by pagination
    std::vector<std::unique_ptr<CReportColumn>> columns;
};
