// A data-link file and the initialisation string it holds (see CDataSource), read alike by the
// data source that opens it and by the settings a user edits.
#pragma once

#include <string>
#include <vector>

class CDataLinkFile {
public:
    // One item of an initialisation string: key and value trimmed, the value without its outer
    // quotes; text is the whole item, trimmed.
    struct SItem {
        std::string key;
        std::string value;
        std::string text;
    };

    // The file's initialisation string: its first line that is neither blank, a "[section]" nor
    // a "; comment", in UTF-8 or in UTF-16 with byte-order mark. False when the file cannot be
    // read; an empty string when it holds no such line.
    static bool ReadInitializationString(const std::string& path, std::string& initString);

    // The ';'-separated items of an initialisation string, empty ones left out; a ';' inside
    // quotes does not split.
    static std::vector<SItem> Items(const std::string& initString);
    // Whether the data source reads the item of that key itself (Mode, Command Timeout, Persist
    // Security Info) rather than handing it to the database's driver.
    static bool IsDataSourceItem(const std::string& key);
    // What the driver gets: the items other than Provider, Data Source and the data source's
    // own, as they are, joined by blanks (for PostgreSQL its connection string).
    static std::string DriverItems(const std::vector<SItem>& items);
};
