#pragma once
#include <filesystem>
#include <functional>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include <sys/wait.h>
#include <unistd.h>

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
    static std::string ReadText(const std::string& path)
    {
        const std::vector<uint8_t> bytes = Read(path);
        return {bytes.begin(), bytes.end()};
    }
    static void WriteText(const std::string& path, const std::string& text) { Write(path, {text.begin(), text.end()}); }

    std::filesystem::path Path;
};

// Runs `body` in a child process as the unprivileged user "nobody", which
// is how a test run as root meets the permissions an ordinary user meets.
// Answers the child's exit status (body's result), or -1 when it could not
// become that user.
inline int RunAsNobody(const std::function<int()>& body)
{
    constexpr uid_t Nobody = 65534;
    const pid_t child = ::fork();
    if (child < 0)
        return -1;
    if (child == 0) {
        if (::setgid(Nobody) != 0 || ::setuid(Nobody) != 0)
            ::_exit(255);
        ::_exit(body());
    }
    int status = 0;
    if (::waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) == 255)
        return -1;
    return WEXITSTATUS(status);
}
