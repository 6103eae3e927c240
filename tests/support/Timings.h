#pragma once
#include <string>
#include <vector>

// Seconds measured over rounds, told as a median with its spread: noise on a shared machine
// shows in the spread, which a best-of hides.
class Timings {
public:
    void Add(double seconds) { values_.push_back(seconds); }
    bool Empty() const { return values_.empty(); }
    double Median() const { return Quantile(0.5); }
    // Linear between the nearest ranks; 0 when empty.
    double Quantile(double q) const;
    // "median 123 ms (quartiles 110-130, range 101-150)"
    std::string Describe() const;

private:
    std::vector<double> values_;
};
