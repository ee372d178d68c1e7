#include "Oddments/DataLinkFile.h"

#include "Platform/AsciiText.h"
#include "Platform/TextEncoding.h"
#include "Platform/WholeFile.h"

#include <sstream>
#include <string_view>

namespace {

std::string Trim(std::string_view text)
{
    return std::string(Platform::TrimAsciiBlanks(text));
}

// "a=1;b='x;y'" -> "a=1", "b='x;y'": a ';' inside quotes does not split.
std::vector<std::string> SplitItems(const std::string& text)
{
    std::vector<std::string> items;
    std::string item;
    char quote = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quote != 0) {
            item += c;
            if (c == '\\' && i + 1 < text.size())
                item += text[++i];
            else if (c == quote)
                quote = 0;
        } else if (c == '\'' || c == '"') {
            quote = c;
            item += c;
        } else if (c == ';') {
            items.push_back(Trim(item));
            item.clear();
        } else {
            item += c;
        }
    }
    items.push_back(Trim(item));
    return items;
}

std::string Unquote(std::string value)
{
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    return value;
}

// The text of a data-link file as UTF-8.
bool ReadText(const std::string& path, std::string& text)
{
    std::string bytes;
    if (!Platform::ReadWholeFile(path, bytes))
        return false;
    const bool littleEndian = bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE';
    const bool bigEndian = bytes.size() >= 2 && bytes[0] == '\xFE' && bytes[1] == '\xFF';
    if (littleEndian || bigEndian) {
        std::u16string wide;
        for (size_t i = 2; i + 1 < bytes.size(); i += 2) {
            const unsigned char first = static_cast<unsigned char>(bytes[i]);
            const unsigned char second = static_cast<unsigned char>(bytes[i + 1]);
            wide += static_cast<char16_t>(littleEndian ? first | (second << 8) : (first << 8) | second);
        }
        text = CTextEncoding::Utf16ToUtf8(wide);
    } else if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) {
        text = bytes.substr(3);
    } else {
        text = bytes;
    }
    return true;
}

}  // namespace

bool CDataLinkFile::ReadInitializationString(const std::string& path, std::string& initString)
{
    initString.clear();
    std::string text;
    if (!ReadText(path, text))
        return false;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        line = Trim(line);
        if (!line.empty() && line[0] != '[' && line[0] != ';') {
            initString = line;
            break;
        }
    }
    return true;
}

std::vector<CDataLinkFile::SItem> CDataLinkFile::Items(const std::string& initString)
{
    std::vector<SItem> items;
    for (std::string& text : SplitItems(initString)) {
        if (text.empty())
            continue;
        const size_t equals = text.find('=');
        SItem item;
        item.key = Trim(std::string_view(text).substr(0, equals));
        if (equals != std::string::npos)
            item.value = Unquote(Trim(std::string_view(text).substr(equals + 1)));
        item.text = std::move(text);
        items.push_back(std::move(item));
    }
    return items;
}

bool CDataLinkFile::IsDataSourceItem(const std::string& key)
{
    return Platform::EqualsNoCase(key, "Mode") || Platform::EqualsNoCase(key, "Command Timeout") ||
           Platform::EqualsNoCase(key, "Persist Security Info");
}

std::string CDataLinkFile::DriverItems(const std::vector<SItem>& items)
{
    std::string text;
    for (const SItem& item : items) {
        if (!Platform::EqualsNoCase(item.key, "Provider") && !Platform::EqualsNoCase(item.key, "Data Source") &&
            !IsDataSourceItem(item.key))
            text += (text.empty() ? "" : " ") + item.text;
    }
    return text;
}
