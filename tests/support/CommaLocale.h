#pragma once
// A desktop whose numbers use a decimal comma: LC_NUMERIC set to German for the lifetime
// of the object. Where the system has not generated that locale, the copy the build
// compiled into its own folder is used, so the test runs on any machine with Debian's
// locale sources.

#include <string>

namespace kestrum::test {

class CommaLocale {
public:
    CommaLocale();
    ~CommaLocale();
    CommaLocale(const CommaLocale&) = delete;
    CommaLocale& operator=(const CommaLocale&) = delete;

    bool Active() const { return active_; }

private:
    std::string previous_;
    bool active_ = false;
};

}  // namespace kestrum::test
