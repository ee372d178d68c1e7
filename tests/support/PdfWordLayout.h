// Where the words of a PDF stand, as `pdftotext -bbox` finds them, with the size and colour of
// their font as `pdftohtml -xml` reads them, so two documents of the same report (a printed job
// and the export, say) can be compared word by word.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// One word; lengths in points from the page's top-left corner, y pointing down.
struct SPdfWord {
    std::string text;
    double xMin = 0;
    double yMin = 0;
    double xMax = 0;
    double yMax = 0;
    // The font size in points, the height of the text as drawn; the box's height also holds the
    // ascent and descent that each file declares for its font, which differ between files of
    // the same face. 0 when unknown.
    double size = 0;
    // 0xRRGGBB the text is filled with; -1 when unknown.
    std::int32_t colour = -1;
};

struct SPdfPage {
    double width = 0;
    double height = 0;
    std::vector<SPdfWord> words;
};

// The pages of the document with their words in the order pdftotext lists them. Empty when the
// file cannot be read.
std::vector<SPdfPage> ReadPdfWords(const std::string& pdf);

struct SWordLayoutRule {
    // Positions are compared relative to this word (its first occurrence on the page), so
    // different printable areas do not matter. A page of the expected document without it is
    // measured from its first word.
    std::string referenceWord = "Customer";
    double heightTolerance = 0.10;  // fraction of the expected font size
    double positionToleranceMm = 1.0;  // each axis
    // In any channel: files write colours with different precision.
    int colourTolerance = 2;
};

// One readable line per fault: the page counts differ; a word of an expected page is missing on
// the same page of the actual document, its height (font size) is off by more than the
// tolerance, its position (its box's left-bottom corner relative to the reference word's) by
// more than the tolerance on either axis, or its colour differs. Sizes and colours are compared
// where both words have them. Each expected word is paired with the unused
// actual word of the same text nearest to where it should be. An actual page whose orientation
// differs from the expected page's is taken as turned a quarter counter-clockwise onto its
// sheet (the page's top along the sheet's left edge), as a printer does with a landscape page
// in a portrait job. Empty when the documents match.
std::vector<std::string> CompareWordLayout(const std::vector<SPdfPage>& expected, const std::vector<SPdfPage>& actual,
                                           const SWordLayoutRule& rule = SWordLayoutRule());

// The first word of that text on the page, or none.
const SPdfWord* FindPdfWord(const SPdfPage& page, const std::string& text);
