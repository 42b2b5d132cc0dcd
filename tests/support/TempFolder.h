#pragma once
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

// A fresh folder per test, removed afterwards.
class TTempFolder {
public:
    TTempFolder()
    {
        std::random_device random;
        Path = std::filesystem::temp_directory_path() / ("rk54-test-" + std::to_string(random()));
        std::filesystem::create_directories(Path);
    }
    ~TTempFolder()
    {
        std::error_code error;
        std::filesystem::permissions(Path, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, error);
        std::filesystem::remove_all(Path, error);
    }
    std::string operator/(const std::string& name) const { return (Path / name).string(); }

    static std::vector<uint8_t> Read(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    static void Write(const std::string& path, const std::vector<uint8_t>& bytes)
    {
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }

    std::filesystem::path Path;
};
