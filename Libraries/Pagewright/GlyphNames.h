// Glyph names of the Windows-1252 codes, for Type 1 font metrics.
#pragma once

namespace Pagewright {

// The Windows glyph name of a byte code as PFM conversion names glyphs: "W" and two hex digits
// for codes without a glyph, the Windows ANSI names otherwise ("bullet1", "reqspace",
// "syllable", "overbar" of its own).
const char* WindowsGlyphName(unsigned char code);
// The Adobe StandardEncoding code of a Windows code; 0 for none.
int StandardEncodingCode(unsigned char code);
// The Adobe glyph list name of the character a Windows-1252 code stands for; "" for controls.
// Fonts are only ever asked for these characters, so the list is held for them alone.
const char* StandardGlyphName(unsigned char code);

}  // namespace Pagewright
