#include "benchmark.h"

#include <windows.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "common/integrity.h"
#include "installer.h"
#include "machine.h"
#include "process.h"
#include "report.h"
#include "screen.h"

namespace {

// The install sequence's status texts, in order; the last one stands until
// the completion box is up.
const struct {
    const char* pszStatus;
    const char* pszPhase;
} s_rgPhases[] = {
    { "Installing:\r\nCreating installation directory...", "target folder" },
    { "Installing:\r\nInstalling application files...", "four payload files" },
    { "Installing:\r\nInstalling DeskTop shortcut...", "desktop shortcut" },
    { "Installing:\r\nInstalling Start Menu shortcuts...", "Start Menu shortcuts" },
    { "Installing:\r\nUpdating system registry...", "registry entries" },
    { "Installation complete:\r\nLumivane installed successfuly", "to the completion box" },
};
const size_t PHASE_COUNT = sizeof(s_rgPhases) / sizeof(s_rgPhases[0]);

// Rows of the table: start-up, the install press, each phase, the total.
const size_t ROW_STARTUP = 0, ROW_DIALOGS = 1, ROW_PRESS = 2, ROW_PHASES = 3;
const size_t ROW_TOTAL = ROW_PHASES + PHASE_COUNT, ROW_COUNT = ROW_TOTAL + 1;
const double NOT_SEEN = -1;

double Now()
{
    static LARGE_INTEGER frequency = {};
    if (frequency.QuadPart == 0)
        ::QueryPerformanceFrequency(&frequency);
    LARGE_INTEGER counter;
    ::QueryPerformanceCounter(&counter);
    return 1000.0 * counter.QuadPart / frequency.QuadPart;
}

// The status line's text as the system keeps it: reading it sends nothing to
// the installer, whose thread is busy installing.
std::string StatusText(HWND hStatus)
{
    char szText[256] = "";
    ::GetWindowTextA(hStatus, szText, sizeof(szText));
    return szText;
}

// When each status text first showed, from Install's press to the box.
void TimePhases(HWND hDialog, double tPress, std::vector<double>& row)
{
    DWORD nInstaller = 0;
    ::GetWindowThreadProcessId(hDialog, &nInstaller);
    HWND hStatus = ::GetDlgItem(hDialog, IDC_STATUS);
    std::vector<double> seen(PHASE_COUNT, NOT_SEEN);
    // While it installs, only the status line is read: a look for the box,
    // through every window of the system, would slow the run it times.
    while (seen[PHASE_COUNT - 1] == NOT_SEEN || FindVisibleWindow("#32770", COMPLETE_CAPTION, nInstaller) == NULL) {
        std::string strStatus = StatusText(hStatus);
        for (size_t i = 0; i < PHASE_COUNT; ++i) {
            if (seen[i] == NOT_SEEN && strStatus == s_rgPhases[i].pszStatus)
                seen[i] = Now();
        }
        if (Now() - tPress > DEFAULT_WAIT_MS)
            Fail("no completion box within " + std::to_string(DEFAULT_WAIT_MS / 1000) + " s of Install");
        ::Sleep(1);
    }
    double tBox = Now();
    // A phase lasts until the next status seen; one too short to be seen
    // counts with the phase before it.
    double tNext = tBox;
    for (size_t i = PHASE_COUNT; i-- > 0;) {
        row[ROW_PHASES + i] = seen[i] == NOT_SEEN ? NOT_SEEN : tNext - seen[i];
        if (seen[i] != NOT_SEEN)
            tNext = seen[i];
    }
    row[ROW_PRESS] = tNext - tPress;
}

// The shell (Wine's desktop among it) takes in the removal of the links and
// folders for a moment: not while a run is timed.
void SettleAfterReset()
{
    ::Sleep(500);
}

std::vector<double> TimeOneInstallation()
{
    std::vector<double> row(ROW_COUNT, NOT_SEEN);
    ResetMachine();
    SettleAfterReset();
    double tStart = Now();
    InstallAsUser([&](EScreen screen, CScreen& shown) {
        if (screen == WELCOME) {
            row[ROW_STARTUP] = Now() - tStart;
        } else if (screen == INSTALL_DIALOG) {
            row[ROW_DIALOGS] = Now() - tStart - row[ROW_STARTUP];
        } else if (screen == INSTALLING) {
            TimePhases(shown.Handle(), Now(), row);
            row[ROW_TOTAL] = Now() - tStart;
        }
    });
    CloseProduct();
    return row;
}

double Median(std::vector<double> values)
{
    values.erase(std::remove(values.begin(), values.end(), NOT_SEEN), values.end());
    if (values.empty())
        return NOT_SEEN;
    std::sort(values.begin(), values.end());
    size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

void PrintCell(double ms)
{
    if (ms == NOT_SEEN)
        std::printf("  %8s", "-");
    else
        std::printf("  %8.1f", ms);
}

void PrintTable(const std::vector<std::vector<double>>& runs)
{
    std::printf("\n%-46s", "wall time in ms");
    for (size_t i = 0; i < runs.size(); ++i)
        std::printf("  %6s %zu", "run", i + 1);
    std::printf("  %8s\n", "median");
    for (size_t r = 0; r < ROW_COUNT; ++r) {
        std::string strLabel = r == ROW_STARTUP   ? "start to the welcome shown"
                               : r == ROW_DIALOGS ? "welcome and licence (driver answers at once)"
                               : r == ROW_PRESS   ? "Install pressed to the first status"
                               : r == ROW_TOTAL   ? "total: start to the completion box"
                                                  : std::string("  ") + s_rgPhases[r - ROW_PHASES].pszPhase;
        std::printf("%-46s", strLabel.c_str());
        std::vector<double> values;
        for (const std::vector<double>& row : runs) {
            PrintCell(row[r]);
            values.push_back(row[r]);
        }
        PrintCell(Median(values));
        std::printf("\n");
    }
    std::printf("(-: the phase was over before the driver, polling about each millisecond, saw its\n"
                " status; its time counts in the row above)\n");
}

// What the installer's start-up does before anything else: read its own
// file and check it against its seal.
void PrintSelfCheckCost()
{
    std::vector<double> times;
    std::string strImage;
    bool bWhole = false;
    for (int i = 0; i < 21; ++i) {
        double tStart = Now();
        strImage = ReadWholeFile(InstallerPath());
        bWhole = IsImageWhole(reinterpret_cast<const unsigned char*>(strImage.data()), strImage.size()) != 0;
        times.push_back(Now() - tStart);
    }
    std::printf("\nself-check of %s (%zu bytes, %s): median of 21 reads and checks %.2f ms\n",
                InstallerPath().c_str(), strImage.size(), bWhole ? "whole" : "NOT WHOLE", Median(times));
}

// A silent run of the peer's installer, from its start to its end.
double TimeSilentRun(const std::string& strPeer)
{
    ResetMachine();
    SettleAfterReset();
    CProcess peer;
    double tStart = Now();
    peer.Start(strPeer, "/S");
    peer.ExpectExitCode(0);
    return Now() - tStart;
}

// The shell calls behind the four links, made here as both installers make
// them, into a scratch folder of the same prefix: one link object each, its
// path set, and the link saved. Under Wine each save also starts the
// desktop-menu helper and waits for it; neither installer can avoid that.
double TimeLinkCalls()
{
    ResetMachine();
    SettleAfterReset();
    WCHAR szTemp[MAX_PATH], szTarget[MAX_PATH];
    ::GetTempPathW(MAX_PATH, szTemp);
    ::GetModuleFileNameW(NULL, szTarget, MAX_PATH);
    std::wstring strFolder = std::wstring(szTemp) + L"lv-link-calls";
    ::CreateDirectoryW(strFolder.c_str(), NULL);
    const wchar_t* rgTitles[] = { L"Lumivane (desktop)", L"Lumivane", L"Lumivane Help", L"Uninstall Lumivane" };
    double tStart = Now();
    for (const wchar_t* pszTitle : rgTitles) {
        IShellLinkW* pLink = NULL;
        IPersistFile* pFile = NULL;
        if (::CoCreateInstance(CLSID_ShellLink, NULL, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                               reinterpret_cast<void**>(&pLink)) != S_OK)
            Fail("no shell link object");
        pLink->SetPath(szTarget);
        pLink->SetWorkingDirectory(szTemp);
        pLink->SetIconLocation(szTarget, 0);
        pLink->SetDescription(pszTitle);
        pLink->SetShowCmd(SW_SHOWNORMAL);
        HRESULT hr = pLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&pFile));
        if (hr == S_OK) {
            hr = pFile->Save((strFolder + L"\\" + pszTitle + L".lnk").c_str(), TRUE);
            pFile->Release();
        }
        pLink->Release();
        if (hr != S_OK)
            Fail("a link could not be saved in the scratch folder");
    }
    double tCalls = Now() - tStart;
    for (const wchar_t* pszTitle : rgTitles)
        ::DeleteFileW((strFolder + L"\\" + pszTitle + L".lnk").c_str());
    ::RemoveDirectoryW(strFolder.c_str());
    return tCalls;
}

// The install work of each run: ours from Install's press to the status
// "Installation complete" (the sum of its phases); the peer's, its silent run less the same
// installer's with an empty section, each from a machine without Lumivane.
void PrintComparison(const std::vector<std::vector<double>>& runs, const std::vector<double>& peerFull,
                     const std::vector<double>& peerEmpty, const std::vector<double>& linkCalls)
{
    std::vector<double> ours, peer;
    for (size_t i = 0; i < runs.size(); ++i) {
        double tWork = 0;
        for (size_t r = ROW_PRESS; r < ROW_TOTAL - 1; ++r)  // the completion box is no work
            tWork += runs[i][r] == NOT_SEEN ? 0 : runs[i][r];
        ours.push_back(tWork);
        peer.push_back(peerFull[i] - peerEmpty[i]);
    }
    std::printf("\ninstall work, %zu paired runs, ms:", runs.size());
    for (size_t i = 0; i < runs.size(); ++i)
        std::printf("  %.1f/%.1f", ours[i], peer[i]);
    std::printf("  (InstallLV/peer)\n");
    std::printf("  InstallLV, Install pressed to \"Installation complete\"  median %8.1f\n", Median(ours));
    std::printf("  peer, silent run %.1f less empty-section run %.1f  median %8.1f\n", Median(peerFull),
                Median(peerEmpty), Median(peer));
    std::printf("  the four links' shell calls alone, made by both alike  median %8.1f  (%.2f of the peer's)\n",
                Median(linkCalls), Median(linkCalls) / Median(peer));
    std::printf("time ratio InstallLV / peer: %.2f\n", Median(ours) / Median(peer));
}

}  // namespace

int RunBenchmark(int nRuns, const std::string& strPeer, const std::string& strPeerEmpty)
{
    std::vector<std::vector<double>> runs;
    std::vector<double> peerFull, peerEmpty, linkCalls;
    SetQuiet(true);
    ::CoInitialize(NULL);
    try {
        for (int i = 0; i < nRuns; ++i) {
            runs.push_back(TimeOneInstallation());
            if (!strPeer.empty()) {
                peerFull.push_back(TimeSilentRun(strPeer));
                peerEmpty.push_back(TimeSilentRun(strPeerEmpty));
                linkCalls.push_back(TimeLinkCalls());
            }
        }
        ResetMachine();
    } catch (const CWalkFailure& failure) {
        std::printf("FAILED benchmark: %s\n", failure.what());
        return 1;
    }
    if (nRuns > 0)
        PrintTable(runs);
    if (nRuns > 0 && !strPeer.empty())
        PrintComparison(runs, peerFull, peerEmpty, linkCalls);
    PrintSelfCheckCost();
    std::fflush(stdout);
    return 0;
}
