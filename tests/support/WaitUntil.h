// Waiting for something another process does: the condition polled until it holds or the time is
// up. Polled quickly at first, so that a test waiting for something that is almost there loses
// little, then every tenth of a second, so that a long wait does not keep a core busy.
#pragma once

#include <algorithm>
#include <chrono>
#include <thread>

// True once the condition holds; false when it did not within the limit (checked once more at
// its end).
template <class TCondition>
bool WaitUntil(std::chrono::steady_clock::duration limit, TCondition condition)
{
    const auto end = std::chrono::steady_clock::now() + limit;
    std::chrono::milliseconds pause(5);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        std::this_thread::sleep_for(pause);
        pause = std::min(pause * 2, std::chrono::milliseconds(100));
    }
    return true;
}
