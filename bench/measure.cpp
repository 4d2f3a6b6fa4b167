#include "measure.h"

double Stopwatch::ElapsedMs() const {
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return double(now.QuadPart - start_.QuadPart) * 1000.0 / double(frequency.QuadPart);
}

void WaitUntil(const std::function<bool()>& condition, const std::string& what) {
    const Stopwatch waiting;
    constexpr double PatienceMs = 30000;
    while (!condition()) {
        if (waiting.ElapsedMs() > PatienceMs)
            throw std::runtime_error("gave up waiting for " + what);
        Sleep(1);
    }
}
