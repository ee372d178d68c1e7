// What the application asks of the production database at start-up and exit: open it and check
// its tables without any message, say whether it is usable, release the record this program
// holds locked, close it. The production database supplies the real link; until then
// CProductionDbStandIn has no database.
#pragma once

#include <string>

class CProductionDbLink {
public:
    virtual ~CProductionDbLink() = default;

    // Opens the database named by the data-link file and checks its tables; no user interface.
    // True when it can be used.
    virtual bool OpenAndCheck() = 0;
    virtual bool IsUsable() const = 0;
    // Releases the lock of that record (an empty key, all 0, holds none) owned by owner.
    virtual void Unlock(int pa, int vk, int pos, const std::string& owner) = 0;
    virtual void Close() = 0;
};
