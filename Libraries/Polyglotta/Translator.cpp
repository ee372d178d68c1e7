#include "Polyglotta/Translator.h"

#include "Platform/ResourceRegistry.h"
#include "Platform/XmlFile.h"

#include <tinyxml.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

namespace {

// A decimal id attribute; a missing or unreadable one counts as 0.
int IdAttribute(const TiXmlElement& element, const char* name)
{
    const char* text = element.Attribute(name);
    if (!text)
        return 0;
    errno = 0;
    char* end = nullptr;
    const long value = std::strtol(text, &end, 10);
    if (end == text || errno == ERANGE || value < INT_MIN || value > INT_MAX)
        return 0;
    return static_cast<int>(value);
}

bool IsNamed(const TiXmlElement& element, const char* name)
{
    return std::strcmp(element.Value(), name) == 0;
}

void SetError(std::string* error, std::string text)
{
    if (error)
        *error = std::move(text);
}

}  // namespace

void CTranslator::CTextSet::Set(const std::string& language, std::string text)
{
    m_texts.erase(std::remove_if(m_texts.begin(), m_texts.end(),
                                 [&](const auto& pair) { return pair.first == language; }),
                  m_texts.end());
    m_texts.emplace_back(language, std::move(text));
}

const std::string* CTranslator::CTextSet::Find(const std::string& language) const
{
    for (const auto& pair : m_texts) {
        if (pair.first == language)
            return &pair.second;
    }
    return nullptr;
}

const CTranslator::CMenuEntry* CTranslator::CMenuEntry::FindChild(int key) const
{
    const auto found = children.find(key);
    return found == children.end() ? nullptr : found->second.get();
}

CTranslator::CTranslator() = default;

CTranslator::~CTranslator() = default;

bool CTranslator::LoadFromResource(int resourceId, bool merge, std::string* error)
{
    std::string_view bytes;
    if (!CResourceRegistry::Find("RCDATA", resourceId, bytes)) {
        SetError(error, "translation resource RCDATA #" + std::to_string(resourceId) + " not found");
        return false;
    }
    return LoadFromText(bytes, "InternalTranslatorResource.xml", merge, error);
}

bool CTranslator::LoadFromFile(const std::string& path, bool merge, std::string* error)
{
    TiXmlDocument document;
    if (!CXmlFile::Load(document, path, error))
        return false;
    return Load(document, merge, error);
}

bool CTranslator::LoadFromText(std::string_view text, const std::string& sourceName, bool merge,
                               std::string* error)
{
    TiXmlDocument document;
    if (!CXmlFile::LoadText(document, text, sourceName, error))
        return false;
    return Load(document, merge, error);
}

bool CTranslator::Load(const TiXmlDocument& document, bool merge, std::string* error)
{
    // Checked before anything is cleared: a wrong document must not wipe the translations.
    const TiXmlElement* root = document.Error() ? nullptr : document.RootElement();
    if (!root || !IsNamed(*root, "translator")) {
        SetError(error, std::string(document.Value()) + ": the root element is not \"translator\"");
        return false;
    }
    if (!merge)
        Clear();

    bool stringTableRead = false;
    for (const TiXmlElement* child = root->FirstChildElement(); child; child = child->NextSiblingElement()) {
        if (IsNamed(*child, "dialog")) {
            ReadDialog(*child);
        } else if (IsNamed(*child, "stringtable")) {
            if (!stringTableRead)
                ReadStringTable(*child);
            stringTableRead = true;
        } else if (IsNamed(*child, "menu")) {
            ReadMenu(*child, m_menus[IdAttribute(*child, "id")]);
        }
    }
    return true;
}

void CTranslator::Clear()
{
    m_dialogs.clear();
    m_menus.clear();
    m_stringsById.clear();
    m_stringsByText.clear();
    m_language.clear();
    m_defaultLanguage.clear();
}

std::string CTranslator::GetString(int id, const std::string& language) const
{
    const auto found = m_stringsById.find(id);
    return found == m_stringsById.end() ? std::string() : GetText(&found->second, language);
}

std::string CTranslator::Translate(const std::string& english, const std::string& language) const
{
    const auto found = m_stringsByText.find(english);
    // An entry without any text would make the message vanish; treat it as no entry.
    if (found == m_stringsByText.end() || found->second.IsEmpty())
        return english;
    return GetText(&found->second, language);
}

std::string CTranslator::GetText(const CTextSet* texts, const std::string& language) const
{
    if (!texts || texts->IsEmpty())
        return std::string();
    const std::string* text = texts->Find(language.empty() ? m_language : language);
    if (!text)
        text = texts->Find(m_defaultLanguage);
    if (!text)
        text = &texts->Texts().front().second;
    return *text;
}

const CTranslator::CDialogEntry* CTranslator::FindDialog(int dialogId) const
{
    const auto found = m_dialogs.find(dialogId);
    return found == m_dialogs.end() ? nullptr : &found->second;
}

const CTranslator::CMenuEntry* CTranslator::FindMenu(int menuId) const
{
    const auto found = m_menus.find(menuId);
    return found == m_menus.end() ? nullptr : &found->second;
}

std::string CTranslator::Unescape(std::string_view text)
{
    std::string result;
    result.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c != '\\' || i + 1 == text.size()) {
            result += c;
            continue;
        }
        char replacement = 0;
        switch (text[i + 1]) {
        case 'n': replacement = '\n'; break;
        case 't': replacement = '\t'; break;
        case 'r': replacement = '\r'; break;
        case 'b': replacement = '\b'; break;
        case 'f': replacement = '\f'; break;
        case 'v': replacement = '\v'; break;
        case '\'': replacement = '\''; break;
        case '"': replacement = '"'; break;
        case '?': replacement = '?'; break;
        case '\\': replacement = '\\'; break;
        default: break;
        }
        if (replacement) {
            result += replacement;
            ++i;
        } else {
            result += c;
        }
    }
    return result;
}

void CTranslator::ReadDialog(const TiXmlElement& element)
{
    CDialogEntry& entry = m_dialogs[IdAttribute(element, "id")];
    if (const TiXmlElement* caption = element.FirstChildElement("caption"))
        ReadTexts(*caption, entry.caption);
    for (const TiXmlElement* control = element.FirstChildElement("control"); control;
         control = control->NextSiblingElement("control"))
        ReadTexts(*control, entry.controls[IdAttribute(*control, "id")]);
}

void CTranslator::ReadStringTable(const TiXmlElement& element)
{
    const char* attribute = element.Attribute("defaultlanguage");
    const std::string defaultLanguage = attribute ? attribute : "";
    for (const TiXmlElement* string = element.FirstChildElement("string"); string;
         string = string->NextSiblingElement("string")) {
        ReadTexts(*string, m_stringsById[IdAttribute(*string, "id")]);
        const char* strid = string->Attribute("strid");
        if (!strid || !*strid)
            continue;
        // The key is unescaped like the texts, so it equals the text as the program spells it.
        const std::string key = Unescape(strid);
        CTextSet& texts = m_stringsByText[key];
        ReadTexts(*string, texts);
        // Entries usually hold only translations; the key is the default language's text.
        if (defaultLanguage.size() == 2 && !texts.Find(defaultLanguage))
            texts.Set(defaultLanguage, key);
    }
}

void CTranslator::ReadMenu(const TiXmlElement& element, CMenuEntry& entry)
{
    if (const TiXmlElement* caption = element.FirstChildElement("caption"))
        ReadTexts(*caption, entry.caption);
    for (const TiXmlElement* child = element.FirstChildElement(); child; child = child->NextSiblingElement()) {
        const bool submenu = IsNamed(*child, "submenu");
        if (!submenu && !IsNamed(*child, "item"))
            continue;
        std::unique_ptr<CMenuEntry>& slot = entry.children[IdAttribute(*child, "id")];
        if (!slot)
            slot = std::make_unique<CMenuEntry>();
        if (submenu)
            ReadMenu(*child, *slot);
        else
            ReadTexts(*child, slot->caption);
    }
}

void CTranslator::ReadTexts(const TiXmlElement& element, CTextSet& texts)
{
    for (const TiXmlElement* language = element.FirstChildElement(); language;
         language = language->NextSiblingElement()) {
        // An empty language element gives no text, so the look-up falls back to another language.
        const TiXmlNode* content = language->FirstChild();
        const TiXmlText* text = content ? content->ToText() : nullptr;
        if (!text || !text->Value() || !*text->Value())
            continue;
        texts.Set(language->Value(), Unescape(text->Value()));
    }
}
