#include "support/PdfWordLayout.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <map>
#include <memory>
#include <regex>
#include <sstream>

namespace {

// Rendering resolution for reading ink: fine enough that small text has pixels of full colour.
constexpr int kInkDpi = 150;
constexpr double kPointsPerMm = 72.0 / 25.4;

std::string Quote(const std::string& text)
{
    std::string quoted = "'";
    for (char c : text) {
        if (c == '\'')
            quoted += "'\\''";
        else
            quoted += c;
    }
    return quoted + "'";
}

std::string Output(const std::string& command)
{
    std::string output;
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen((command + " 2>/dev/null").c_str(), "r"), pclose);
    if (!pipe)
        return output;
    char buffer[65536];
    std::size_t read;
    while ((read = std::fread(buffer, 1, sizeof buffer, pipe.get())) > 0)
        output.append(buffer, read);
    return output;
}

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

struct SImage {
    int width = 0;
    int height = 0;
    std::string pixels;  // RGB
    std::int32_t At(int x, int y) const
    {
        const auto* p = reinterpret_cast<const unsigned char*>(pixels.data()) + 3 * (static_cast<std::size_t>(y) * width + x);
        return (p[0] << 16) | (p[1] << 8) | p[2];
    }
};

SImage RenderPage(const std::string& pdf, int page)
{
    const std::string number = std::to_string(page);
    const std::string ppm = Output("pdftoppm -r " + std::to_string(kInkDpi) + " -f " + number + " -l " + number + " " +
                                   Quote(pdf));
    SImage image;
    int max = 0;
    int consumed = 0;
    if (std::sscanf(ppm.c_str(), "P6 %d %d %d%n", &image.width, &image.height, &max, &consumed) != 3 || max != 255)
        return SImage();
    const std::size_t size = 3 * static_cast<std::size_t>(image.width) * image.height;
    if (ppm.size() < consumed + 1 + size)
        return SImage();
    image.pixels = ppm.substr(consumed + 1, size);
    return image;
}

int Distance(std::int32_t a, std::int32_t b)
{
    int largest = 0;
    for (int shift : {16, 8, 0})
        largest = std::max(largest, std::abs(((a >> shift) & 0xFF) - ((b >> shift) & 0xFF)));
    return largest;
}

std::int32_t Ink(const SImage& image, const SPdfPage& page, const SPdfWord& word)
{
    const double sx = image.width / page.width;
    const double sy = image.height / page.height;
    const int left = std::clamp(static_cast<int>(std::floor(word.xMin * sx)), 0, image.width);
    const int right = std::clamp(static_cast<int>(std::ceil(word.xMax * sx)), 0, image.width);
    const int top = std::clamp(static_cast<int>(std::floor(word.yMin * sy)), 0, image.height);
    const int bottom = std::clamp(static_cast<int>(std::ceil(word.yMax * sy)), 0, image.height);
    std::map<std::int32_t, int> counts;
    for (int y = top; y < bottom; ++y) {
        for (int x = left; x < right; ++x)
            ++counts[image.At(x, y)];
    }
    if (counts.empty())
        return -1;
    const std::int32_t background =
        std::max_element(counts.begin(), counts.end(), [](const auto& a, const auto& b) { return a.second < b.second; })
            ->first;
    std::int32_t ink = background;
    for (const auto& [colour, count] : counts) {
        if (Distance(colour, background) > Distance(ink, background))
            ink = colour;
    }
    return ink;
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

std::vector<SPdfPage> ReadPdfWords(const std::string& pdf, bool ink)
{
    std::vector<SPdfPage> pages;
    const std::string xml = Output("pdftotext -bbox " + Quote(pdf) + " -");
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
    if (ink) {
        for (std::size_t i = 0; i < pages.size(); ++i) {
            const SImage image = RenderPage(pdf, static_cast<int>(i) + 1);
            if (image.width == 0)
                continue;
            for (SPdfWord& word : pages[i].words)
                word.ink = Ink(image, pages[i], word);
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
            const double wantHeight = word.yMax - word.yMin;
            const double haveHeight = found.yMax - found.yMin;
            if (std::abs(haveHeight - wantHeight) > rule.heightTolerance * wantHeight) {
                faults.push_back(Describe(number, word) + " is " + Mm(haveHeight) + " mm high instead of " +
                                 Mm(wantHeight));
            }
            const double offX = found.xMin - haveReference->xMin - dx;
            const double offY = found.yMax - haveReference->yMax - dy;
            if (std::abs(offX) > tolerance || std::abs(offY) > tolerance)
                faults.push_back(Describe(number, word) + " is off by (" + Mm(offX) + ", " + Mm(offY) + ") mm");
            if (word.ink >= 0 && found.ink >= 0 && Distance(word.ink, found.ink) > rule.inkTolerance)
                faults.push_back(Describe(number, word) + " is drawn in " + Hex(found.ink) + " instead of " +
                                 Hex(word.ink));
        }
    }
    return faults;
}
