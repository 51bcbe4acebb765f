// Switches the C and C++ locale for one test and puts the old one back: the
// tests that prove the conversions locale-free run under German, whose decimal
// separator is ",". scripts/install-deps generates de_DE.UTF-8; a test that
// finds it missing skips and says so.
#pragma once

#include <clocale>
#include <string>

namespace tarvix::test {

inline constexpr const char* kGermanLocale = "de_DE.UTF-8";
inline constexpr const char* kGermanLocaleMissing =
    "the locale de_DE.UTF-8 is not available (scripts/install-deps generates it)";

class LocaleScope {
public:
    explicit LocaleScope(const char* name) : m_previous(std::setlocale(LC_ALL, nullptr)) {
        m_active = std::setlocale(LC_ALL, name) != nullptr;
    }
    ~LocaleScope() { std::setlocale(LC_ALL, m_previous.c_str()); }
    LocaleScope(const LocaleScope&) = delete;
    LocaleScope& operator=(const LocaleScope&) = delete;
    bool active() const { return m_active; }

private:
    std::string m_previous;
    bool m_active = false;
};

} // namespace tarvix::test
