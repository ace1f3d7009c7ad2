#pragma once
// A desktop whose numbers use a decimal comma: LC_NUMERIC set to German for the lifetime
// of the object. The locale is compiled into a temporary folder when the system has not
// generated it, so the test runs on any machine with Debian's locale sources.

#include <QTemporaryDir>
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
    QTemporaryDir dir_;
    std::string previous_;
    bool active_ = false;
};

}  // namespace kestrum::test
