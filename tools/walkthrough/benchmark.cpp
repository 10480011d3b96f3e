#include "benchmark.h"

#include <windows.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "common/com_ptr.h"
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

ULONGLONG Ticks(const FILETIME& ft)
{
    return (static_cast<ULONGLONG>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
}

// When a folder first appears in the target's parent, as the system tells a
// watcher that waits for it: the start of an installation's work, seen the
// same way whichever installer makes the folder. (Wine stamps a folder's
// creation anew with every entry made in it, so the folder's own stamp
// cannot tell.)
class CFolderWatch
{
public:
    CFolderWatch(const std::string& strFolder)
        : m_hParent(::CreateFileA(strFolder.substr(0, strFolder.rfind('\\')).c_str(), FILE_LIST_DIRECTORY,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, NULL, OPEN_EXISTING,
                                  FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OVERLAPPED, NULL)),
          m_hStop(::CreateEventW(NULL, TRUE, FALSE, NULL)), m_hThread(NULL), m_nSeen(0)
    {
        std::string strName = strFolder.substr(strFolder.rfind('\\') + 1);
        m_strName.resize(strName.size());
        m_strName.resize(::MultiByteToWideChar(CP_ACP, 0, strName.data(), static_cast<int>(strName.size()),
                                               &m_strName[0], static_cast<int>(m_strName.size())));
        if (m_hParent == INVALID_HANDLE_VALUE || m_hStop == NULL ||
            (m_hThread = ::CreateThread(NULL, 0, Watch, this, 0, NULL)) == NULL)
            Fail("cannot watch for " + strFolder);
    }
    ~CFolderWatch()
    {
        ::SetEvent(m_hStop);
        ::WaitForSingleObject(m_hThread, INFINITE);
        ::CloseHandle(m_hThread);
        ::CloseHandle(m_hStop);
        ::CloseHandle(m_hParent);
    }
    CFolderWatch(const CFolderWatch&) = delete;
    CFolderWatch& operator=(const CFolderWatch&) = delete;

    // The system time it was seen at, in 100 ns; 0 when not yet.
    ULONGLONG SeenAt() const { return m_nSeen; }

private:
    static DWORD WINAPI Watch(LPVOID pWatch)
    {
        static_cast<CFolderWatch*>(pWatch)->WatchUntilSeen();
        return 0;
    }

    void WatchUntilSeen()
    {
        OVERLAPPED overlapped = {};
        overlapped.hEvent = ::CreateEventW(NULL, TRUE, FALSE, NULL);
        DWORD rgBuffer[1024];
        while (m_nSeen == 0 && overlapped.hEvent != NULL) {
            ::ResetEvent(overlapped.hEvent);
            if (!::ReadDirectoryChangesW(m_hParent, rgBuffer, sizeof(rgBuffer), FALSE, FILE_NOTIFY_CHANGE_DIR_NAME, NULL,
                                         &overlapped, NULL))
                break;
            HANDLE rgWaits[] = { overlapped.hEvent, m_hStop };
            DWORD nWoken = ::WaitForMultipleObjects(2, rgWaits, FALSE, INFINITE);
            FILETIME ftNow;
            ::GetSystemTimeAsFileTime(&ftNow);
            DWORD nBytes = 0;
            if (nWoken != WAIT_OBJECT_0)
                ::CancelIo(m_hParent);
            if (!::GetOverlappedResult(m_hParent, &overlapped, &nBytes, TRUE) || nWoken != WAIT_OBJECT_0)
                break;
            const BYTE* pRecord = reinterpret_cast<const BYTE*>(rgBuffer);
            while (nBytes != 0) {  // none: more changes than the buffer holds
                const FILE_NOTIFY_INFORMATION* pInfo = reinterpret_cast<const FILE_NOTIFY_INFORMATION*>(pRecord);
                std::wstring strName(pInfo->FileName, pInfo->FileNameLength / sizeof(WCHAR));
                if (pInfo->Action == FILE_ACTION_ADDED && ::lstrcmpiW(strName.c_str(), m_strName.c_str()) == 0)
                    m_nSeen = Ticks(ftNow);
                if (pInfo->NextEntryOffset == 0)
                    break;
                pRecord += pInfo->NextEntryOffset;
            }
        }
        if (overlapped.hEvent != NULL)
            ::CloseHandle(overlapped.hEvent);
    }

    HANDLE m_hParent;
    HANDLE m_hStop;
    HANDLE m_hThread;
    std::wstring m_strName;
    volatile ULONGLONG m_nSeen;
};

// From the target folder's appearance to the last write to the installation's
// registry keys, as the system stamped it: the same measure for any installer
// that makes the folder first and writes the registry last.
double StampedWork(const CFolderWatch& watch)
{
    ULONGLONG nLast = 0;
    for (const char* pszKey : { PRODUCT_VERSION_KEY, APP_PATH_KEY, UNINSTALL_KEY }) {
        HKEY hKey;
        FILETIME ftWritten;
        if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, pszKey, 0, KEY_READ | LV_REGISTRY_VIEW, &hKey) != ERROR_SUCCESS)
            return NOT_SEEN;
        LONG nResult = ::RegQueryInfoKeyA(hKey, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, &ftWritten);
        ::RegCloseKey(hKey);
        if (nResult != ERROR_SUCCESS)
            return NOT_SEEN;
        nLast = std::max(nLast, Ticks(ftWritten));
    }
    if (watch.SeenAt() == 0)
        return NOT_SEEN;
    return (static_cast<double>(nLast) - static_cast<double>(watch.SeenAt())) / 10000.0;
}

std::vector<double> TimeOneInstallation(std::vector<double>& stamped)
{
    std::vector<double> row(ROW_COUNT, NOT_SEEN);
    ResetMachine();
    SettleAfterReset();
    CFolderWatch watch(DefaultTargetDir());
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
    stamped.push_back(StampedWork(watch));
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
double TimeSilentRun(const std::string& strPeer, std::vector<double>* pStamped = NULL)
{
    ResetMachine();
    SettleAfterReset();
    CFolderWatch watch(DefaultTargetDir());
    CProcess peer;
    double tStart = Now();
    peer.Start(strPeer, "/S");
    peer.ExpectExitCode(0);
    double tRun = Now() - tStart;
    if (pStamped != NULL)
        pStamped->push_back(StampedWork(watch));
    return tRun;
}

// The shell calls behind the four links, made here as both installers make
// them, into a scratch folder of the same prefix: one link object each, its
// path set, and the link saved. Under Wine each save also starts the
// desktop-menu helper and waits for it; neither installer can avoid that.
double TimeLinkCalls()
{
    ResetMachine();
    SettleAfterReset();
    WCHAR szTemp[MAX_PATH];
    ::GetTempPathW(MAX_PATH, szTemp);
    std::wstring strFolder = std::wstring(szTemp) + L"lv-link-calls";
    // A target on the prefix's own drive, as the installers' are.
    std::wstring strTarget = strFolder + L"\\Lumivane.exe";
    ::CreateDirectoryW(strFolder.c_str(), NULL);
    HANDLE hTarget = ::CreateFileW(strTarget.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    if (hTarget == INVALID_HANDLE_VALUE)
        Fail("no scratch folder for the link calls");
    ::CloseHandle(hTarget);
    const wchar_t* szTarget = strTarget.c_str();
    const wchar_t* rgTitles[] = { L"Lumivane (desktop)", L"Lumivane", L"Lumivane Help", L"Uninstall Lumivane" };
    auto linkPath = [&](const wchar_t* pszTitle) { return strFolder + L"\\" + pszTitle + L".lnk"; };
    double tStart = Now();
    for (const wchar_t* pszTitle : rgTitles) {
        CComPtr<IShellLinkW> pLink;
        CComPtr<IPersistFile> pFile;
        if (::CoCreateInstance(CLSID_ShellLink, NULL, CLSCTX_INPROC_SERVER, IID_IShellLinkW, pLink.Receive()) != S_OK)
            Fail("no shell link object");
        pLink->SetPath(szTarget);
        pLink->SetWorkingDirectory(strFolder.c_str());
        pLink->SetIconLocation(szTarget, 0);
        pLink->SetDescription(pszTitle);
        pLink->SetShowCmd(SW_SHOWNORMAL);
        if (pLink->QueryInterface(IID_IPersistFile, pFile.Receive()) != S_OK ||
            pFile->Save(linkPath(pszTitle).c_str(), TRUE) != S_OK)
            Fail("a link could not be saved in the scratch folder");
    }
    double tCalls = Now() - tStart;
    for (const wchar_t* pszTitle : rgTitles)
        ::DeleteFileW(linkPath(pszTitle).c_str());
    ::DeleteFileW(szTarget);
    ::RemoveDirectoryW(strFolder.c_str());
    return tCalls;
}

// The install work of each run: ours from Install's press to the status
// "Installation complete" (the sum of its phases); the peer's, its silent run less the same
// installer's with an empty section, each from a machine without Lumivane.
void PrintComparison(const std::vector<std::vector<double>>& runs, const std::vector<double>& peerFull,
                     const std::vector<double>& peerEmpty, const std::vector<double>& linkCalls,
                     const std::vector<double>& oursStamped, const std::vector<double>& peerStamped)
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
    std::printf("\nby the system, the same for both: the target folder seen made to the last registry write's stamp, ms:\n ");
    for (size_t i = 0; i < runs.size(); ++i)
        std::printf("  %.1f/%.1f", oursStamped[i], peerStamped[i]);
    std::printf("  (InstallLV/peer)\n  medians InstallLV %.1f, peer %.1f\n", Median(oursStamped), Median(peerStamped));
    std::printf("  the four links' shell calls alone: %.2f of the peer's\n", Median(linkCalls) / Median(peerStamped));
    std::printf("time ratio InstallLV / peer, by the stamps: %.2f\n", Median(oursStamped) / Median(peerStamped));
}

}  // namespace

int RunBenchmark(int nRuns, const std::string& strPeer, const std::string& strPeerEmpty)
{
    std::vector<std::vector<double>> runs;
    std::vector<double> peerFull, peerEmpty, linkCalls, oursStamped, peerStamped;
    SetQuiet(true);
    ::CoInitialize(NULL);
    try {
        for (int i = 0; i < nRuns; ++i) {
            runs.push_back(TimeOneInstallation(oursStamped));
            if (!strPeer.empty()) {
                peerFull.push_back(TimeSilentRun(strPeer, &peerStamped));
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
        PrintComparison(runs, peerFull, peerEmpty, linkCalls, oursStamped, peerStamped);
    PrintSelfCheckCost();
    std::fflush(stdout);
    return 0;
}
