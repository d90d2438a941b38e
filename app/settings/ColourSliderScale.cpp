#include "app/settings/ColourSliderScale.h"

#include <algorithm>

#include "store/AppSettings.h"

namespace {
int64_t RoundedQuotient(int64_t value, int64_t divisor) {
    return value >= 0 ? (value + divisor / 2) / divisor : -((-value + divisor / 2) / divisor);
}
}  // namespace

ColourSliderScale::ColourSliderScale(const ProcAmpRange& range) : m_range(range) {
    if (m_range.maximum < m_range.minimum) std::swap(m_range.minimum, m_range.maximum);
    m_range.defaultValue = std::clamp(m_range.defaultValue, m_range.minimum, m_range.maximum);
    const int64_t span = static_cast<int64_t>(m_range.maximum) - m_range.minimum;
    m_step = std::max<int64_t>({1, m_range.step, (span + kMostPositions - 1) / kMostPositions});
    m_minimumPosition = static_cast<int>(-RoundedQuotient(static_cast<int64_t>(m_range.defaultValue) - m_range.minimum, m_step));
    m_maximumPosition = static_cast<int>(RoundedQuotient(static_cast<int64_t>(m_range.maximum) - m_range.defaultValue, m_step));
}

int ColourSliderScale::PositionOf(int32_t stored) const {
    if (stored == kProcAmpNotSet) return 0;
    const int64_t raw = std::clamp(stored, m_range.minimum, m_range.maximum);
    const int64_t position = RoundedQuotient(raw - m_range.defaultValue, m_step);
    return static_cast<int>(std::clamp<int64_t>(position, m_minimumPosition, m_maximumPosition));
}

int32_t ColourSliderScale::StoredOf(int position) const {
    if (position <= m_minimumPosition) return m_range.minimum;
    if (position >= m_maximumPosition) return m_range.maximum;
    const int64_t raw = m_range.defaultValue + static_cast<int64_t>(position) * m_step;
    return static_cast<int32_t>(std::clamp<int64_t>(raw, m_range.minimum, m_range.maximum));
}
