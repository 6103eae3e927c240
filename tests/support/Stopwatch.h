#pragma once
#include <windows.h>

// Seconds on the performance counter since it was made or last restarted.
class Stopwatch {
public:
    Stopwatch() { Restart(); }
    void Restart() { QueryPerformanceCounter(&start_); }
    double Seconds() const;

private:
    LARGE_INTEGER start_;
};
