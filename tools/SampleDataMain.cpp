// kirvane-sample-data [--bench] OUTDIR: writes OUTDIR/index.txt and OUTDIR/signals.csv.
// Without --bench: a small working folder to try the program on; with --bench: a large stock
// master and signal file for timing the loader and the simulation.

#include "SampleData.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

namespace {

struct Shape {
    int stockCount;
    int rowCount;
    int firstDate;
    int lastDate;
    uint32_t seed;
};

constexpr Shape kSample{80, 400, 20040105, 20050630, 2004};
constexpr Shape kBench{3000, 250000, 20000104, 20091230, 2000};

bool writeFile(const std::filesystem::path& path, const std::string& bytes)
{
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    file.close();
    if (!file) {
        std::fprintf(stderr, "kirvane-sample-data: cannot write %s\n", path.string().c_str());
        return false;
    }
    return true;
}

int usage()
{
    std::fprintf(stderr, "usage: kirvane-sample-data [--bench] OUTDIR\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv)
{
    bool bench = false;
    std::string outDir;
    for (int i = 1; i < argc; ++i) {
        std::string_view arg = argv[i];
        if (arg == "--bench")
            bench = true;
        else if (outDir.empty() && !arg.starts_with("-"))
            outDir = arg;
        else
            return usage();
    }
    if (outDir.empty())
        return usage();

    const Shape& shape = bench ? kBench : kSample;
    std::error_code error;
    std::filesystem::create_directories(outDir, error);
    if (error) {
        std::fprintf(stderr, "kirvane-sample-data: cannot create %s: %s\n", outDir.c_str(),
                     error.message().c_str());
        return 1;
    }

    std::vector<kv::SampleStock> stocks = kv::makeStocks(shape.stockCount, shape.seed);
    std::string master = kv::formatStockMaster(stocks);
    std::string signals =
        kv::makeSignalFile(stocks, shape.rowCount, shape.firstDate, shape.lastDate, shape.seed);

    std::filesystem::path dir(outDir);
    if (!writeFile(dir / "index.txt", master) || !writeFile(dir / "signals.csv", signals))
        return 1;

    std::printf("%s: %d stocks, %zu bytes\n", (dir / "index.txt").string().c_str(), shape.stockCount,
                master.size());
    std::printf("%s: %d signals from %d to %d, %zu bytes\n", (dir / "signals.csv").string().c_str(),
                shape.rowCount, shape.firstDate, shape.lastDate, signals.size());
    return 0;
}
