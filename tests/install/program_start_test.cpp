// Lumivane started once set-up is done: by the shell's own process, so not
// with set-up's rights (end to end: each installation's look at Lumivane
// checks who started it, and one installation has the shell hang). Set-up
// starts it itself only where no shell answers and its rights are not an
// elevation of the user's own; it never waits on the shell for long.
#include <gmock/gmock.h>

#include <tlhelp32.h>

#include <atomic>

#include "install/program_start.h"
#include "tests/dialogs/install_run.h"

static const std::tuple<int, const char*, const char*> s_rgPayload[] = {
#include "payload_sources.inc"
};
static const CLSID CLSID_SHELL_WINDOWS = { 0x9BA05972, 0xF6A8, 0x11CF, { 0xA4, 0x42, 0x00, 0xA0, 0xC9, 0x0A, 0x8F, 0x39 } };

typedef InstallRunTest ProgramStartTest;

// How many Lumivanes run now: set-up's own start is done by the time its call
// returns. Each is let show its window and asked to close, as the product
// is: one ended half-way through its start can leave Wine's desktop waiting
// on it for good.
static int CloseRunningProducts()
{
    std::vector<DWORD> products;
    HANDLE hSnapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32 entry;
    entry.dwSize = sizeof(entry);
    for (BOOL bMore = ::Process32First(hSnapshot, &entry); bMore; bMore = ::Process32Next(hSnapshot, &entry)) {
        if (::lstrcmpiA(entry.szExeFile, "Lumivane.exe") == 0)
            products.push_back(entry.th32ProcessID);
    }
    ::CloseHandle(hSnapshot);
    for (DWORD nProduct : products) {
        HANDLE hProcess = ::OpenProcess(SYNCHRONIZE, FALSE, nProduct);
        HWND hWindow = NULL;
        for (int i = 0; i < 200 && (hWindow = ::FindWindowA(NULL, "Lumivane")) == NULL; ++i)
            ::Sleep(50);
        ::PostMessageA(hWindow, WM_USER + 0x101, 0, 0);  // the product's close request
        EXPECT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(hProcess, 10000)) << "Lumivane did not close";
        ::CloseHandle(hProcess);
    }
    return static_cast<int>(products.size());
}

TEST_F(ProgramStartTest, SetUpStartsTheProgramOnlyWithoutShellOrElevationAndNeverWaitsLongOnTheShell)
{
    const std::string strProgram = std::string(RUN_ROOT) + "\\Lumivane.exe";
    ASSERT_TRUE(::CopyFileA(std::get<2>(s_rgPayload[0]), strProgram.c_str(), FALSE));
    HANDLE hRelease = ::CreateEventA(NULL, TRUE, FALSE, NULL), hAnswered = ::CreateEventA(NULL, TRUE, FALSE, NULL);
    std::atomic<int> nAskedForShell(0);
    struct SCase {
        TOKEN_ELEVATION_TYPE eToken;
        bool bShellHangs;
        int nStarted;
    };
    // The hooks outlive every asking thread: the last case's ends before set-up goes on.
    const SCase rgCases[] = {
        { TokenElevationTypeDefault, true, 1 },
        { TokenElevationTypeFull, true, 0 },
        { TokenElevationTypeDefault, false, 1 },
        { TokenElevationTypeFull, false, 0 },
    };
    const SCase* pCase = NULL;
    seam::g_hooks.fnGetTokenInformation = [&](HANDLE hToken, TOKEN_INFORMATION_CLASS eClass, LPVOID pInfo,
                                              DWORD nLength, PDWORD pnReturned) {
        if (eClass != TokenElevationType)
            return seam::RealGetTokenInformation(hToken, eClass, pInfo, nLength, pnReturned);
        *static_cast<TOKEN_ELEVATION_TYPE*>(pInfo) = pCase->eToken;
        return TRUE;
    };
    // A shell that hangs answers only once the test lets it.
    seam::g_hooks.fnCoCreateInstance = [&](REFCLSID clsid, LPUNKNOWN, DWORD, REFIID, LPVOID* ppv) {
        nAskedForShell += ::IsEqualCLSID(clsid, CLSID_SHELL_WINDOWS) ? 1 : 100;
        if (pCase->bShellHangs)
            ::WaitForSingleObject(hRelease, 20000);
        *ppv = NULL;
        ::SetEvent(hAnswered);
        return REGDB_E_CLASSNOTREG;
    };
    for (const SCase& c : rgCases) {
        pCase = &c;
        nAskedForShell = 0;
        StartInstalledProgram(strProgram, RUN_ROOT);
        const bool bAnswered = ::WaitForSingleObject(hAnswered, 0) == WAIT_OBJECT_0;
        EXPECT_EQ(!c.bShellHangs, bAnswered) << "set-up waited for a shell that did not answer";
        ::SetEvent(hRelease);
        ::WaitForSingleObject(hAnswered, 60000);
        ::ResetEvent(hRelease);
        ::ResetEvent(hAnswered);
        EXPECT_EQ(1, nAskedForShell.load()) << c.eToken << c.bShellHangs;
        EXPECT_EQ(c.nStarted, CloseRunningProducts()) << c.eToken << c.bShellHangs;
    }
    ::CloseHandle(hRelease);
    ::CloseHandle(hAnswered);
}
