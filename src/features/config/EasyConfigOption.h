#pragma once
// The Easy Config option number that the Easy Setup window writes to register 0x14.

#include <cstdint>
#include <optional>
#include <string_view>

namespace kestrum {

// The code for the option number in the text: 2 raised to the whole part below the number
// less one, rounded to a whole number halves to even, so 1..5 give the one-hot codes
// 0x01..0x10 ("2.5" gives 0x02, "0.5" gives 0x00). Nothing when the text is not a number
// greater than 0 and less than 6.
std::optional<int32_t> EasyConfigCode(std::string_view optionText);

}  // namespace kestrum
