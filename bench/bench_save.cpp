// Saving a data file: each save now reaches the disk (the file and then its
// folder are flushed) before it counts as done. Prints the time per save,
// with and without those flushes, in the folder given (default: the system's
// temporary folder), so the price of durability on that disk is visible.
#include "files/U_FileAccess.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>

namespace {

// The same steps without waiting for the disk.
class TNoFlush : public TFileCalls {
public:
    int Sync(int) const override { return 0; }
};

double MsPerSave(const std::string& path, const TFileCalls& calls, int saves)
{
    const std::string image(1986, '\x5A');
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < saves; ++i) {
        if (!WriteFileAtomically(path, image, calls)) {
            std::fprintf(stderr, "save failed: %s\n", path.c_str());
            return -1;
        }
    }
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count() / saves;
}

} // namespace

int main(int argc, char** argv)
{
    const std::filesystem::path folder = argc > 1 ? argv[1] : std::filesystem::temp_directory_path();
    const int saves = argc > 2 ? std::stoi(argv[2]) : 200;
    const std::string path = (folder / "bench_save.R54").string();
    const double durable = MsPerSave(path, TFileCalls::System(), saves);
    const double unflushed = MsPerSave(path, TNoFlush(), saves);
    std::filesystem::remove(path);
    std::printf("%d saves of 1986 bytes in %s\n", saves, folder.c_str());
    std::printf("  flushed to disk (as saved): %8.3f ms per save\n", durable);
    std::printf("  without the flushes:        %8.3f ms per save\n", unflushed);
    return durable < 0 || unflushed < 0 ? 1 : 0;
}
