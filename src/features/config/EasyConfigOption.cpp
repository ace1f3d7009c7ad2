#include "features/config/EasyConfigOption.h"

#include <cmath>

#include "core/Conversions.h"

namespace kestrum {

namespace {
constexpr double kLowestExcluded = 0.0;
constexpr double kHighestExcluded = 6.0;
}  // namespace

std::optional<int32_t> EasyConfigCode(std::string_view optionText) {
    if (!IsNumericText(optionText)) return std::nullopt;
    const double option = LeadingNumber(TrimBlanks(optionText));
    if (!(option > kLowestExcluded && option < kHighestExcluded)) return std::nullopt;
    return RoundToInt32(std::pow(2.0, std::floor(option - 1.0)));
}

}  // namespace kestrum
