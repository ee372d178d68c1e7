// One piece of html text of one format, as the PDF writer places it.
#pragma once

#include <string>

class CRichTextRun {
public:
    enum { kAlignLeft = 0, kAlignRight = 1, kAlignCenter = 2 };

    // Takes face, styles, size, alignment and the extra word; the line break is cleared and the
    // text kept.
    void CopyFormat(const CRichTextRun& other);

    std::string text;
    std::string face;  // empty: the caller's default
    int bold = 0;
    int italic = 0;
    int underline = 0;
    int size = 0;  // points; 0: the caller's default
    int alignment = kAlignLeft;
    // Carried with the format for the PDF writer; the mark-up never sets it.
    int extra = 0;
    bool lineBreak = false;
    // Set by Layout, in the caller's measuring unit.
    int x = 0;
    // After Layout the distance from the top of the text to the bottom of the run's line;
    // during it the run's measured height.
    int lineBottom = 0;
    int lineIndex = -1;
};
