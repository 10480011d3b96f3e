// e2e_driver: drives the real InstallLV.exe through Wine's windows as a user
// would, one scenario per run, from a machine reset to have no Lumivane.
//   e2e_driver SCENARIO [--screenshots FOLDER]
//   e2e_driver benchmark [RUNS]
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "benchmark.h"
#include "machine.h"
#include "scenario.h"
#include "scenarios.h"
#include "screen.h"

static int Usage()
{
    std::printf("usage: e2e_driver SCENARIO [--screenshots FOLDER]\n"
                "       e2e_driver benchmark [RUNS]\nscenarios:\n");
    PrintScenarioNames();
    return 2;
}

// The other tests share the prefix and expect no Lumivane on it; and nothing
// the scenario started may outlive it, or it would hold the test runner's
// output open.
static int LeaveMachineClean()
{
    try {
        ResetMachine();
        return 1;
    } catch (const CScenarioFailure& failure) {
        std::printf("FAILED to leave the machine clean: %s\n", failure.what());
        return 0;
    }
}

static int RunScenario(const SScenario& scenario)
{
    int nResult = 0;
    try {
        ResetMachine();
        scenario.pfnRun();
        std::printf("PASSED %s\n", scenario.pszName);
    } catch (const CScenarioFailure& failure) {
        std::printf("FAILED %s: %s\n", scenario.pszName, failure.what());
        nResult = 1;
    }
    std::fflush(stdout);
    if (!LeaveMachineClean())
        nResult = 1;
    return nResult;
}

int main(int argc, char* argv[])
{
    if (argc < 2)
        return Usage();
    ::CoInitialize(NULL);
    std::string strName = argv[1];
    if (strName == "benchmark") {
        int nResult = RunBenchmark(argc > 2 ? std::atoi(argv[2]) : 3);
        return LeaveMachineClean() ? nResult : 1;
    }
    const SScenario* pScenario = FindScenario(strName);
    if (pScenario == NULL)
        return Usage();
    if (argc == 4 && std::string(argv[2]) == "--screenshots")
        SetScreenshotFolder(argv[3]);
    else if (argc != 2)
        return Usage();
    return RunScenario(*pScenario);
}
