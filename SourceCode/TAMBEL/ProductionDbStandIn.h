// The production database of a build without it: never usable, so the main window greys its
// database commands. Replaced by the production database's link.
#pragma once

#include "TAMBEL/ProductionDbLink.h"

class CProductionDbStandIn : public CProductionDbLink {
public:
    bool OpenAndCheck() override { return false; }
    bool IsUsable() const override { return false; }
    void Unlock(int, int, int, const std::string&) override {}
    void Close() override {}
};
