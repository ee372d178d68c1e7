// What a data-link file says in the terms a user edits: an SQLite database file, or a
// PostgreSQL server's host, port, database and user. Read from and written as the file's
// initialisation string (see CDataSource); values are quoted where the string's syntax needs it,
// so any text the user typed stays one value.
#pragma once

#include <string>
#include <vector>

class CDataLinkSettings {
public:
    enum class Provider { SQLite, PostgreSQL };

    Provider provider = Provider::SQLite;
    std::string file;      // SQLite
    std::string host;      // PostgreSQL: a name, an address or a socket folder
    std::string port;
    std::string database;
    std::string user;
    // What the string says beyond these settings (a statement deadline, an access mode, a
    // password...), so that writing the settings back loses none of it. It is written only
    // while the provider is the one it was read for.
    std::vector<std::string> kept;

    // The initialisation string for CDataSource.
    std::string ToInitializationString() const;
    // The settings of an initialisation string; what it does not say stays empty. False for
    // another provider or no provider.
    bool FromInitializationString(const std::string& text);

    // Reads the data-link file's initialisation string; false when the file cannot be read or
    // says nothing these settings know.
    bool Read(const std::string& path);
    // Replaces the data-link file as a whole; false with the reason in *error.
    bool Write(const std::string& path, std::string* error) const;

private:
    Provider m_keptFor = Provider::SQLite;
};
