// The tests that run the real nec2c are given its path when the build is
// configured (NEC2C_PATH, empty when it was not found) and skip without it.
#pragma once

#include <gtest/gtest.h>
#include <string>

#define NEEDS_NEC2C()                                                                              \
    if (std::string(NEC2C_PATH).empty()) {                                                         \
        GTEST_SKIP() << "nec2c was not found when the build was configured";                       \
    }
