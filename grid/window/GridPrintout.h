// The grid on paper: every page has a header (the owner window's title and the application's
// name), the fixed rows and columns, the rows and columns the page layout gives it and a footer
// with "Page n of m" and the date and time. Rows that do not fit go to further pages; in
// print-layout mode columns go to further strips. Cells print themselves.
#pragma once

#include "grid/GridPrintLayout.h"

#include <wx/font.h>
#include <wx/print.h>

#include <memory>

class CGridWindow;

class CGridPrintout : public wxPrintout {
public:
    explicit CGridPrintout(CGridWindow& grid);

    void OnPreparePrinting() override;
    void GetPageInfo(int* minPage, int* maxPage, int* pageFrom, int* pageTo) override;
    bool HasPage(int page) override;
    bool OnPrintPage(int page) override;

    const CGridPrintLayout* GetLayout() const { return m_layout.get(); }

private:
    // Prints the fixed columns and then columns first..last of one row at y, height high.
    void PrintRow(wxDC& dc, int row, int y, int height, int firstCol, int lastCol, int left);
    void PrintHeader(wxDC& dc, const wxRect& rect);
    void PrintFooter(wxDC& dc, const wxRect& rect, int page);

    CGridWindow& m_grid;
    std::unique_ptr<CGridPrintLayout> m_layout;
    wxFont m_font;
    CGridSize m_charSize;
};
