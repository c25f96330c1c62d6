#pragma once

#include <algorithm>
#include <chrono>
#include <vector>

namespace quorvel::bench {

// The times of one case, in seconds. Medians, because on a machine shared with other work
// the outliers all go one way.
class Samples {
public:
    void add(double seconds) { values_.push_back(seconds); }
    bool empty() const { return values_.empty(); }
    int count() const { return int(values_.size()); }
    double median() const { return quantile(0.5); }
    // Half the distance between the quartiles, relative to the median.
    double noise() const
    {
        const double m = median();
        return m > 0 ? (quantile(0.75) - quantile(0.25)) / 2 / m : 0;
    }
    double quantile(double q) const { return quantileOf(values_, q); }

    // The median of the round-by-round ratios to `other`, taken in the same rounds: a load
    // that comes and goes during the run falls on both sides of each ratio.
    double pairedRatio(const Samples& other) const
    {
        std::vector<double> ratios;
        for (size_t i = 0; i < values_.size() && i < other.values_.size(); ++i)
            if (other.values_[i] > 0)
                ratios.push_back(values_[i] / other.values_[i]);
        return quantileOf(ratios, 0.5);
    }

private:
    static double quantileOf(std::vector<double> v, double q)
    {
        if (v.empty())
            return 0;
        std::sort(v.begin(), v.end());
        const double at = q * double(v.size() - 1);
        const auto low = size_t(at);
        const size_t high = std::min(low + 1, v.size() - 1);
        return v[low] + (v[high] - v[low]) * (at - double(low));
    }

    std::vector<double> values_;
};

// Wall time that can be paused, for the parts of a run that the other ways do not time.
class Stopwatch {
public:
    using Clock = std::chrono::steady_clock;
    void start() { since_ = Clock::now(); }
    void stop() { total_ += std::chrono::duration<double>(Clock::now() - since_).count(); }
    double seconds() const { return total_; }

private:
    Clock::time_point since_ = Clock::now();
    double total_ = 0;
};

} // namespace quorvel::bench
