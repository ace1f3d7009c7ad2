#include "support/CommaLocale.h"

#include <clocale>
#include <cstdlib>
#include <string>

namespace kestrum::test {

namespace {
constexpr const char* kName = "de_DE.UTF-8";
}

CommaLocale::CommaLocale() {
    const char* current = std::setlocale(LC_NUMERIC, nullptr);
    previous_ = current != nullptr ? current : "C";
    if (std::setlocale(LC_NUMERIC, kName) == nullptr) {
        setenv("LOCPATH", KESTRUM_TEST_LOCALES, 1);
        std::setlocale(LC_NUMERIC, kName);
        unsetenv("LOCPATH");
    }
    const std::lconv* numbers = std::localeconv();
    active_ = numbers != nullptr && std::string(numbers->decimal_point) == ",";
}

CommaLocale::~CommaLocale() { std::setlocale(LC_NUMERIC, previous_.c_str()); }

}  // namespace kestrum::test
