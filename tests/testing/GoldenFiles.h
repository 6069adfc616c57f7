#pragma once
// The hand-checked files of tests/data (written by make_golden.py), read by
// tests that link one level only and so do without the shared test helpers.

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <unistd.h>

inline std::string GoldenPath(const std::string& name) {
    return std::string(VARNOK_TEST_DATA) + "/" + name;
}

inline std::vector<std::uint8_t> ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline std::vector<std::uint8_t> GoldenBytes(const std::string& name) {
    return ReadBytes(GoldenPath(name));
}

// A scratch folder of this process under the temporary folder, removed with the object.
class GoldenScratch {
public:
    GoldenScratch()
        : path_(std::filesystem::temp_directory_path() / ("golden-" + std::to_string(::getpid()))) {
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
    }
    ~GoldenScratch() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    GoldenScratch(const GoldenScratch&) = delete;
    GoldenScratch& operator=(const GoldenScratch&) = delete;

    std::string operator/(const std::string& name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};
