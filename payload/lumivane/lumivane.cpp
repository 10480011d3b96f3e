// Lumivane 1.10: the program InstallLV installs. A small window titled
// "Lumivane" that shows the name and version and the folder it runs from.
// While it runs it holds the mutex "Orvel_LV_Mutex", by which an installer
// knows that it is running, and it closes itself when asked with 0x0501.
#include <windows.h>

#include "lumivane_resource.h"

namespace {

const char WINDOW_CLASS[] = "OrvelLumivane";
const char WINDOW_TITLE[] = "Lumivane";
const char PRODUCT_MUTEX[] = "Orvel_LV_Mutex";
// What an installer posts, both parameters 0, to have a running copy close.
const UINT WM_CLOSE_REQUEST = WM_USER + 0x101;

const int IDC_NAME = 100;
const int IDC_FOLDER = 101;

// The folder of the running program, as "X:\dir", or "X:\" for a drive root.
void GetProgramFolder(char* pszFolder, DWORD nSize)
{
    DWORD nLength = ::GetModuleFileNameA(NULL, pszFolder, nSize);
    if (nLength == 0 || nLength >= nSize) {
        pszFolder[0] = '\0';
        return;
    }
    // By character: in the East Asian code pages a second byte may be 0x5C.
    char* pszSlash = NULL;
    for (char* psz = pszFolder; *psz != '\0'; psz = ::CharNextA(psz)) {
        if (*psz == '\\')
            pszSlash = psz;
    }
    if (pszSlash != NULL)
        pszSlash[pszSlash - pszFolder == 2 ? 1 : 0] = '\0';
}

void AddLabel(HWND hParent, int nId, LPCSTR lpszText, int y)
{
    HWND hLabel = ::CreateWindowA("STATIC", lpszText, WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX | SS_PATHELLIPSIS,
                                  16, y, 300, 18, hParent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(nId)),
                                  ::GetModuleHandleA(NULL), NULL);
    ::SendMessageA(hLabel, WM_SETFONT, reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT)), FALSE);
}

// The name and version, and under it the folder the program runs from.
void AddLabels(HWND hWnd)
{
    char szFolder[MAX_PATH];
    GetProgramFolder(szFolder, MAX_PATH);
    AddLabel(hWnd, IDC_NAME, "Lumivane 1.10", 14);
    AddLabel(hWnd, IDC_FOLDER, szFolder, 38);
}

LRESULT CALLBACK MainWindowProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    switch (nMsg) {
    case WM_CREATE:
        AddLabels(hWnd);
        return 0;
    case WM_CLOSE_REQUEST:
        ::DestroyWindow(hWnd);
        return 0;
    case WM_DESTROY:
        ::PostQuitMessage(0);
        return 0;
    }
    return ::DefWindowProcA(hWnd, nMsg, wParam, lParam);
}

HWND CreateMainWindow(HINSTANCE hInstance)
{
    WNDCLASSA wc;
    ::ZeroMemory(&wc, sizeof(wc));
    wc.lpfnWndProc = MainWindowProc;
    wc.hInstance = hInstance;
    wc.hIcon = ::LoadIconA(hInstance, MAKEINTRESOURCEA(IDI_LUMIVANE));
    wc.hCursor = ::LoadCursorA(NULL, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = WINDOW_CLASS;
    if (!::RegisterClassA(&wc))
        return NULL;
    RECT rect = { 0, 0, 332, 72 };
    DWORD dwStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    ::AdjustWindowRect(&rect, dwStyle, FALSE);
    return ::CreateWindowA(WINDOW_CLASS, WINDOW_TITLE, dwStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                           rect.right - rect.left, rect.bottom - rect.top, NULL, NULL, hInstance, NULL);
}

int RunMessageLoop()
{
    MSG msg;
    while (::GetMessageA(&msg, NULL, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    return static_cast<int>(msg.wParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int nShowCmd)
{
    HANDLE hMutex = ::CreateMutexA(NULL, TRUE, PRODUCT_MUTEX);
    if (hMutex != NULL && ::GetLastError() == ERROR_ALREADY_EXISTS) {
        // One copy at a time: the running one comes to the front instead.
        HWND hRunning = ::FindWindowA(WINDOW_CLASS, WINDOW_TITLE);
        if (hRunning != NULL)
            ::SetForegroundWindow(hRunning);
        ::CloseHandle(hMutex);
        return 0;
    }
    int nExitCode = 1;
    HWND hWnd = CreateMainWindow(hInstance);
    if (hWnd != NULL) {
        ::ShowWindow(hWnd, nShowCmd);
        nExitCode = RunMessageLoop();
    }
    if (hMutex != NULL) {
        ::ReleaseMutex(hMutex);
        ::CloseHandle(hMutex);
    }
    return nExitCode;
}

// The program's entry point. It calls nothing of the C run-time library, so it
// starts without it: the library's start-up would be most of the file. The
// show command is taken from the system as that start-up does; WinMain reads
// no command line.
extern "C" void LumivaneEntry(void)
{
    STARTUPINFOA startupInfo;
    ::GetStartupInfoA(&startupInfo);
    int nShowCmd = (startupInfo.dwFlags & STARTF_USESHOWWINDOW) != 0 ? startupInfo.wShowWindow : SW_SHOWDEFAULT;
    ::ExitProcess(static_cast<UINT>(WinMain(::GetModuleHandleA(NULL), NULL, NULL, nShowCmd)));
}
