#include "grid/GridPrintLayout.h"

#include "grid/GridCtrl.h"

#include <algorithm>
#include <string>

namespace {

// a x b / c rounded to the nearest integer, as the printer arithmetic wants it.
int MulDivRounded(int a, int b, int c)
{
    if (c == 0)
        return 0;
    const long long product = static_cast<long long>(a) * b;
    const long long half = (c > 0 ? c : -c) / 2;
    return static_cast<int>((product >= 0 ? product + half : product - half) / c);
}

}  // namespace

CGridPrintLayout::CGridPrintLayout(const CGridCtrl& grid, const CGridPrintMargins& margins,
                                   const CGridPrintDevice& device, bool wysiwyg)
    : m_grid(grid)
{
    const CGridSize ch = device.charSize;
    m_marginWidth = (margins.left + margins.right) * ch.cx;
    if (!wysiwyg) {
        m_logicalPage.cx = grid.GetTotalWidth() + m_marginWidth;
        m_logicalPage.cy = MulDivRounded(m_logicalPage.cx, device.paper.cy, device.paper.cx);
    } else if (device.printerDpi.cx > 0 && device.printerDpi.cy > 0) {
        m_logicalPage.cx = device.screenDpi.cx * device.paper.cx / device.printerDpi.cx * 3 / 4;
        m_logicalPage.cy = device.screenDpi.cy * device.paper.cy / device.printerDpi.cy * 3 / 4;
    }
    m_pageHeight = m_logicalPage.cy - grid.GetFixedRowsHeight() -
                   (margins.header + margins.footer + 2 * margins.gap) * ch.cy;

    int sum = 0;
    for (int row = grid.GetFixedRowCount(); row < grid.GetRowCount(); ++row) {
        // A row taller than a page starts no page before it: it fills one of its own, clipped.
        if (sum > 0 && sum + grid.GetRowHeight(row) > m_pageHeight) {
            ++m_pages;
            sum = 0;
        }
        sum += grid.GetRowHeight(row);
    }
    m_pageWidth = m_logicalPage.cx - grid.GetFixedColumnsWidth() - m_marginWidth;
    if (wysiwyg) {
        m_strips = 0;
        for (int col = grid.GetFixedColumnCount(); col < grid.GetColumnCount(); col = StripEnd(col) + 1)
            ++m_strips;
        m_strips = std::max(m_strips, 1);
        m_pages *= m_strips;
    }
}

int CGridPrintLayout::StripEnd(int first) const
{
    // A column wider than the page still makes a strip: its own, clipped.
    int sum = m_grid.GetColumnWidth(first);
    int col = first + 1;
    for (; col < m_grid.GetColumnCount(); ++col) {
        sum += m_grid.GetColumnWidth(col);
        if (sum > m_pageWidth)
            break;
    }
    return col - 1;
}

int CGridPrintLayout::FirstRow(int page) const
{
    const int rowStrip = page / m_strips + (page % m_strips ? 1 : 0);
    const int first = m_grid.GetFixedRowCount();
    if (rowStrip <= 1)
        return first;
    int counter = 1;
    int sum = 0;
    for (int row = first; row < m_grid.GetRowCount(); ++row) {
        if (sum > 0 && sum + m_grid.GetRowHeight(row) > m_pageHeight) {
            if (++counter == rowStrip)
                return row;
            sum = 0;
        }
        sum += m_grid.GetRowHeight(row);
    }
    return m_grid.GetRowCount();
}

int CGridPrintLayout::LastRow(int page) const
{
    const int first = FirstRow(page);
    int bottom = -1;
    int row = first;
    for (; row < m_grid.GetRowCount(); ++row) {
        bottom += m_grid.GetRowHeight(row);
        if (bottom > m_pageHeight)
            break;
    }
    // The first row of a page is printed even when taller than the page, clipped at its end.
    return row == first && first < m_grid.GetRowCount() ? first : row - 1;
}

int CGridPrintLayout::FirstColumn(int page) const
{
    const int columnStrip = (page - 1) % m_strips;
    int first = m_grid.GetFixedColumnCount();
    for (int strip = 0; strip < columnStrip && first < m_grid.GetColumnCount(); ++strip)
        first = StripEnd(first) + 1;
    return first;
}

int CGridPrintLayout::LastColumn(int page) const
{
    const int first = FirstColumn(page);
    return first < m_grid.GetColumnCount() ? StripEnd(first) : first - 1;
}

bool CGridPrintLayout::HasBody(int page) const
{
    return FirstRow(page) < m_grid.GetRowCount();
}

std::string CGridPrintLayout::FooterText(int page, int pages, const std::string& pageWord, const std::string& ofWord)
{
    return pageWord + " " + std::to_string(page) + " " + ofWord + " " + std::to_string(pages);
}
