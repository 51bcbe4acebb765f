#include "scratch_dir.h"

#include <cstdlib>
#include <stdexcept>
#include <system_error>

namespace tarvix::test {

ScratchDir::ScratchDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "tarvix-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("cannot make a scratch directory");
    }
    m_dir = pattern;
}

ScratchDir::~ScratchDir() {
    std::error_code ignored; // a leftover temporary directory is no test failure
    std::filesystem::remove_all(m_dir, ignored);
}

} // namespace tarvix::test
