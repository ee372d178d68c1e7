// libFuzzer target over the font readers: TrueType tables, AFM text and PFM files. A crash or a
// sanitizer report is a finding, and so is a PFM whose converted AFM text does not load or a
// loaded font without a width for every code.
#include "Pagewright/PfmFontMetrics.h"
#include "Pagewright/TrueTypeFontMetrics.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

void CheckWidths(const CFontMetrics& metrics, const char* reader)
{
    if (static_cast<int>(metrics.widths.size()) != metrics.lastChar - metrics.firstChar + 1) {
        std::fprintf(stderr, "%s: %zu widths for codes %d..%d\n", reader, metrics.widths.size(), metrics.firstChar,
                     metrics.lastChar);
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    CTrueTypeFontMetrics trueType;
    if (trueType.LoadFromBytes(bytes, "Fuzz"))
        CheckWidths(trueType, "TrueType");
    CAfmFontMetrics afm;
    if (afm.LoadAfmText(bytes))
        CheckWidths(afm, "AFM");
    std::string text;
    if (CPfmFontMetrics::ConvertPfmToAfm(bytes, text)) {
        CPfmFontMetrics pfm;
        if (!pfm.LoadAfmText(text)) {
            std::fprintf(stderr, "converted PFM does not load:\n%s", text.c_str());
            std::abort();
        }
        CheckWidths(pfm, "PFM");
    }
    return 0;
}
