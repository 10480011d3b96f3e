#include "test_support.h"

std::vector<std::string> BoxLines(const std::string& strOutput)
{
    std::vector<std::string> lines;
    size_t nStart = 0;
    while (nStart < strOutput.size()) {
        size_t nEnd = strOutput.find('\n', nStart);
        if (nEnd == std::string::npos)
            nEnd = strOutput.size();
        std::string strLine = strOutput.substr(nStart, nEnd - nStart);
        if (!strLine.empty() && strLine[strLine.size() - 1] == '\r')
            strLine.erase(strLine.size() - 1);
        if (strLine.compare(0, 5, "[box]") == 0)
            lines.push_back(strLine);
        nStart = nEnd + 1;
    }
    return lines;
}

::testing::Matcher<const std::string&> ShowsBoxes(const std::vector<std::string>& expected)
{
    return ::testing::ResultOf("the message boxes shown", BoxLines, ::testing::ContainerEq(expected));
}

std::string WindowText(HWND hWnd)
{
    char sz[1024] = "";
    ::GetWindowTextA(hWnd, sz, sizeof(sz));
    return sz;
}

bool ProductMutexExists()
{
    HANDLE hMutex = ::OpenMutexA(SYNCHRONIZE, FALSE, "Orvel_LV_Mutex");
    if (hMutex == NULL)
        return false;
    ::CloseHandle(hMutex);
    return true;
}

static const char s_szTestWindowClass[] = "InstallLVTestWindow";

CTopLevelWindow::CTopLevelWindow(const char* pszTitle)
{
    WNDCLASSA wc;
    ::ZeroMemory(&wc, sizeof(wc));
    wc.lpfnWndProc = ::DefWindowProcA;
    wc.hInstance = ::GetModuleHandleA(NULL);
    wc.lpszClassName = s_szTestWindowClass;
    ::RegisterClassA(&wc);  // fails harmlessly once registered
    m_hWnd = ::CreateWindowA(s_szTestWindowClass, pszTitle, WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, NULL, NULL,
                             ::GetModuleHandleA(NULL), NULL);
}

CTopLevelWindow::~CTopLevelWindow()
{
    ::DestroyWindow(m_hWnd);
}
