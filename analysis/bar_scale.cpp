#include "analysis/bar_scale.h"

#include <cmath>

namespace analysis {
namespace {

float range(const BarScale& scale) {
    return scale.maximum - scale.minimum;
}

}  // namespace

std::optional<BarScale> BarScale::from(const ColumnStatistics* entry) {
    if (!entry)
        return std::nullopt;
    const BarScale scale{entry->maximum, entry->minimum};
    const float span = range(scale);
    if (span == 0.0f || std::isnan(span))
        return std::nullopt;
    return scale;
}

double BarScale::percent(double value) const {
    const double span = range(*this);
    const double percent =
        minimum < 0.0f ? (value - minimum) / span * 100.0 : value / maximum * 100.0;
    // Only figures that overflowed single precision make NaN (infinity over
    // infinity); an empty bar is the safe length for them.
    return std::isnan(percent) ? 0.0 : percent;
}

}  // namespace analysis
