#include "Timings.h"
#include <algorithm>
#include <cstdio>

double Timings::Quantile(double q) const
{
    if (values_.empty()) return 0;
    std::vector<double> sorted = values_;
    std::sort(sorted.begin(), sorted.end());
    double at = q * static_cast<double>(sorted.size() - 1);
    size_t below = static_cast<size_t>(at);
    if (below + 1 >= sorted.size()) return sorted.back();
    return sorted[below] + (at - static_cast<double>(below)) * (sorted[below + 1] - sorted[below]);
}

std::string Timings::Describe() const
{
    char text[160];
    std::snprintf(text, sizeof text, "median %.0f ms (quartiles %.0f-%.0f, range %.0f-%.0f, %u rounds)",
                  Median() * 1000, Quantile(0.25) * 1000, Quantile(0.75) * 1000, Quantile(0) * 1000,
                  Quantile(1) * 1000, static_cast<unsigned>(values_.size()));
    return text;
}
