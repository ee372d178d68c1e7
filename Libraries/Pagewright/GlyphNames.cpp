#include "Pagewright/GlyphNames.h"

#include <cstring>

namespace {

const char* const kWindowsNames[256] = {
    "W00", "W01", "W02", "W03", "macron", "breve", "dotaccent", "W07",
    "ring", "W09", "W0a", "W0b", "W0c", "W0d", "W0e", "W0f",
    "hungarumlaut", "ogonek", "caron", "W13", "W14", "W15", "W16", "W17",
    "W18", "W19", "W1a", "W1b", "W1c", "W1d", "W1e", "W1f",
    "space", "exclam", "quotedbl", "numbersign", "dollar", "percent", "ampersand", "quotesingle",
    "parenleft", "parenright", "asterisk", "plus", "comma", "hyphen", "period", "slash",
    "zero", "one", "two", "three", "four", "five", "six", "seven",
    "eight", "nine", "colon", "semicolon", "less", "equal", "greater", "question",
    "at", "A", "B", "C", "D", "E", "F", "G",
    "H", "I", "J", "K", "L", "M", "N", "O",
    "P", "Q", "R", "S", "T", "U", "V", "W",
    "X", "Y", "Z", "bracketleft", "backslash", "bracketright", "asciicircum", "underscore",
    "grave", "a", "b", "c", "d", "e", "f", "g",
    "h", "i", "j", "k", "l", "m", "n", "o",
    "p", "q", "r", "s", "t", "u", "v", "w",
    "x", "y", "z", "braceleft", "bar", "braceright", "asciitilde", "W7f",
    "W80", "W81", "quotesinglbase", "W83", "quotedblbase", "ellipsis", "dagger", "daggerdbl",
    "circumflex", "perthousand", "Scaron", "guilsinglleft", "OE", "W8d", "W8e", "W8f",
    "W90", "quoteleft", "quoteright", "quotedblleft", "quotedblright", "bullet1", "endash", "emdash",
    "tilde", "trademark", "scaron", "guilsinglright", "oe", "W9d", "W9e", "Ydieresis",
    "reqspace", "exclamdown", "cent", "sterling", "currency", "yen", "brokenbar", "section",
    "dieresis", "copyright", "ordfeminine", "guillemotleft", "logicalnot", "syllable", "registered", "overbar",
    "degree", "plusminus", "twosuperior", "threesuperior", "acute", "mu", "paragraph", "periodcentered",
    "cedilla", "onesuperior", "ordmasculine", "guillemotright", "onequarter", "onehalf", "threequarters", "questiondown",
    "Agrave", "Aacute", "Acircumflex", "Atilde", "Adieresis", "Aring", "AE", "Ccedilla",
    "Egrave", "Eacute", "Ecircumflex", "Edieresis", "Igrave", "Iacute", "Icircumflex", "Idieresis",
    "Eth", "Ntilde", "Ograve", "Oacute", "Ocircumflex", "Otilde", "Odieresis", "multiply",
    "Oslash", "Ugrave", "Uacute", "Ucircumflex", "Udieresis", "Yacute", "Thorn", "germandbls",
    "agrave", "aacute", "acircumflex", "atilde", "adieresis", "aring", "ae", "ccedilla",
    "egrave", "eacute", "ecircumflex", "edieresis", "igrave", "iacute", "icircumflex", "idieresis",
    "eth", "ntilde", "ograve", "oacute", "ocircumflex", "otilde", "odieresis", "divide",
    "oslash", "ugrave", "uacute", "ucircumflex", "udieresis", "yacute", "thorn", "ydieresis",
};

struct SCodePair {
    unsigned char windows;
    unsigned char standard;
};

const SCodePair kStandardCodes[] = {
    {4, 197},   {5, 198},   {6, 199},   {8, 202},   {10, 205},  {11, 206},  {12, 207},  {39, 169},
    {96, 193},  {130, 184}, {132, 185}, {133, 188}, {134, 178}, {135, 179}, {136, 94},  {137, 189},
    {139, 172}, {140, 234}, {145, 96},  {147, 170}, {148, 186}, {150, 177}, {151, 208}, {152, 126},
    {155, 173}, {156, 250}, {164, 168}, {168, 200}, {170, 227}, {180, 194}, {183, 180}, {184, 203},
    {186, 235}, {198, 225}, {216, 233}, {223, 251}, {230, 241}, {248, 249},
};

// Where the character of the code page has another standard name than the PFM table gives.
struct SNamePair {
    unsigned char code;
    const char* name;
};
const SNamePair kStandardNames[] = {
    {0x80, "Euro"}, {0x83, "florin"}, {0x8E, "Zcaron"}, {0x95, "bullet"}, {0x9E, "zcaron"},
    {0xA0, "space"}, {0xAD, "hyphen"}, {0xAF, "macron"},
};

}  // namespace

namespace Pagewright {

const char* WindowsGlyphName(unsigned char code)
{
    return kWindowsNames[code];
}

int StandardEncodingCode(unsigned char code)
{
    if ((code >= 32 && code <= 38) || (code >= 40 && code <= 95) || (code >= 97 && code <= 127) ||
        (code >= 161 && code <= 163) || code == 165 || code == 167 || code == 171 || code == 182 || code == 187 ||
        code == 191)
        return code;
    for (const SCodePair& pair : kStandardCodes) {
        if (pair.windows == code)
            return pair.standard;
    }
    return 0;
}

const char* StandardGlyphName(unsigned char code)
{
    for (const SNamePair& pair : kStandardNames) {
        if (pair.code == code)
            return pair.name;
    }
    const char* name = kWindowsNames[code];
    // The "Wxx" names stand for codes without a character; below 32 are controls.
    if (code < 32 || (name[0] == 'W' && std::strlen(name) == 3))
        return "";
    return name;
}

}  // namespace Pagewright
