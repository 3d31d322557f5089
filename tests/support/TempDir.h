#pragma once

#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

namespace lumetra::test {

// A fresh directory removed with everything in it at the end of the test.
class TempDir {
public:
    TempDir() {
        std::string templ =
            (std::filesystem::temp_directory_path() / "lumetra-test-XXXXXX").string();
        m_path = ::mkdtemp(templ.data());
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::permissions(m_path, std::filesystem::perms::owner_all, ec);
        std::filesystem::remove_all(m_path, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    std::string Path(std::string_view name) const { return m_path + "/" + std::string(name); }

    std::string Write(std::string_view name, std::string_view bytes) const {
        const std::string p = Path(name);
        std::ofstream(p, std::ios::binary).write(bytes.data(), std::streamsize(bytes.size()));
        return p;
    }

    static std::string Read(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    const std::string& path() const { return m_path; }

private:
    std::string m_path;
};

} // namespace lumetra::test
