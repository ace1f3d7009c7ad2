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
    if (std::setlocale(LC_NUMERIC, kName) == nullptr && dir_.isValid()) {
        const std::string folder = dir_.path().toStdString();
        const std::string command =
            "localedef -i de_DE -f UTF-8 '" + folder + "/" + kName + "' >/dev/null 2>&1";
        if (std::system(command.c_str()) == 0) {
            setenv("LOCPATH", folder.c_str(), 1);
            std::setlocale(LC_NUMERIC, kName);
            unsetenv("LOCPATH");
        }
    }
    const std::lconv* numbers = std::localeconv();
    active_ = numbers != nullptr && std::string(numbers->decimal_point) == ",";
}

CommaLocale::~CommaLocale() { std::setlocale(LC_NUMERIC, previous_.c_str()); }

}  // namespace kestrum::test
