// A fresh directory for one test's files, removed with the object.
#pragma once

#include <filesystem>
#include <string>

namespace tarvix::test {

class ScratchDir {
public:
    ScratchDir();
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    std::filesystem::path path(const std::string& name) const { return m_dir / name; }

private:
    std::filesystem::path m_dir;
};

} // namespace tarvix::test
