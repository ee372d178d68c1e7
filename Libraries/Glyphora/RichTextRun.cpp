#include "Glyphora/RichTextRun.h"

void CRichTextRun::CopyFormat(const CRichTextRun& other)
{
    face = other.face;
    bold = other.bold;
    italic = other.italic;
    underline = other.underline;
    size = other.size;
    alignment = other.alignment;
    extra = other.extra;
    lineBreak = false;
}

