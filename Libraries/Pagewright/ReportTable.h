// A table element: rows of equal height, columns of given widths. The rows' values are the
// document's variables "table.column.row"; a multipage table spreads its rows over as many
// output pages as the row counts need.
#pragma once

#include "Pagewright/ReportColumn.h"

#include <functional>
#include <vector>

class CReportTable : public CReportSizedElement {
public:
    CReportTable() : CReportSizedElement("table") {}
    // The columns are copied too and belong to the copy.
    CReportTable(const CReportTable& other);
    std::unique_ptr<CReportElement> Clone() const override { return std::make_unique<CReportTable>(*this); }
    // Shares the columns, prototypes and the tables nested in them, so a table in a column costs
    // each of its cells one element, not a copy of every level below.
    std::unique_ptr<CReportElement> CloneForCell() const override;
    long long CountDrawn(long long limit) const override;
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
    // Every cell of the rows shown (GetVisibleRows), row by row and each row's columns left to
    // right: visit gets the column, its cell before the column's spacing, and the row's number in
    // the whole table (1-based, so pagination's first row counts). Stops when visit returns false.
    using CellVisitor = std::function<bool(const CReportColumn& column, const SReportRect& cell, int row)>;
    void ForEachCell(const CellVisitor& visit) const;

    int rowHeight = 1;
    bool multipage = false;
    std::string name;
    int firstRow = 0;  // 0-based; set by pagination
    // Shared only with the cells of a column that shows this table (CloneForCell).
    std::vector<std::shared_ptr<CReportColumn>> columns;

private:
    struct SShareColumns {};
    CReportTable(const CReportTable& other, SShareColumns);
};
