#include "StretchkitCore/GripVisibility.h"

void CGripVisibility::ShowRequest(std::uint32_t* status, std::uint32_t mask)
{
    if ((*status & mask) != 0)
        return;
    ++m_counter;
    *status |= mask;
}

void CGripVisibility::HideRequest(std::uint32_t* status, std::uint32_t mask)
{
    if ((*status & mask) == 0)
        return;
    --m_counter;
    *status &= ~mask;
}
