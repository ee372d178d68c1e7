// User settings in an INI-style file: "[Section]" lines and "key=value" lines. This is where
// settings live that a Windows program keeps in the registry.
//
// Section and key names compare without regard to ASCII case; names keep the spelling they
// were first written with. Values are trimmed of blanks. A value in double quotes loses the
// quotes; values that would not survive a plain line (surrounding blanks, line breaks, quotes
// around them) are written quoted with \" \\ \n \r \t escapes. Lines starting with ';' or '#',
// blank lines and lines the store does not understand are kept as they are, and everything
// keeps its order when the file is saved. A key repeated within a section takes its last value.
#pragma once

#include <string>
#include <utility>
#include <vector>

class CSettingsStore {
public:
    // Replaces the contents with those of the file. False (and an empty store) when the file
    // cannot be read.
    bool Load(const std::string& path);

    // Writes the settings atomically, creating missing folders of the path first. Another
    // process may have saved the file since it was loaded: under a lock that every saving
    // store takes, the file is read again and only the changes made here since the last Load
    // or Save are applied to it, so no process loses another's keys; the store then holds the
    // saved contents. A file that cannot be read gets the store as it is. False with a message
    // in *error (when error is not null) on failure; the old file then stays as it was.
    bool Save(const std::string& path, std::string* error = nullptr);

    std::string GetString(const std::string& section, const std::string& key,
                          const std::string& defaultValue = std::string()) const;
    // The value as a decimal integer; defaultValue when it is missing or not a whole number.
    long GetInt(const std::string& section, const std::string& key, long defaultValue = 0) const;

    // Adds or changes a value; a new section goes to the end. False, with nothing changed, for
    // a name that a file line could not hold: an empty key, line breaks, blanks around a name,
    // '=' in a key or a key starting with '[', ';' or '#'.
    bool SetString(const std::string& section, const std::string& key, const std::string& value);
    bool SetInt(const std::string& section, const std::string& key, long value);

    // False when there was no such key.
    bool Remove(const std::string& section, const std::string& key);

    // Key names / names and values of a section, in file order, names as written.
    std::vector<std::string> Keys(const std::string& section) const;
    std::vector<std::pair<std::string, std::string>> Entries(const std::string& section) const;

    // $XDG_CONFIG_HOME/<application>/settings.ini, or ~/.config/<application>/settings.ini
    // when XDG_CONFIG_HOME is not set to an absolute path.
    static std::string UserSettingsPath(const std::string& application);

private:
    struct SLine {
        bool isEntry = false;
        std::string key;    // entries only
        std::string value;  // entries only, unquoted
        std::string text;   // the line as written to the file
    };
    struct SSection {
        std::string name;  // "" for the lines before the first section header
        std::vector<SLine> lines;
        bool added = false;  // made by SetString, not read from a file
    };

    SSection* FindSection(const std::string& name);
    const SSection* FindSection(const std::string& name) const;
    static SLine* FindEntry(SSection& section, const std::string& key);
    static const SLine* FindEntry(const SSection& section, const std::string& key);
    const SLine* FindEntry(const std::string& section, const std::string& key) const;

    // A SetString or a Remove, kept for replaying onto the file as it is at Save.
    struct SChange {
        std::string section;
        std::string key;
        std::string value;
        bool remove = false;
    };

    std::string Text() const;
    void Apply(const SChange& change);

    std::vector<SSection> m_sections;
    std::vector<SChange> m_changes;
};
