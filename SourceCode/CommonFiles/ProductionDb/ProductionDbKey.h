// The order-number key under which a project is stored in the production database: the PA
// number, the VK number and the position within the order.
#pragma once

#include <cstdint>
#include <string>

class CProductionDbKey {
public:
    CProductionDbKey() = default;
    CProductionDbKey(int paNumber, int vkNumber, std::int16_t position) : pa(paNumber), vk(vkNumber), pos(position) {}

    void Clear() { pa = vk = pos = 0; }
    bool IsEmpty() const { return pa == 0 && vk == 0 && pos == 0; }
    // A PA number alone names an order; without one, VK number and position both must be set.
    bool IsValid() const { return pa != 0 || (vk != 0 && pos != 0); }
    // "PA=%d VK=%d POS=%03d", the form of every log line about a key.
    std::string Format() const;

    bool operator==(const CProductionDbKey& other) const
    {
        return pa == other.pa && vk == other.vk && pos == other.pos;
    }
    bool operator!=(const CProductionDbKey& other) const { return !(*this == other); }

    int pa = 0;
    int vk = 0;
    std::int16_t pos = 0;
};
