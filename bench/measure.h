#pragma once
// Timing and the side-by-side runs every figure is made of: ours and its floor alternate within
// one run, so that whatever the machine does meanwhile falls on both.
#include <windows.h>

#include <algorithm>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

class Stopwatch {
public:
    Stopwatch() { QueryPerformanceCounter(&start_); }
    double ElapsedMs() const;

private:
    LARGE_INTEGER start_;
};

template <class T, class Projection>
double Median(const std::vector<T>& samples, Projection project) {
    if (samples.empty())
        throw std::logic_error("a median of nothing");
    std::vector<double> values;
    for (const T& sample : samples)
        values.push_back(project(sample));
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

inline double Median(const std::vector<double>& samples) {
    return Median(samples, [](double value) { return value; });
}

template <class T> struct SideBySide {
    std::vector<T> ours;
    std::vector<T> floor;
};

// Runs both `repetitions` times, taking turns at going first.
template <class T>
SideBySide<T> RunSideBySide(int repetitions, const std::function<T()>& ours,
                            const std::function<T()>& floor) {
    SideBySide<T> result;
    for (int i = 0; i < repetitions; ++i) {
        if (i % 2 == 0) {
            result.ours.push_back(ours());
            result.floor.push_back(floor());
        } else {
            result.floor.push_back(floor());
            result.ours.push_back(ours());
        }
    }
    return result;
}

// Polls until the condition holds; a program that never gets there is a failed run, not a slow
// one, so the limit is generous.
void WaitUntil(const std::function<bool()>& condition, const std::string& what);
