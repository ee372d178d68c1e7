#include "Pagewright/GraphMarker.h"

#include "Pagewright/ReportValues.h"
#include "Platform/AsciiText.h"

namespace {

const std::string kOpening = "<!--INSERT GRAPH MARKER ";
const char* const kEndings[] = {"--!>", "-->"};

bool EndsWith(const std::string& text, const std::string& end)
{
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

}  // namespace

bool CGraphMarker::Parse(const std::string& line, CGraphMarker& marker)
{
    std::string text(Platform::TrimAsciiBlanks(line));
    if (text.compare(0, kOpening.size(), kOpening) != 0)
        return false;
    std::size_t endLength = 0;
    for (const char* ending : kEndings) {
        if (EndsWith(text, ending) && text.size() >= kOpening.size() + std::string(ending).size()) {
            endLength = std::string(ending).size();
            break;
        }
    }
    if (endLength == 0)
        return false;
    text = std::string(Platform::TrimAsciiBlanks(text.substr(kOpening.size(), text.size() - kOpening.size() - endLength)));
    for (char& c : text)
        c = Platform::AsciiUpper(c);

    CGraphMarker read;
    int* const numbers[] = {&read.bottom, &read.right, &read.top, &read.left};
    for (int* number : numbers) {
        const std::size_t space = text.rfind(' ');
        if (space == std::string::npos || space == 0)
            break;
        *number = Pagewright::LeadingInt(text.c_str() + space + 1);
        text.erase(space);
    }
    read.kind = text;
    marker = read;
    return true;
}

std::string CGraphMarker::ToLine() const
{
    return kOpening + kind + " " + std::to_string(left) + " " + std::to_string(top) + " " + std::to_string(right) +
           " " + std::to_string(bottom) + "-->";
}

int CGraphMarker::GetColumn() const
{
    if (kind == "ERROR")
        return 3;
    if (kind == "PRESSURE LOSS")
        return 2;
    if (kind == "VELOCITY")
        return 1;
    if (kind == "REYNOLDS")
        return 4;
    return -1;
}
