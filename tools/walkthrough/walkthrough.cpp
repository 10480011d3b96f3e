// walkthrough: works the real InstallLV.exe through Wine's windows as a user
// would, from a machine reset to have no Lumivane, and leaves none behind.
//   walkthrough [--screenshots FOLDER]  a fresh installation, then an account
//                                       of what it left
//   walkthrough benchmark [RUNS [PEER PEER_EMPTY]]  timed fresh installations,
//                                       each paired with the peer's silent runs
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>

#include "benchmark.h"
#include "installer.h"
#include "machine.h"
#include "report.h"
#include "screen.h"

// Failures are told, not thrown on.
static int Run(const std::function<int()>& fnWalk)
{
    try {
        return fnWalk();
    } catch (const CWalkFailure& failure) {
        std::printf("FAILED: %s\n", failure.what());
        return 1;
    }
}

int main(int argc, char* argv[])
{
    std::string strCommand = argc > 1 ? argv[1] : "";
    if (strCommand == "benchmark" ? argc > 5 || argc == 4
                                  : !(argc == 1 || (argc == 3 && strCommand == "--screenshots"))) {
        std::printf("usage: walkthrough [--screenshots FOLDER]\n"
                    "       walkthrough benchmark [RUNS [PEER PEER_EMPTY]]\n");
        return 2;
    }
    if (argc == 3 && strCommand == "--screenshots")
        SetScreenshotFolder(argv[2]);
    ::CoInitialize(NULL);
    int nResult = Run([&] {
        if (strCommand == "benchmark")
            return RunBenchmark(argc > 2 ? std::atoi(argv[2]) : 3, argc > 4 ? argv[3] : "", argc > 4 ? argv[4] : "");
        ResetMachine();
        PrintAccount(InstallAsUser([](EScreen, CScreen&) {}));
        return 0;
    });
    // The tests share the prefix and expect no Lumivane on it; and nothing
    // started here may outlive the walk.
    return Run([] { ResetMachine(); return 0; }) == 0 ? nResult : 1;
}
