// Prints the time of exporting a page with one multiline text that shrinks to fit, too long for
// its box even at a quarter of its size, so that its lines are broken at every size tried.
// Targets: 4 KB well under a second, 64 KB within a few seconds.
//   textbreak_bench [folder for the PDF]   (default: /tmp)
#include "Pagewright/Report.h"
#include "Pagewright/ReportExporterPdf.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// Numbers of one to three digits as words, with a line feed after every wordsPerLine of them (0: none).
std::string Text(std::size_t bytes, int wordsPerLine)
{
    std::string text;
    for (int word = 1; text.size() < bytes; ++word)
        text += std::to_string(word % 1000) + (wordsPerLine > 0 && word % wordsPerLine == 0 ? "\n" : " ");
    return text;
}

}  // namespace

int main(int argc, char** argv)
{
    const std::string path = std::string(argc > 1 ? argv[1] : "/tmp") + "/textbreak_bench.pdf";
    const struct {
        const char* name;
        int wordsPerLine;
    } shapes[] = {{"one paragraph", 0}, {"a line feed every 50 words", 50}};
    for (const auto& shape : shapes) {
        // The first export also finds the font's file; it is not counted.
        for (const std::size_t kb : {0, 1, 2, 4, 16, 64}) {
            CReport document;
            const std::string report =
                R"(<report><page><text x="100" y="100" width="200" height="400" fontname="Body" multiline="TRUE" shrinktofit="TRUE">)" +
                Text(kb * 1024, shape.wordsPerLine) +
                R"(</text></page><font fontname="Body" typeface="Arial" fontsize="10pt"/></report>)";
            if (!document.LoadFromString(report)) {
                std::fprintf(stderr, "the report does not load\n");
                return 1;
            }
            document.Paginate();
            // The median of five exports.
            std::vector<double> ms;
            for (int run = 0; run < 5; ++run) {
                CReportExporterPdf exporter;
                const auto start = Clock::now();
                if (exporter.Export(&document, path) != 1) {
                    std::fprintf(stderr, "export failed\n");
                    return 1;
                }
                ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
            }
            std::sort(ms.begin(), ms.end());
            if (kb > 0)
                std::printf("%3zu KB, %s: %9.1f ms per export\n", kb, shape.name, ms[2]);
        }
    }
    std::remove(path.c_str());
    return 0;
}
