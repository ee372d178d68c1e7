// A column of a report table: its width, the borders and inner spacing of its cells, and the
// prototype element that every cell shows, bound to the cell's variable.
#pragma once

#include "Pagewright/ReportElement.h"

class CReportColumn : public CReportSizedElement {
public:
    struct SSides {
        int left = 0;
        int top = 0;
        int right = 0;
        int bottom = 0;
    };
    // Stands for the cell's variable name in the prototype's text or mark-up.
    static constexpr const char* kColumnVariable = "COLUMN_VARIABLE";

    CReportColumn();
    CReportColumn(const CReportColumn& other);
    ~CReportColumn() override;
    std::unique_ptr<CReportElement> Clone() const override { return std::make_unique<CReportColumn>(*this); }
    bool Load(const TiXmlElement* element) override;
    // Writes the column as it is read: its attributes and the prototype as its child.
    void Save(TiXmlElement& element) const override;
    void SetOwner(CReportPage* page) override;

    // "T.C.7" for row 7 of column C in table T; "C.7" when the table has no name.
    static std::string GetCellVariableName(const std::string& tableName, const std::string& columnName, int row);
    // "T.C", or "C" when the table has no name: the key of the column's row count.
    static std::string GetRowCountKey(const std::string& tableName, const std::string& columnName);

    // The element one cell shows: a copy of the prototype moved into the cell's inner box
    // (cell less spacing) and fitted into it, with its text bound to the cell's variable. Null
    // without a prototype. bordersWanted tells whether the cell's borders are drawn when the
    // column does not show them always: for lines, rectangles and pictures, and for texts that
    // are not empty.
    std::unique_ptr<CReportElement> MakeCell(const SReportRect& cell, const std::string& tableName, int row,
                                             bool& bordersWanted) const;

    std::string name;
    // Pen widths of the cell sides, in drawing units (not zoomed).
    SSides borderThickness{1, 1, 1, 1};
    ReportColor borderColor = 0;
    bool showBorderAlways = false;
    SSides cellSpacing;
    std::unique_ptr<CReportElement> prototype;
};
