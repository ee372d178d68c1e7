#include "Glyphora/HtmlMarkup.h"

#include "Platform/NumberText.h"

#include <climits>

namespace Glyphora {

SMarkupPiece TakeMarkupPiece(std::string& markup)
{
    SMarkupPiece piece;
    const std::size_t open = markup.find('<');
    const std::size_t close = markup.find('>');
    if (open == std::string::npos || close == std::string::npos || open >= close) {
        piece.text.swap(markup);
        markup.clear();
        return piece;
    }
    piece.text = markup.substr(0, open);
    piece.tag = markup.substr(open + 1, close - open - 1);
    piece.hasTag = true;
    markup.erase(0, close + 1);
    return piece;
}

bool FindQuotedAttribute(std::string_view tag, std::string_view name, std::string& value)
{
    const std::size_t at = tag.find(name);
    if (at == std::string_view::npos)
        return false;
    const std::size_t first = tag.find('\'', at + name.size());
    if (first == std::string_view::npos)
        return false;
    const std::size_t second = tag.find('\'', first + 1);
    if (second == std::string_view::npos)
        return false;
    value.assign(tag.substr(first + 1, second - first - 1));
    return true;
}

bool ReadFontSizePoints(std::string_view value, int& points)
{
    static const int kHtmlSizes[] = {8, 10, 12, 14, 16, 20, 26};
    const std::string text(value);
    if (text.size() > 2 && text.compare(text.size() - 2, 2, "pt") == 0) {
        const long size = Platform::AtoL(text.c_str());
        points = size > INT_MAX ? INT_MAX : size < INT_MIN ? INT_MIN : static_cast<int>(size);
        return true;
    }
    const long number = Platform::AtoL(text.c_str());
    if (number < 1 || number > 7)
        return false;
    points = kHtmlSizes[number - 1];
    return true;
}

}  // namespace Glyphora
