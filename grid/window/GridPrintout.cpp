#include "grid/window/GridPrintout.h"

#include "grid/GridCellBase.h"
#include "grid/window/GridDcPainter.h"
#include "grid/window/GridWindow.h"
#include "Harbinax/Harbinax.h"

#include <wx/app.h>
#include <wx/datetime.h>

namespace {
// The text of the first window from the grid outwards that has one: a grid on a page of a
// dialog is titled by the dialog.
wxString WindowTitle(const wxWindow& grid)
{
    for (const wxWindow* window = &grid; window; window = window->GetParent())
        if (!window->GetLabel().empty())
            return window->GetLabel();
    return wxString();
}
}  // namespace

CGridPrintout::CGridPrintout(CGridWindow& grid) : wxPrintout(WindowTitle(grid)), m_grid(grid)
{
}

void CGridPrintout::OnPreparePrinting()
{
    wxDC* dc = GetDC();
    if (!dc)
        return;
    m_font = wxFont(wxFontInfo(10).Family(wxFONTFAMILY_SWISS));
    dc->SetUserScale(1, 1);
    dc->SetFont(m_font);
    const wxString alphabet = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSATUVWXYZ";
    const wxSize extent = dc->GetTextExtent(alphabet);
    m_charSize = CGridSize{extent.x / 52, extent.y};

    CGridPrintDevice device;
    int width = 0;
    int height = 0;
    GetPageSizePixels(&width, &height);
    device.paper = CGridSize{width, height};
    GetPPIPrinter(&device.printerDpi.cx, &device.printerDpi.cy);
    GetPPIScreen(&device.screenDpi.cx, &device.screenDpi.cy);
    // The character size in the page's logical units, which the layout works in.
    device.charSize = m_charSize;
    m_layout = std::make_unique<CGridPrintLayout>(m_grid, m_grid.GetPrintMargins(), device,
                                                  m_grid.GetWysiwygPrinting());
}

void CGridPrintout::GetPageInfo(int* minPage, int* maxPage, int* pageFrom, int* pageTo)
{
    const int pages = m_layout ? m_layout->GetPageCount() : 0;
    *minPage = pages ? 1 : 0;
    *maxPage = pages;
    *pageFrom = *minPage;
    *pageTo = pages;
}

bool CGridPrintout::HasPage(int page)
{
    return m_layout && page >= 1 && page <= m_layout->GetPageCount();
}

void CGridPrintout::PrintRow(wxDC& dc, int row, int y, int height, int firstCol, int lastCol, int left)
{
    CGridDcPainter painter(dc, m_font, m_grid.GetImageList(), wxRect(), true);
    const int lines = m_grid.GetGridLines();
    int x = left;
    auto cell = [&](int col) {
        const int width = m_grid.GetColumnWidth(col);
        if (width <= 0)
            return;
        const CGridRect rect{x, y, x + width - 1, y + height - 1};
        if (CGridCellBase* item = m_grid.GetCell(row, col))
            item->PrintCell(painter, row, col, rect);
        dc.SetPen(*wxBLACK_PEN);
        // Each cell frames itself on the sides the line setting names: the line above and
        // below, or left and right.
        if (lines & GVL_HORZ) {
            dc.DrawLine(x - 1, y - 1, x + width, y - 1);
            dc.DrawLine(x - 1, y + height - 1, x + width, y + height - 1);
        }
        if (lines & GVL_VERT) {
            dc.DrawLine(x - 1, y - 1, x - 1, y + height);
            dc.DrawLine(x + width - 1, y - 1, x + width - 1, y + height);
        }
        x += width;
    };
    for (int col = 0; col < m_grid.GetFixedColumnCount(); ++col)
        cell(col);
    for (int col = firstCol; col <= lastCol; ++col)
        cell(col);
}

void CGridPrintout::PrintHeader(wxDC& dc, const wxRect& rect)
{
    dc.SetFont(m_font.Bold());
    dc.SetTextForeground(*wxBLACK);
    const wxString title = WindowTitle(m_grid);
    if (!title.empty())
        dc.DrawLabel(title, rect, wxALIGN_CENTER);
    const wxString app = wxTheApp ? wxTheApp->GetAppDisplayName() : wxString();
    if (!app.empty())
        dc.DrawLabel(app, rect, wxALIGN_RIGHT | wxALIGN_CENTER_VERTICAL);
    dc.SetPen(*wxBLACK_PEN);
    dc.DrawLine(rect.GetLeft(), rect.GetBottom(), rect.GetRight(), rect.GetBottom());
}

void CGridPrintout::PrintFooter(wxDC& dc, const wxRect& rect, int page)
{
    dc.SetPen(*wxBLACK_PEN);
    dc.DrawLine(rect.GetLeft(), rect.GetTop(), rect.GetRight(), rect.GetTop());
    dc.SetFont(m_font.Bold());
    dc.SetTextForeground(*wxBLACK);
    const std::string footer =
        CGridPrintLayout::FooterText(page, m_layout->GetPageCount(), TranslateText("Page"), TranslateText("of"));
    dc.DrawLabel(wxString::FromUTF8(footer), rect,
                 wxALIGN_LEFT | wxALIGN_CENTER_VERTICAL);
    dc.DrawLabel(wxDateTime::Now().Format("%c"), rect, wxALIGN_RIGHT | wxALIGN_CENTER_VERTICAL);
}

bool CGridPrintout::OnPrintPage(int page)
{
    wxDC* dc = GetDC();
    if (!dc || !HasPage(page))
        return false;
    const CGridSize logical = m_layout->GetLogicalPage();
    // The logical page fills the paper.
    FitThisSizeToPage(wxSize(logical.cx, logical.cy));
    const CGridPrintMargins& margins = m_grid.GetPrintMargins();
    const int left = margins.left * m_charSize.cx;
    const int contentWidth = logical.cx - m_layout->GetMarginWidth();

    const int headerHeight = margins.header * m_charSize.cy;
    PrintHeader(*dc, wxRect(left, 0, contentWidth, headerHeight));

    const int firstCol = m_layout->FirstColumn(page);
    const int lastCol = m_layout->LastColumn(page);
    int y = headerHeight + margins.gap * m_charSize.cy;
    // A column wider than the page is cut off at the right margin; the lines on the left of and
    // above the first cell lie just outside.
    {
        wxDCClipper clip(*dc, wxRect(left - 2, y - 2, contentWidth + 2, m_grid.GetFixedRowsHeight() + 2));
        for (int row = 0; row < m_grid.GetFixedRowCount(); ++row) {
            PrintRow(*dc, row, y, m_grid.GetRowHeight(row), firstCol, lastCol, left);
            y += m_grid.GetRowHeight(row);
        }
    }
    if (!m_layout->HasBody(page))
        return true;
    // A row taller than the page is cut off where the page ends.
    const int bodyBottom = y + m_layout->GetPageHeight();
    {
        wxDCClipper clip(*dc, wxRect(left - 2, y, contentWidth + 2, m_layout->GetPageHeight()));
        for (int row = m_layout->FirstRow(page); row <= m_layout->LastRow(page); ++row) {
            const int height = m_grid.GetRowHeight(row);
            if (height <= 0)
                continue;
            PrintRow(*dc, row, y, std::min(height, bodyBottom - y), firstCol, lastCol, left);
            y += height;
        }
    }
    const int footerHeight = margins.footer * m_charSize.cy;
    PrintFooter(*dc, wxRect(left, logical.cy - footerHeight, contentWidth, footerHeight), page);
    return true;
}
