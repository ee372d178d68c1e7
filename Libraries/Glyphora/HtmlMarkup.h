// The pieces of the html text mark-up that the drawer's layout and the PDF writer's runs read
// alike, so both give a tag the same meaning.
#pragma once

#include <string>
#include <string_view>

namespace Glyphora {

// Splits the front of the mark-up. With p the first '<' and q the first '>': when there is no
// '<' or it does not come before the '>', the whole rest is text; otherwise the text before '<'
// and the characters between '<' and '>' as the tag (hasTag). The mark-up is cut behind what
// was taken.
struct SMarkupPiece {
    std::string text;
    std::string tag;
    bool hasTag = false;
};
SMarkupPiece TakeMarkupPiece(std::string& markup);

// The text between the first two single quotes after the first occurrence of name in the tag
// text; false when the name or the two quotes are missing.
bool FindQuotedAttribute(std::string_view tag, std::string_view name, std::string& value);

// A font size attribute in points: a value longer than two characters ending in "pt" is that
// many points, "1" to "7" are the seven HTML sizes (8, 10, 12, 14, 16, 20, 26 points). False
// for anything else, which leaves the size as it was.
bool ReadFontSizePoints(std::string_view value, int& points);

}  // namespace Glyphora
