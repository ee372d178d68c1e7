#include "support/PdfWordLayout.h"

#include "support/Process.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <map>
#include <regex>
#include <sstream>

namespace {

constexpr double kPointsPerMm = 72.0 / 25.4;

std::string Unescape(const std::string& text)
{
    static const std::pair<const char*, const char*> entities[] = {
        {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&apos;", "'"}, {"&#39;", "'"}, {"&amp;", "&"}};
    std::string result = text;
    for (const auto& [entity, plain] : entities) {
        for (std::size_t at = result.find(entity); at != std::string::npos; at = result.find(entity, at + 1))
            result.replace(at, std::string(entity).size(), plain);
    }
    return result;
}

struct SFontSpec {
    double size = 0;
    std::int32_t colour = -1;
};

// A piece of text as pdftohtml places it, in points.
struct STextPiece {
    double left = 0;
    double top = 0;
    double right = 0;
    double bottom = 0;
    SFontSpec font;
};

// Each page's text pieces with their fonts: pdftohtml writes lengths scaled by its zoom, which
// the page's width in both tools gives.
std::vector<std::vector<STextPiece>> ReadTextPieces(const std::string& pdf, const std::vector<SPdfPage>& pages)
{
    std::vector<std::vector<STextPiece>> pieces;
    const std::string xml = RunTool({"pdftohtml", "-xml", "-i", "-stdout", pdf}).output;
    static const std::regex pageTag(R"re(<page number="([0-9]+)"[^>]* width="([0-9.]+)")re");
    static const std::regex fontTag(R"re(<fontspec id="([0-9]+)" size="([-0-9.]+)"[^>]* color="#([0-9a-fA-F]{6})")re");
    static const std::regex textTag(
        R"re(<text top="([-0-9.]+)" left="([-0-9.]+)" width="([-0-9.]+)" height="([-0-9.]+)" font="([0-9]+)")re");
    std::map<int, SFontSpec> fonts;
    double scale = 1;
    std::istringstream lines(xml);
    std::string line;
    std::smatch match;
    while (std::getline(lines, line)) {
        if (std::regex_search(line, match, pageTag)) {
            const std::size_t index = pieces.size();
            pieces.emplace_back();
            scale = index < pages.size() && pages[index].width > 0 ? std::stod(match[2]) / pages[index].width : 1;
        } else if (std::regex_search(line, match, fontTag)) {
            fonts[std::stoi(match[1])] = {std::stod(match[2]), static_cast<std::int32_t>(std::stol(match[3], nullptr, 16))};
        } else if (!pieces.empty() && std::regex_search(line, match, textTag)) {
            STextPiece piece;
            piece.top = std::stod(match[1]) / scale;
            piece.left = std::stod(match[2]) / scale;
            piece.right = piece.left + std::stod(match[3]) / scale;
            piece.bottom = piece.top + std::stod(match[4]) / scale;
            piece.font = fonts[std::stoi(match[5])];
            piece.font.size /= scale;
            pieces.back().push_back(piece);
        }
    }
    return pieces;
}

// The font of the piece that overlaps the word's box most (turned text comes in pieces of no
// width, hence the margin).
SFontSpec FontOf(const std::vector<STextPiece>& pieces, const SPdfWord& word)
{
    const double margin = 1;
    SFontSpec font;
    double most = 0;
    for (const STextPiece& piece : pieces) {
        const double width = std::min(piece.right + margin, word.xMax) - std::max(piece.left - margin, word.xMin);
        const double height = std::min(piece.bottom + margin, word.yMax) - std::max(piece.top - margin, word.yMin);
        if (width > 0 && height > 0 && width * height > most) {
            most = width * height;
            font = piece.font;
        }
    }
    return font;
}

// The largest difference of the two colours in one channel.
int Distance(std::int32_t a, std::int32_t b)
{
    int largest = 0;
    for (int shift : {16, 8, 0})
        largest = std::max(largest, std::abs(((a >> shift) & 0xFF) - ((b >> shift) & 0xFF)));
    return largest;
}

// The word as it stands on its page when the page was turned a quarter counter-clockwise onto
// a sheet sheetHeight high.
SPdfWord Unturned(const SPdfWord& word, double sheetHeight)
{
    SPdfWord page = word;
    page.xMin = sheetHeight - word.yMax;
    page.xMax = sheetHeight - word.yMin;
    page.yMin = word.xMin;
    page.yMax = word.xMax;
    return page;
}

std::string Mm(double points)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", points / kPointsPerMm);
    return text;
}

std::string Points(double points)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", points);
    return text;
}

std::string Hex(std::int32_t colour)
{
    char text[16];
    std::snprintf(text, sizeof text, "#%06x", static_cast<unsigned>(colour));
    return text;
}

std::string Describe(int page, const SPdfWord& word)
{
    return "page " + std::to_string(page) + ": \"" + word.text + "\" at (" + Mm(word.xMin) + ", " + Mm(word.yMax) +
           ") mm";
}

}  // namespace

std::vector<SPdfPage> ReadPdfWords(const std::string& pdf)
{
    std::vector<SPdfPage> pages;
    const std::string xml = RunTool({"pdftotext", "-bbox", pdf, "-"}).output;
    static const std::regex pageTag(R"re(<page width="([0-9.]+)" height="([0-9.]+)">)re");
    static const std::regex wordTag(
        R"re(<word xMin="([-0-9.]+)" yMin="([-0-9.]+)" xMax="([-0-9.]+)" yMax="([-0-9.]+)">([^<]*)</word>)re");
    std::istringstream lines(xml);
    std::string line;
    std::smatch match;
    while (std::getline(lines, line)) {
        if (std::regex_search(line, match, pageTag)) {
            SPdfPage page;
            page.width = std::stod(match[1]);
            page.height = std::stod(match[2]);
            pages.push_back(page);
        } else if (!pages.empty() && std::regex_search(line, match, wordTag)) {
            SPdfWord word;
            word.xMin = std::stod(match[1]);
            word.yMin = std::stod(match[2]);
            word.xMax = std::stod(match[3]);
            word.yMax = std::stod(match[4]);
            word.text = Unescape(match[5]);
            pages.back().words.push_back(word);
        }
    }
    const std::vector<std::vector<STextPiece>> pieces = ReadTextPieces(pdf, pages);
    for (std::size_t i = 0; i < pages.size() && i < pieces.size(); ++i) {
        for (SPdfWord& word : pages[i].words) {
            const SFontSpec font = FontOf(pieces[i], word);
            word.size = font.size;
            word.colour = font.colour;
        }
    }
    return pages;
}

const SPdfWord* FindPdfWord(const SPdfPage& page, const std::string& text)
{
    for (const SPdfWord& word : page.words) {
        if (word.text == text)
            return &word;
    }
    return nullptr;
}

std::vector<std::string> CompareWordLayout(const std::vector<SPdfPage>& expected, const std::vector<SPdfPage>& actual,
                                           const SWordLayoutRule& rule)
{
    std::vector<std::string> faults;
    if (expected.size() != actual.size()) {
        faults.push_back(std::to_string(actual.size()) + " pages instead of " + std::to_string(expected.size()));
    }
    const double tolerance = rule.positionToleranceMm * kPointsPerMm;
    for (std::size_t i = 0; i < std::min(expected.size(), actual.size()); ++i) {
        const int number = static_cast<int>(i) + 1;
        const SPdfPage& want = expected[i];
        if (want.words.empty())
            continue;
        SPdfPage have = actual[i];
        if ((want.width > want.height) != (have.width > have.height)) {
            for (SPdfWord& word : have.words)
                word = Unturned(word, have.height);
        }
        const SPdfWord* wantReference = FindPdfWord(want, rule.referenceWord);
        if (wantReference == nullptr)
            wantReference = &want.words.front();
        const SPdfWord* haveReference = FindPdfWord(have, wantReference->text);
        if (haveReference == nullptr) {
            faults.push_back(Describe(number, *wantReference) + " (the reference word) is missing");
            continue;
        }
        std::vector<bool> used(have.words.size(), false);
        for (const SPdfWord& word : want.words) {
            const double dx = word.xMin - wantReference->xMin;
            const double dy = word.yMax - wantReference->yMax;
            std::size_t best = have.words.size();
            double bestDistance = std::numeric_limits<double>::max();
            for (std::size_t j = 0; j < have.words.size(); ++j) {
                if (used[j] || have.words[j].text != word.text)
                    continue;
                const double distance = std::hypot(have.words[j].xMin - haveReference->xMin - dx,
                                                   have.words[j].yMax - haveReference->yMax - dy);
                if (distance < bestDistance) {
                    best = j;
                    bestDistance = distance;
                }
            }
            if (best == have.words.size()) {
                faults.push_back(Describe(number, word) + " is missing");
                continue;
            }
            used[best] = true;
            const SPdfWord& found = have.words[best];
            if (word.size > 0 && found.size > 0 && std::abs(found.size - word.size) > rule.heightTolerance * word.size) {
                faults.push_back(Describe(number, word) + " is " + Points(found.size) + " pt high instead of " +
                                 Points(word.size));
            }
            const double offX = found.xMin - haveReference->xMin - dx;
            const double offY = found.yMax - haveReference->yMax - dy;
            if (std::abs(offX) > tolerance || std::abs(offY) > tolerance)
                faults.push_back(Describe(number, word) + " is off by (" + Mm(offX) + ", " + Mm(offY) + ") mm");
            if (word.colour >= 0 && found.colour >= 0 && Distance(word.colour, found.colour) > rule.colourTolerance)
                faults.push_back(Describe(number, word) + " is drawn in " + Hex(found.colour) + " instead of " +
                                 Hex(word.colour));
        }
    }
    return faults;
}
