// The tests that run the real nec2c are given its path when the build is
// configured (NEC2C_PATH, empty when it was not found). On a developer's
// machine without it they skip and say why; under CI (CI set to true) a
// missing nec2c is a failure, since the install script should have put it
// there.
#pragma once

#include <cstdlib>
#include <gtest/gtest.h>
#include <string>

namespace tarvix::test {

inline bool runningUnderCi() {
    const char* ci = std::getenv("CI");
    return ci != nullptr && std::string(ci) == "true";
}

} // namespace tarvix::test

#define NEEDS_NEC2C()                                                                              \
    if (std::string(NEC2C_PATH).empty()) {                                                         \
        if (::tarvix::test::runningUnderCi()) {                                                    \
            GTEST_FAIL() << "nec2c was not found when the build was configured, under CI";         \
        }                                                                                          \
        GTEST_SKIP() << "nec2c was not found when the build was configured";                       \
    }
