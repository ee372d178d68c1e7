// How a grid falls onto printed pages: the logical page, the room left for data rows and
// columns, the number of pages and, for each page, which rows and columns its body shows.
// Pages run across the column strips first (print-layout mode), then down the row pages.
#pragma once

#include "grid/GridDefs.h"

#include <string>

class CGridCtrl;

// Margins in character heights (header, footer, gap) and widths (left, right); top and bottom
// are kept but not used.
struct CGridPrintMargins {
    int header = 2;
    int footer = 2;
    int left = 4;
    int right = 4;
    int top = 1;
    int bottom = 1;
    int gap = 1;
};

// What the printer and the screen are like.
struct CGridPrintDevice {
    CGridSize paper;        // printable area in printer pixels
    CGridSize printerDpi;
    CGridSize screenDpi;
    CGridSize charSize;     // average character width and line height of the printer font
};

class CGridPrintLayout {
public:
    // Lays the grid out; wysiwyg is print-layout mode (columns that do not fit go to further
    // strips, sizes as on screen).
    CGridPrintLayout(const CGridCtrl& grid, const CGridPrintMargins& margins, const CGridPrintDevice& device,
                     bool wysiwyg);

    int GetPageCount() const { return m_pages; }
    int GetColumnStrips() const { return m_strips; }
    CGridSize GetLogicalPage() const { return m_logicalPage; }
    int GetPageHeight() const { return m_pageHeight; }
    int GetPageWidth() const { return m_pageWidth; }
    int GetMarginWidth() const { return m_marginWidth; }

    // First body row of the page (1-based); the row count when the page has no body (then it
    // has no footer either).
    int FirstRow(int page) const;
    // Last body row whose bottom stays on the page; below FirstRow when none fits.
    int LastRow(int page) const;
    // First and last non-fixed column of the page's strip; a column wider than the page has a
    // strip of its own.
    int FirstColumn(int page) const;
    int LastColumn(int page) const;
    bool HasBody(int page) const;

    // "Page n of m", with the two words in the user's language.
    static std::string FooterText(int page, int pages, const std::string& pageWord = "Page",
                                  const std::string& ofWord = "of");

private:
    // Last column of the strip that starts at first: those that fit the page width together,
    // at least first itself.
    int StripEnd(int first) const;

    const CGridCtrl& m_grid;
    int m_marginWidth = 0;
    CGridSize m_logicalPage;
    int m_pageHeight = 0;
    int m_pageWidth = 0;
    int m_pages = 1;
    int m_strips = 1;
};
