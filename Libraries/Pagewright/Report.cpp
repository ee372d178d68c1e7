#include "Pagewright/Report.h"

#include "Pagewright/ReportPictureFiles.h"
#include "Platform/NumberText.h"
#include "Platform/ProgramFolder.h"
#include "Platform/ResourceRegistry.h"
#include "Platform/XmlFile.h"
#include "Quillet/LogLevel.h"
#include "Quillet/LogManager.h"

#include <tinyxml.h>

#include <algorithm>
#include <climits>
#include <utility>

namespace {

const char kNameCharacters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ_1234567890.";

bool IsNameCharacter(char c)
{
    return c != '\0' && std::char_traits<char>::find(kNameCharacters, sizeof kNameCharacters - 1, c) != nullptr;
}

void LogError(const std::string& message)
{
    if (CLogManager* logs = CLogManager::GetInstance()) {
        CLogger log = logs->GetLogger("CReport", LOGLEVEL_PARENT);
        QUILLET_POS(log);
        log.Error("%s", message.c_str());
    }
}

void LogLoadFailure(const std::string& source, const std::string& error)
{
    LogError("Could not load report template " + source + ": " + error);
}

}  // namespace

CReport::CReport() : m_pictureFiles(std::make_unique<CReportPictureFiles>()) {}
CReport::~CReport() = default;

bool CReport::LoadFromFile(const std::string& path)
{
    if (path.empty())
        return false;
    TiXmlDocument doc;
    std::string error;
    if (!CXmlFile::Load(doc, path, &error)) {
        LogLoadFailure(path, error);
        return false;
    }
    const std::size_t slash = path.rfind('/');
    return LoadDocument(doc, slash == std::string::npos ? std::string() : path.substr(0, slash + 1));
}

bool CReport::LoadFromResource(int id, const std::string& folder)
{
    std::string_view bytes;
    if (!CResourceRegistry::Find("RCDATA", id, bytes)) {
        LogLoadFailure("resource #" + std::to_string(id), "not found");
        return false;
    }
    return LoadFromString(bytes, folder);
}

bool CReport::LoadFromString(std::string_view text, const std::string& folder)
{
    TiXmlDocument doc;
    std::string error;
    if (!CXmlFile::LoadText(doc, text, "InternalResource.xml", &error)) {
        LogLoadFailure("InternalResource.xml", error);
        return false;
    }
    return LoadDocument(doc, folder.empty() ? Platform::GetProgramFolder() : folder);
}

bool CReport::LoadDocument(const TiXmlDocument& doc, const std::string& folder)
{
    const TiXmlElement* root = doc.FirstChildElement("report");
    if (root == nullptr) {
        LogLoadFailure(doc.ValueStr(), "the root element is not <report>");
        return false;
    }
    // Pictures are read as their pages load, against the new folder.
    std::string previous = std::move(m_folder);
    m_folder = folder;
    if (!m_folder.empty() && m_folder.back() != '/')
        m_folder += '/';
    if (ReadXml(root))
        return true;
    m_folder = std::move(previous);
    return false;
}

bool CReport::ReadXml(const TiXmlElement* root)
{
    if (root == nullptr)
        return false;
    // The pages' pictures are read into a budget of their own, the document's once they are.
    std::unique_ptr<CReportPictureFiles> previousPictures =
        std::exchange(m_pictureFiles, std::make_unique<CReportPictureFiles>());
    std::vector<std::unique_ptr<CReportPage>> pages;
    for (const TiXmlElement* child = root->FirstChildElement("page"); child != nullptr;
         child = child->NextSiblingElement("page")) {
        auto page = std::make_unique<CReportPage>(this);
        if (!page->Load(child))
            continue;
        if (!page->IsWithinMaxSize()) {
            LogLoadFailure("page " + std::to_string(pages.size() + 1),
                           "its size " + std::to_string(page->width) + " x " + std::to_string(page->height) +
                               " exceeds " + std::to_string(CReportPage::kMaxSize));
            m_pictureFiles = std::move(previousPictures);
            return false;
        }
        pages.push_back(std::move(page));
    }
    std::vector<CReportFont> fonts;
    for (const TiXmlElement* child = root->FirstChildElement("font"); child != nullptr;
         child = child->NextSiblingElement("font")) {
        CReportFont font;
        if (font.Load(child))
            fonts.push_back(std::move(font));
    }
    std::unique_ptr<CReportPictureFiles> pictures = std::move(m_pictureFiles);
    Clear();
    m_templatePages = std::move(pages);
    m_fonts = std::move(fonts);
    m_pictureFiles = std::move(pictures);
    return true;
}

void CReport::WriteXml(TiXmlElement& root) const
{
    for (const auto& page : m_templatePages)
        page->AppendTo(root);
    for (const CReportFont& font : m_fonts) {
        TiXmlElement element("font");
        font.Save(element);
        root.InsertEndChild(element);
    }
}

bool CReport::Save(const std::string& path) const
{
    if (path.empty())
        return false;
    TiXmlDocument doc;
    doc.InsertEndChild(TiXmlDeclaration("1.0", "UTF-8", ""));
    TiXmlElement root("report");
    WriteXml(root);
    doc.InsertEndChild(root);
    std::string error;
    if (!CXmlFile::Save(doc, path, &error)) {
        LogError("Could not save report template " + path + ": " + error);
        return false;
    }
    return true;
}

void CReport::SetVariable(const std::string& name, const std::string& value)
{
    if (name.empty())
        return;
    if (value.empty()) {
        m_variables.erase(name);
        return;
    }
    m_variables[name] = value;
    const std::size_t dot = name.rfind('.');
    if (dot == std::string::npos || dot == 0)
        return;
    const long row = Platform::AtoL(name.c_str() + dot + 1);
    if (row <= 0)
        return;
    int& count = m_rowCounts[name.substr(0, dot)];
    count = std::max(count, static_cast<int>(std::min<long>(row, INT_MAX)));
}

std::string CReport::GetVariable(const std::string& name) const
{
    const auto found = m_variables.find(name);
    return found != m_variables.end() ? found->second : std::string();
}

int CReport::GetRowCount(const std::string& key) const
{
    const auto found = m_rowCounts.find(key);
    return found != m_rowCounts.end() ? found->second : 0;
}

// The value of a pending name. '.' is a name character, so a sentence ending in "$X." would
// ask for "X.": an unknown name is tried again without its trailing dots, which stay as text.
std::string CReport::Lookup(const std::string& name) const
{
    const auto found = m_variables.find(name);
    if (found != m_variables.end())
        return found->second;
    const std::size_t end = name.find_last_not_of('.');
    const std::size_t stem = end == std::string::npos ? 0 : end + 1;
    if (stem == name.size())
        return std::string();
    return GetVariable(name.substr(0, stem)) + name.substr(stem);
}

std::string CReport::ExpandVariables(const std::string& text) const
{
    std::string out;
    out.reserve(text.size());
    std::string name;
    bool pending = false;
    for (char c : text) {
        if (!pending) {
            if (c == '$')
                pending = true;
            else
                out += c;
        } else if (IsNameCharacter(c)) {
            name += c;
        } else {
            // The character that ends a name is text, even a '$': "$A$B" is A's value and "$B".
            out += Lookup(name);
            name.clear();
            pending = false;
            out += c;
        }
    }
    if (pending)
        out += Lookup(name);
    return out;
}

bool CReport::Paginate()
{
    m_outputPages.clear();
    std::vector<int> counts;
    long long pages = 0;
    long long drawn = 0;
    for (const auto& page : m_templatePages) {
        const int count = page->GetOutputPageCount();
        pages += count;
        // Each output page of a template draws as much as the others.
        const long long perPageLimit = (kMaxDrawnElements - drawn) / count;
        const long long perPage = pages <= kMaxOutputPages ? page->CountDrawn(perPageLimit) : 0;
        if (pages > kMaxOutputPages || perPage > perPageLimit) {
            LogError(pages > kMaxOutputPages
                         ? "Report not laid out: it has more than " + std::to_string(kMaxOutputPages) + " pages"
                         : "Report not laid out: it draws more than " + std::to_string(kMaxDrawnElements) +
                               " elements");
            return false;
        }
        drawn += perPage * count;
        counts.push_back(count);
    }
    int number = 0;
    for (std::size_t i = 0; i < m_templatePages.size(); ++i) {
        const CReportPage& page = *m_templatePages[i];
        for (int subPage = 0; subPage < counts[i]; ++subPage) {
            std::unique_ptr<CReportPage> output = page.Clone();
            ++number;
            output->id = static_cast<short>(number);
            output->sortorder = number;
            output->SetSubPage(subPage);
            m_outputPages.push_back(std::move(output));
        }
    }
    return true;
}

CReportPage* CReport::GetPage(int index) const
{
    if (index < 0 || index >= GetPageCount())
        return nullptr;
    return m_outputPages[static_cast<std::size_t>(index)].get();
}

const CReportFont* CReport::FindFont(const std::string& fontname) const
{
    for (const CReportFont& font : m_fonts) {
        if (font.fontname == fontname)
            return &font;
    }
    return nullptr;
}

bool CReport::Append(const CReport& other, bool overwrite)
{
    // Copied first, so a document may be appended to itself.
    std::vector<std::unique_ptr<CReportPage>> pages;
    for (const auto& page : other.m_templatePages) {
        pages.push_back(page->Clone());
        pages.back()->document = this;
    }
    for (auto& page : pages)
        m_templatePages.push_back(std::move(page));
    const std::vector<CReportFont> fonts = other.m_fonts;
    for (const CReportFont& font : fonts) {
        if (FindFont(font.fontname) == nullptr)
            m_fonts.push_back(font);
    }
    const std::map<std::string, std::string> variables = other.m_variables;
    for (const auto& [name, value] : variables) {
        if (overwrite || m_variables.count(name) == 0)
            m_variables[name] = value;
    }
    Paginate();
    return true;
}

void CReport::Clear()
{
    m_outputPages.clear();
    m_templatePages.clear();
    m_pictureFiles = std::make_unique<CReportPictureFiles>();
    m_variables.clear();
    m_rowCounts.clear();
    m_fonts.clear();
}
