// szdd_bench FILE...: size and speed of the SZDD codec on each file.
// Speeds are expanded bytes per second (1 MB = 10^6 bytes), the best of repeated runs.
#include "szdd_codec.h"

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// Best seconds per run of fnRun, repeated for at least half a second and five runs.
template <typename Fn>
double TimeBestRun(Fn fnRun)
{
    double dBest = 1e30;
    double dTotal = 0;
    for (int nRuns = 0; nRuns < 5 || dTotal < 0.5; ++nRuns)
    {
        Clock::time_point start = Clock::now();
        fnRun();
        double dSeconds = std::chrono::duration<double>(Clock::now() - start).count();
        dBest = dSeconds < dBest ? dSeconds : dBest;
        dTotal += dSeconds;
    }
    return dBest;
}

int BenchFile(const char* pszPath)
{
    std::vector<unsigned char> vecData;
    std::string strError;
    if (!ReadWholeFile(pszPath, vecData, strError))
    {
        std::fprintf(stderr, "szdd_bench: %s\n", strError.c_str());
        return 0;
    }
    std::vector<unsigned char> vecStored;
    std::vector<unsigned char> vecExpanded;
    double dCompress = TimeBestRun([&] { vecStored = CompressSzdd(vecData.data(), vecData.size()); });
    double dExpand = TimeBestRun(
        [&] { ExpandSzdd(vecStored.data(), vecStored.size(), vecExpanded, strError); });
    if (vecExpanded != vecData)
    {
        std::fprintf(stderr, "szdd_bench: %s does not round-trip\n", pszPath);
        return 0;
    }
    double dMegabytes = vecData.size() / 1e6;
    std::printf("%-32s %10zu %10zu %7.3f %12.1f %12.1f\n", pszPath, vecStored.size(), vecData.size(),
                vecData.empty() ? 0.0 : double(vecStored.size()) / vecData.size(),
                dMegabytes / dCompress, dMegabytes / dExpand);
    return 1;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2)
    {
        std::fprintf(stderr, "usage: szdd_bench FILE...\n");
        return 2;
    }
    std::printf("%-32s %10s %10s %7s %12s %12s\n", "file", "stored", "expanded", "ratio",
                "compr MB/s", "expand MB/s");
    int nFailures = 0;
    for (int i = 1; i < argc; ++i)
        nFailures += BenchFile(argv[i]) ? 0 : 1;
    return nFailures ? 1 : 0;
}
