// Table rows of the entry tests carry a name: the test is named after it and
// gtest prints the row by it instead of as raw bytes. A test file brings
// PrintTo into its own namespace with a using-declaration so that gtest finds
// it there.
#pragma once

#include <gtest/gtest.h>
#include <ostream>
#include <string>

namespace tarvix::fakes {

template <class Row>
concept NamedRow = requires(const Row& row) {
    std::string(row.name);
};

template <NamedRow Row> void PrintTo(const Row& row, std::ostream* out) {
    *out << row.name;
}

struct RowName {
    template <NamedRow Row>
    std::string operator()(const ::testing::TestParamInfo<Row>& info) const {
        return info.param.name;
    }
};

} // namespace tarvix::fakes
