#pragma once
// Polls until a condition holds, for what another process does in its own time (a recorder
// starting, a window appearing). The limit bounds a wait; it is no measure of speed.
#include <chrono>
#include <thread>

template <class Condition>
bool WaitUntil(Condition condition,
               std::chrono::steady_clock::duration limit = std::chrono::seconds(30)) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}
