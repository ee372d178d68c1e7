#include "Pagewright/FontFinder.h"

#include "Platform/AsciiText.h"

#include <fontconfig/fontconfig.h>

#include <map>
#include <mutex>
#include <sys/stat.h>
#include <vector>

namespace {

struct SAlias {
    const char* family;
    const char* alias;
};
const SAlias kAliases[] = {
    {"arial", "Liberation Sans"},
    {"times new roman", "Liberation Serif"},
    {"courier new", "Liberation Mono"},
};

// A configuration of our own rather than the library's global one, so that it is freed at exit
// with everything it loaded.
class CFontConfig {
public:
    CFontConfig() : m_config(FcInitLoadConfigAndFonts()) {}
    ~CFontConfig()
    {
        if (m_config != nullptr)
            FcConfigDestroy(m_config);
    }
    CFontConfig(const CFontConfig&) = delete;
    CFontConfig& operator=(const CFontConfig&) = delete;
    FcConfig* Get() const { return m_config; }

private:
    FcConfig* m_config;
};

FcConfig* Config()
{
    static CFontConfig config;
    return config.Get();
}

// Styles a typeface name may end in, as the Windows font list named faces.
struct SStyle {
    const char* word;
    int weight;
    int slant;
};
const SStyle kStyles[] = {
    {" bold italic", FC_WEIGHT_BOLD, FC_SLANT_ITALIC},
    {" bold oblique", FC_WEIGHT_BOLD, FC_SLANT_OBLIQUE},
    {" bold", FC_WEIGHT_BOLD, FC_SLANT_ROMAN},
    {" italic", FC_WEIGHT_REGULAR, FC_SLANT_ITALIC},
    {" oblique", FC_WEIGHT_REGULAR, FC_SLANT_OBLIQUE},
    {" regular", FC_WEIGHT_REGULAR, FC_SLANT_ROMAN},
};

bool EndsWith(const std::string& text, const std::string& end)
{
    return text.size() > end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// The file of the best match for family and style, when its family is one of the accepted.
std::string MatchFile(const std::string& family, int weight, int slant, const std::vector<std::string>& accepted)
{
    FcConfig* config = Config();
    if (config == nullptr)
        return std::string();
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    FcPatternAddInteger(pattern, FC_WEIGHT, weight);
    FcPatternAddInteger(pattern, FC_SLANT, slant);
    FcConfigSubstitute(config, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(config, pattern, &result);
    FcPatternDestroy(pattern);
    std::string file;
    if (match != nullptr) {
        bool familyFits = false;
        FcChar8* value = nullptr;
        for (int i = 0; !familyFits && FcPatternGetString(match, FC_FAMILY, i, &value) == FcResultMatch; ++i) {
            const std::string found = Platform::AsciiLowerText(reinterpret_cast<const char*>(value));
            for (const std::string& name : accepted)
                familyFits = familyFits || found == name;
        }
        if (familyFits && FcPatternGetString(match, FC_FILE, 0, &value) == FcResultMatch)
            file = reinterpret_cast<const char*>(value);
        FcPatternDestroy(match);
    }
    return file;
}

bool IsFile(const std::string& path)
{
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

// Type 1 fonts keep their metrics in a file of the same name: PFM where Windows installed
// them, AFM as Linux does.
std::string MetricsFileBeside(const std::string& fontFile)
{
    const std::size_t dot = fontFile.rfind('.');
    const std::size_t slash = fontFile.rfind('/');
    const bool hasExtension = dot != std::string::npos && (slash == std::string::npos || dot > slash);
    const std::string stem = hasExtension ? fontFile.substr(0, dot) : fontFile;
    for (const char* extension : {".pfm", ".PFM", ".afm", ".AFM"}) {
        if (IsFile(stem + extension))
            return stem + extension;
    }
    return std::string();
}

std::string FontAliasOf(const std::string& family)
{
    const std::string lower = Platform::AsciiLowerText(family);
    for (const SAlias& alias : kAliases) {
        if (lower == alias.family)
            return alias.alias;
    }
    return std::string();
}

std::string MatchTypeface(const std::string& typeface)
{
    std::string family = typeface;
    int weight = FC_WEIGHT_REGULAR;
    int slant = FC_SLANT_ROMAN;
    const std::string lower = Platform::AsciiLowerText(typeface);
    for (const SStyle& style : kStyles) {
        if (EndsWith(lower, style.word)) {
            family.resize(family.size() - std::char_traits<char>::length(style.word));
            weight = style.weight;
            slant = style.slant;
            break;
        }
    }
    std::vector<std::string> accepted{Platform::AsciiLowerText(family)};
    const std::string alias = FontAliasOf(family);
    if (!alias.empty())
        accepted.push_back(Platform::AsciiLowerText(alias));
    std::string file = MatchFile(family, weight, slant, accepted);
    // A family whose own name ends in a style word ("Foo Bold" as a family) is tried whole.
    if (file.empty() && family != typeface)
        file = MatchFile(typeface, FC_WEIGHT_REGULAR, FC_SLANT_ROMAN, {lower});
    return file;
}


std::string MatchType1(const std::string& postscriptName)
{
    FcConfig* config = Config();
    if (config == nullptr)
        return std::string();
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_POSTSCRIPT_NAME, reinterpret_cast<const FcChar8*>(postscriptName.c_str()));
    FcPatternAddString(pattern, FC_FONTFORMAT, reinterpret_cast<const FcChar8*>("Type 1"));
    FcObjectSet* objects = FcObjectSetBuild(FC_FILE, FC_POSTSCRIPT_NAME, nullptr);
    FcFontSet* fonts = FcFontList(config, pattern, objects);
    FcObjectSetDestroy(objects);
    FcPatternDestroy(pattern);
    std::string file;
    if (fonts != nullptr) {
        for (int i = 0; file.empty() && i < fonts->nfont; ++i) {
            FcChar8* name = nullptr;
            FcChar8* value = nullptr;
            if (FcPatternGetString(fonts->fonts[i], FC_POSTSCRIPT_NAME, 0, &name) == FcResultMatch &&
                postscriptName == reinterpret_cast<const char*>(name) &&
                FcPatternGetString(fonts->fonts[i], FC_FILE, 0, &value) == FcResultMatch)
                file = MetricsFileBeside(reinterpret_cast<const char*>(value));
        }
        FcFontSetDestroy(fonts);
    }
    return file;
}

// The PostScript name of the Type 1 face of the named font's family in that style: among the
// family's faces of that slant and boldness that have metrics, the one whose weight is nearest
// the usual for the style. The name itself when the family has no such face.
std::string StyledType1Name(const std::string& postscriptName, bool bold, bool italic)
{
    FcConfig* config = Config();
    if (config == nullptr || (!bold && !italic))
        return postscriptName;
    auto list = [config](const char* property, const std::string& value) {
        FcPattern* pattern = FcPatternCreate();
        FcPatternAddString(pattern, property, reinterpret_cast<const FcChar8*>(value.c_str()));
        FcPatternAddString(pattern, FC_FONTFORMAT, reinterpret_cast<const FcChar8*>("Type 1"));
        FcObjectSet* objects = FcObjectSetBuild(FC_FAMILY, FC_POSTSCRIPT_NAME, FC_WEIGHT, FC_SLANT, nullptr);
        FcFontSet* fonts = FcFontList(config, pattern, objects);
        FcObjectSetDestroy(objects);
        FcPatternDestroy(pattern);
        return fonts;
    };
    std::string family;
    if (FcFontSet* named = list(FC_POSTSCRIPT_NAME, postscriptName)) {
        FcChar8* value = nullptr;
        if (named->nfont > 0 && FcPatternGetString(named->fonts[0], FC_FAMILY, 0, &value) == FcResultMatch)
            family = reinterpret_cast<const char*>(value);
        FcFontSetDestroy(named);
    }
    if (family.empty())
        return postscriptName;
    FcFontSet* faces = list(FC_FAMILY, family);
    if (faces == nullptr)
        return postscriptName;
    const int wanted = bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR;
    std::string best = postscriptName;
    int bestDistance = -1;
    for (int i = 0; i < faces->nfont; ++i) {
        FcChar8* name = nullptr;
        int weight = FC_WEIGHT_REGULAR;
        int slant = FC_SLANT_ROMAN;
        if (FcPatternGetString(faces->fonts[i], FC_POSTSCRIPT_NAME, 0, &name) != FcResultMatch)
            continue;
        FcPatternGetInteger(faces->fonts[i], FC_WEIGHT, 0, &weight);
        FcPatternGetInteger(faces->fonts[i], FC_SLANT, 0, &slant);
        const int distance = weight > wanted ? weight - wanted : wanted - weight;
        if ((weight >= FC_WEIGHT_DEMIBOLD) == bold && (slant != FC_SLANT_ROMAN) == italic &&
            (bestDistance < 0 || distance < bestDistance) &&
            !Pagewright::FindType1MetricsFile(reinterpret_cast<const char*>(name)).empty()) {
            best = reinterpret_cast<const char*>(name);
            bestDistance = distance;
        }
    }
    FcFontSetDestroy(faces);
    return best;
}

// A style as the system's font list appends it to a family's name.
std::string StyleWords(bool bold, bool italic)
{
    if (bold && italic)
        return " Bold Italic";
    if (bold)
        return " Bold";
    return italic ? " Italic" : "";
}

// Fonts installed while the program runs are not looked for, as the system's lists were read
// once per process.
std::string Cached(const std::string& key, std::string (*find)(const std::string&))
{
    static std::mutex mutex;
    static std::map<std::pair<std::string (*)(const std::string&), std::string>, std::string> found;
    if (key.empty())
        return std::string();
    std::lock_guard<std::mutex> lock(mutex);
    const auto place = found.find({find, key});
    if (place != found.end())
        return place->second;
    return found[{find, key}] = find(key);
}

}  // namespace

namespace Pagewright {

std::string FontAlias(const std::string& family)
{
    return FontAliasOf(family);
}

std::string FindFontFile(const std::string& typeface)
{
    return Cached(typeface, MatchTypeface);
}

std::string FindType1MetricsFile(const std::string& postscriptName)
{
    return Cached(postscriptName, MatchType1);
}

std::string FindFontFile(const std::string& typeface, bool bold, bool italic)
{
    const std::string styled = FindFontFile(typeface + StyleWords(bold, italic));
    return styled.empty() ? FindFontFile(typeface) : styled;
}

std::string FindType1MetricsFile(const std::string& postscriptName, bool bold, bool italic)
{
    if (postscriptName.empty())
        return std::string();
    return FindType1MetricsFile(StyledType1Name(postscriptName, bold, italic));
}

}  // namespace Pagewright
