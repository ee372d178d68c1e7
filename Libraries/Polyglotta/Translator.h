// The user-interface texts of a program in several languages, read from translation documents
// (XML, root "translator") and looked up by dialog and control id, menu id and command id or
// position, string id, or the English text itself. Holds no window code: applying the texts to
// wx dialogs and menus is PolyglottaWx/TranslatorWx.h.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

class TiXmlDocument;
class TiXmlElement;

class CTranslator {
public:
    // The texts of one translatable thing: at most one (language code, text) pair per code,
    // in the order they were read. Codes compare exactly. Texts are stored unescaped.
    class CTextSet {
    public:
        // Replaces the pair for the code, which then moves to the end.
        void Set(const std::string& language, std::string text);
        const std::string* Find(const std::string& language) const;
        bool IsEmpty() const { return m_texts.empty(); }
        const std::vector<std::pair<std::string, std::string>>& Texts() const { return m_texts; }

    private:
        std::vector<std::pair<std::string, std::string>> m_texts;
    };

    struct CDialogEntry {
        CTextSet caption;
        std::map<int, CTextSet> controls;  // by control id
    };

    // A menu, a pop-up or an item. Children are keyed by command id (items) or by position in
    // the parent (pop-ups); both share one key space.
    struct CMenuEntry {
        CTextSet caption;
        std::map<int, std::unique_ptr<CMenuEntry>> children;

        const CMenuEntry* FindChild(int key) const;
    };

    CTranslator();
    ~CTranslator();
    CTranslator(const CTranslator&) = delete;
    CTranslator& operator=(const CTranslator&) = delete;

    // Each load returns false, with a reason in *error when given, for a missing resource,
    // an unreadable file, malformed XML or a document whose root is not "translator"; the
    // tables are then left as they were. Without merge a good document replaces the tables and
    // empties both language codes; with merge it adds to and overrides what is there.
    // The resource is an RCDATA entry of the program's resource registry.
    bool LoadFromResource(int resourceId, bool merge, std::string* error = nullptr);
    bool LoadFromFile(const std::string& path, bool merge, std::string* error = nullptr);
    bool LoadFromText(std::string_view text, const std::string& sourceName, bool merge,
                      std::string* error = nullptr);
    bool Load(const TiXmlDocument& document, bool merge, std::string* error = nullptr);

    // Empties both language codes and every table.
    void Clear();

    void SetLanguage(const std::string& language) { m_language = language; }
    void SetDefaultLanguage(const std::string& language) { m_defaultLanguage = language; }
    const std::string& GetLanguage() const { return m_language; }
    const std::string& GetDefaultLanguage() const { return m_defaultLanguage; }

    // An empty language means the current one.
    // The text of string id; empty when the id has no entry.
    std::string GetString(int id, const std::string& language = std::string()) const;
    // The text keyed by the English text; the English text itself when there is no entry.
    std::string Translate(const std::string& english, const std::string& language = std::string()) const;

    // The text of the requested language, else of the default language, else the first one;
    // empty for a null or empty set.
    std::string GetText(const CTextSet* texts, const std::string& language = std::string()) const;

    // Null when the id has no entry.
    const CDialogEntry* FindDialog(int dialogId) const;
    const CMenuEntry* FindMenu(int menuId) const;

    // Replaces the backslash escapes \n \t \r \b \f \v \' \" \? and \\ in one pass from the
    // left, so "\\n" stays a backslash followed by 'n'. Other backslashes are kept.
    static std::string Unescape(std::string_view text);

private:
    void ReadDialog(const TiXmlElement& element);
    void ReadStringTable(const TiXmlElement& element);
    static void ReadMenu(const TiXmlElement& element, CMenuEntry& entry);
    static void ReadTexts(const TiXmlElement& element, CTextSet& texts);

    std::unordered_map<int, CDialogEntry> m_dialogs;
    std::unordered_map<int, CMenuEntry> m_menus;
    std::unordered_map<int, CTextSet> m_stringsById;
    std::unordered_map<std::string, CTextSet> m_stringsByText;
    std::string m_language;
    std::string m_defaultLanguage;
};
