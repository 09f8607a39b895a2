#pragma once
// A fresh empty folder that is the current directory for one test, where the
// game looks for its settings and wave files by bare name.

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace daro::test {

class TempWorkingFolder {
public:
    TempWorkingFolder() : previous_(std::filesystem::current_path()) {
        std::string pattern = (std::filesystem::temp_directory_path() / "daro-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("no temporary folder");
        path_ = pattern;
        std::filesystem::current_path(path_);
    }
    ~TempWorkingFolder() {
        std::error_code ec;
        std::filesystem::current_path(previous_, ec);
        std::filesystem::remove_all(path_, ec);
    }
    TempWorkingFolder(const TempWorkingFolder&) = delete;
    TempWorkingFolder& operator=(const TempWorkingFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }

    // Names are UTF-8, as the game spells them.
    static std::filesystem::path named(const std::string& name) {
        return std::filesystem::path(reinterpret_cast<const char8_t*>(name.c_str()));
    }
    static void write(const std::string& name, const std::string& bytes) {
        std::ofstream out(named(name), std::ios::binary | std::ios::trunc);
        out << bytes;
    }
    static std::string read(const std::string& name) {
        std::ifstream in(named(name), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

private:
    std::filesystem::path previous_;
    std::filesystem::path path_;
};

}  // namespace daro::test
