// What a data-link file says in the terms a user edits: an SQLite database file, or a
// PostgreSQL server's host, port, database and user. Read from and written as the file's
// initialisation string (see CDataSource); values are quoted where the string's syntax needs it,
// so any text the user typed stays one value, and a value read means to the driver what it meant
// before when written back.
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
    // while the provider is the one it was read for; once host, port or database differ from
    // those read, the items that would take the link to the old server or hand its password to
    // the new one are left out: the password, "hostaddr", and "service" where no host is given.
    std::vector<std::string> kept;

    // The initialisation string for CDataSource.
    std::string ToInitializationString() const;
    // The settings of an initialisation string; what it does not say stays empty. False for
    // another provider or no provider.
    bool FromInitializationString(const std::string& text);

    // A line break cannot stand in the data-link file, whose string is one line.
    bool HoldsLineBreak() const;

    // Reads the data-link file's initialisation string; false when the file cannot be read or
    // says nothing these settings know.
    bool Read(const std::string& path);
    // Replaces the data-link file as a whole; false with the reason in *error, also when a value
    // holds a line break. A file that holds a password gives others no access: a new one is
    // made 0600, an existing one loses the bits for others (its group's stay, which a shared
    // install may rely on) and the log says so.
    bool Write(const std::string& path, std::string* error) const;

private:
    // The kept items that are written with the settings as they are now.
    std::vector<std::string> WrittenItems() const;

    Provider m_keptFor = Provider::SQLite;
    // The server the kept items were read with.
    std::string m_readHost;
    std::string m_readPort;
    std::string m_readDatabase;
};
