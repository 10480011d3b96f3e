// The product the installer carries, run as the installer meets it: holding
// its mutex, showing its window, and closing when asked.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <windows.h>

#include "res/resource.h"
#include "tests/support/payload_sources.h"
#include "tests/support/test_support.h"

namespace {

const UINT WM_CLOSE_REQUEST = 0x0501;

std::string BuiltProgram()
{
    std::string strPath = BuiltFile(IDR_PAYLOAD_EXE);
    for (char& c : strPath)
        c = c == '/' ? '\\' : c;
    return strPath;
}

// A started copy of the program, ended by force if a test leaves it running.
class CStartedProgram
{
public:
    explicit CStartedProgram(const std::string& strPath)
    {
        STARTUPINFOA si;
        ::ZeroMemory(&si, sizeof(si));
        si.cb = sizeof(si);
        ::ZeroMemory(&m_pi, sizeof(m_pi));
        m_bStarted = ::CreateProcessA(strPath.c_str(), NULL, NULL, NULL, FALSE, 0, NULL, NULL, &si, &m_pi) != FALSE;
    }
    ~CStartedProgram()
    {
        if (!m_bStarted)
            return;
        if (::WaitForSingleObject(m_pi.hProcess, 0) == WAIT_TIMEOUT)
            ::TerminateProcess(m_pi.hProcess, 99);
        ::CloseHandle(m_pi.hThread);
        ::CloseHandle(m_pi.hProcess);
    }

    bool Ends(DWORD dwMilliseconds) const { return ::WaitForSingleObject(m_pi.hProcess, dwMilliseconds) == WAIT_OBJECT_0; }
    DWORD ExitCode() const
    {
        DWORD dwCode = 0;
        ::GetExitCodeProcess(m_pi.hProcess, &dwCode);
        return dwCode;
    }

    // Its top-level window of the title, waited for up to ten seconds.
    HWND WaitForWindow(const char* pszTitle) const
    {
        for (int nTry = 0; nTry < 200; ++nTry) {
            HWND hWnd = ::FindWindowA(NULL, pszTitle);
            DWORD dwProcess = 0;
            if (hWnd != NULL && ::GetWindowThreadProcessId(hWnd, &dwProcess) && dwProcess == m_pi.dwProcessId &&
                ::IsWindowVisible(hWnd))
                return hWnd;
            ::Sleep(50);
        }
        return NULL;
    }

    bool m_bStarted;

private:
    PROCESS_INFORMATION m_pi;

    CStartedProgram(const CStartedProgram&);
    CStartedProgram& operator=(const CStartedProgram&);
};

std::vector<std::string> ChildTexts(HWND hWnd)
{
    std::vector<std::string> texts;
    for (HWND hChild = ::GetWindow(hWnd, GW_CHILD); hChild != NULL; hChild = ::GetWindow(hChild, GW_HWNDNEXT)) {
        char sz[MAX_PATH] = "";
        ::SendMessageA(hChild, WM_GETTEXT, sizeof(sz), reinterpret_cast<LPARAM>(sz));
        texts.push_back(sz);
    }
    return texts;
}

bool ShowsText(const std::vector<std::string>& texts, const std::string& strWanted)
{
    for (const std::string& strText : texts) {
        if (lstrcmpiA(strText.c_str(), strWanted.c_str()) == 0)
            return true;
    }
    return false;
}

}  // namespace

TEST(LumivaneTest, HoldsItsMutexWhileItRunsAndClosesWhenAsked)
{
    ASSERT_FALSE(ProductMutexExists()) << "nothing else may hold it during the test";
    std::string strProgram = BuiltProgram();
    CStartedProgram product(strProgram);
    ASSERT_TRUE(product.m_bStarted) << strProgram;
    HWND hWnd = product.WaitForWindow("Lumivane");
    ASSERT_TRUE(hWnd != NULL) << "no visible window titled \"Lumivane\"";
    EXPECT_TRUE(ProductMutexExists());

    std::vector<std::string> texts = ChildTexts(hWnd);
    EXPECT_TRUE(ShowsText(texts, "Lumivane 1.10"));
    EXPECT_TRUE(ShowsText(texts, strProgram.substr(0, strProgram.rfind('\\')))) << "the folder it runs from";

    // One copy at a time: a second start leaves the first to run on.
    CStartedProgram second(strProgram);
    ASSERT_TRUE(second.m_bStarted);
    EXPECT_TRUE(second.Ends(10000));
    EXPECT_EQ(0u, second.ExitCode());
    EXPECT_FALSE(product.Ends(0));
    EXPECT_TRUE(ProductMutexExists());

    ASSERT_TRUE(::PostMessageA(hWnd, WM_CLOSE_REQUEST, 0, 0));
    ASSERT_TRUE(product.Ends(10000)) << "still running after the close request";
    EXPECT_EQ(0u, product.ExitCode());
    EXPECT_FALSE(ProductMutexExists());
}
