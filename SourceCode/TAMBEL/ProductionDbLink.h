// The application's way to the production database: open it and check its tables without any
// message, say whether it is usable, release a record lock, close it, and the database itself
// for the record commands. CProductionDbConnection is the real one; tests put in their own.
#pragma once

#include <string>

class CProductionDb;
class CProductionDbKey;

class CProductionDbLink {
public:
    virtual ~CProductionDbLink() = default;

    // Closes what is open, opens the database named by the data-link file and checks its
    // tables; no user interface. True when it can be used.
    virtual bool OpenAndCheck() = 0;
    virtual bool IsUsable() const = 0;
    // Releases the owner's lock of the key; true when the owner holds no lock of it now.
    virtual bool Unlock(const CProductionDbKey& key, const std::string& owner) = 0;
    virtual void Close() = 0;
    // The data-link file the link opens.
    virtual std::string DataLinkPath() const = 0;
    // The database for the record commands (open or not); null when there is none.
    virtual CProductionDb* Database() = 0;
};
