#include "ProductionDb/ProductionDbKey.h"

#include <cstdio>

std::string CProductionDbKey::Format() const
{
    char text[64];
    std::snprintf(text, sizeof text, "PA=%d VK=%d POS=%03d", pa, vk, static_cast<int>(pos));
    return text;
}
