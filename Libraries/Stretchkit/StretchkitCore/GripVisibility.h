// Whether the size grip shows: a counter of show requests. Each requester passes a status word
// of its own, so repeating a request with the same mask counts once.
#pragma once

#include <cstdint>

class CGripVisibility {
public:
    // Counts up, and sets the mask bits, when none of them is set in *status yet.
    void ShowRequest(std::uint32_t* status, std::uint32_t mask);
    // Counts down, and clears the mask bits, when any of them is set in *status.
    void HideRequest(std::uint32_t* status, std::uint32_t mask);

    bool IsShown() const { return m_counter > 0; }
    // Counter 1 or 0, whatever the requests were.
    void SetShown(bool shown) { m_counter = shown ? 1 : 0; }

private:
    int m_counter = 0;
};
