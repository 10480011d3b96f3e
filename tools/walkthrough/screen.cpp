#include "screen.h"

#include "process.h"

#include <cstdio>
#include <vector>

#include "report.h"

static const char DIALOG_CLASS[] = "#32770";
static std::string s_strScreenshotFolder;

namespace {

struct SWindowQuery {
    const char* pszClass;
    const char* pszCaption;
    DWORD nProcessId;
    HWND hFound;
};

std::string ClassOf(HWND hWnd)
{
    char szClass[64] = "";
    ::GetClassNameA(hWnd, szClass, sizeof(szClass));
    return szClass;
}

// A top-level window's caption is kept by the system, so this needs no answer
// from the window's own thread, which may be busy.
std::string CaptionOf(HWND hWnd)
{
    char szCaption[256] = "";
    ::GetWindowTextA(hWnd, szCaption, sizeof(szCaption));
    return szCaption;
}

DWORD ProcessOf(HWND hWnd)
{
    DWORD nProcessId = 0;
    ::GetWindowThreadProcessId(hWnd, &nProcessId);
    return nProcessId;
}

BOOL CALLBACK MatchWindow(HWND hWnd, LPARAM lParam)
{
    SWindowQuery* pQuery = reinterpret_cast<SWindowQuery*>(lParam);
    if (!::IsWindowVisible(hWnd) || (pQuery->nProcessId != 0 && ProcessOf(hWnd) != pQuery->nProcessId))
        return TRUE;
    if ((pQuery->pszClass != NULL && ClassOf(hWnd) != pQuery->pszClass) ||
        (pQuery->pszCaption != NULL && CaptionOf(hWnd) != pQuery->pszCaption))
        return TRUE;
    pQuery->hFound = hWnd;
    return FALSE;
}

BOOL CALLBACK ListWindow(HWND hWnd, LPARAM lParam)
{
    if (::IsWindowVisible(hWnd))
        *reinterpret_cast<std::string*>(lParam) += "\n    " + ClassOf(hWnd) + " " + ToText(CaptionOf(hWnd)) +
                                                   " of process " + std::to_string(ProcessOf(hWnd));
    return TRUE;
}

std::string VisibleWindows()
{
    std::string strList;
    ::EnumWindows(ListWindow, reinterpret_cast<LPARAM>(&strList));
    return strList.empty() ? " none" : strList;
}

// Where two texts part, for an account of a long one.
std::string FirstDifference(const std::string& strSeen, const std::string& strExpected)
{
    size_t n = 0;
    while (n < strSeen.size() && n < strExpected.size() && strSeen[n] == strExpected[n])
        ++n;
    return "they differ from character " + std::to_string(n) + " on: seen " +
           ToText(strSeen.substr(n, 40)) + ", expected " + ToText(strExpected.substr(n, 40)) + "; lengths " +
           std::to_string(strSeen.size()) + " and " + std::to_string(strExpected.size());
}

}  // namespace

HWND FindVisibleWindow(const char* pszClass, const char* pszCaption, DWORD nProcessId)
{
    SWindowQuery query = { pszClass, pszCaption, nProcessId, NULL };
    ::EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&query));
    return query.hFound;
}

CScreen ExpectWindow(const char* pszClass, const std::string& strCaption, DWORD nProcessId)
{
    HWND hWnd = NULL;
    if (!WaitFor([&] { return (hWnd = FindVisibleWindow(pszClass, strCaption.c_str(), nProcessId)) != NULL; }))
        Fail("no window " + ToText(strCaption) + " appeared within " + std::to_string(DEFAULT_WAIT_MS / 1000) +
             " s; the visible windows are:" + VisibleWindows());
    Note("window %s", ToText(strCaption).c_str());
    return CScreen(hWnd, strCaption);
}

CScreen Expect(const std::string& strCaption, DWORD nProcessId)
{
    return ExpectWindow(DIALOG_CLASS, strCaption, nProcessId);
}

std::string WindowText(HWND hWnd)
{
    const UINT TIMEOUT_MS = 5000;
    DWORD_PTR nLength = 0;
    if (!::SendMessageTimeoutA(hWnd, WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL, TIMEOUT_MS, &nLength))
        Fail("a " + ClassOf(hWnd) + " window did not answer WM_GETTEXTLENGTH within 5 s");
    std::vector<char> text(nLength + 1, '\0');
    DWORD_PTR nCopied = 0;
    if (!::SendMessageTimeoutA(hWnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), SMTO_NORMAL,
                               TIMEOUT_MS, &nCopied))
        Fail("a " + ClassOf(hWnd) + " window did not answer WM_GETTEXT within 5 s");
    return std::string(text.data(), nCopied < text.size() ? nCopied : 0);
}

void SetScreenshotFolder(const std::string& strFolder)
{
    s_strScreenshotFolder = strFolder;
}

void CScreen::FailHere(const std::string& strWhat) const
{
    Fail("window " + ToText(m_strCaption) + ": " + strWhat + "\n  its controls:" + Describe());
}

std::string CScreen::Describe() const
{
    if (!::IsWindow(m_hWnd))
        return " (the window is gone)";
    std::string strList;
    for (HWND hChild = ::GetWindow(m_hWnd, GW_CHILD); hChild != NULL; hChild = ::GetWindow(hChild, GW_HWNDNEXT))
        strList += "\n    " + std::to_string(::GetDlgCtrlID(hChild)) + " " + ClassOf(hChild) + " " +
                   ToText(WindowText(hChild)) + (::IsWindowVisible(hChild) ? "" : " (hidden)");
    return strList.empty() ? " none" : strList;
}

// Template ids are 16 bits wide; the system may give the 0xFFFF of a static
// without an id back as -1.
HWND CScreen::Control(int nId) const
{
    for (HWND hChild = ::GetWindow(m_hWnd, GW_CHILD); hChild != NULL; hChild = ::GetWindow(hChild, GW_HWNDNEXT)) {
        if ((::GetDlgCtrlID(hChild) & 0xFFFF) == (nId & 0xFFFF))
            return hChild;
    }
    FailHere("it has no control " + std::to_string(nId));
}

std::string CScreen::ControlText(int nId) const
{
    return WindowText(Control(nId));
}

CScreen& CScreen::Text(int nId, const std::string& strExpected)
{
    std::string strSeen = ControlText(nId);
    if (strSeen != strExpected) {
        std::string strWhat = "control " + std::to_string(nId) + " shows " + ToText(strSeen) + ", expected " +
                              ToText(strExpected);
        if (strExpected.size() > 200)
            strWhat = "control " + std::to_string(nId) + " shows another text: " +
                      FirstDifference(strSeen, strExpected);
        FailHere(strWhat);
    }
    return *this;
}

// BM_CLICK is what a mouse click on the button makes. It is posted: the
// handler behind it may open boxes that wait for this driver.
CScreen& CScreen::Click(int nId)
{
    HWND hButton = Control(nId);
    if (!::IsWindowEnabled(hButton) || !::IsWindowVisible(hButton))
        FailHere("button " + std::to_string(nId) + " cannot be pressed: it is disabled or hidden");
    Note("  press %s", ToText(WindowText(hButton)).c_str());
    ::PostMessageA(hButton, BM_CLICK, 0, 0);
    return *this;
}

CScreen& CScreen::Press(int nId)
{
    Click(nId);
    if (!WaitFor([this] { return !IsVisible(); }))
        FailHere("still open " + std::to_string(DEFAULT_WAIT_MS / 1000) + " s after button " +
                 std::to_string(nId) + " was pressed");
    return *this;
}

CScreen& CScreen::Type(int nId, const std::string& strText)
{
    HWND hEdit = Control(nId);
    Note("  type %s", ToText(strText).c_str());
    ::PostMessageA(hEdit, EM_SETSEL, 0, -1);
    // A character at a time, as the keyboard or an input method gives them.
    for (wchar_t ch : WideText(strText))
        ::PostMessageW(hEdit, WM_CHAR, ch, 1);
    if (!WaitFor([&] { return WindowText(hEdit) == strText; }))
        FailHere("control " + std::to_string(nId) + " shows " + ToText(WindowText(hEdit)) + " after typing " +
                 ToText(strText));
    return *this;
}

// The run's wrapper script takes the picture when it reads the marker, and
// puts it in place under its final name when it is complete.
CScreen& CScreen::Shot(const char* pszName)
{
    if (s_strScreenshotFolder.empty())
        return *this;
    ::Sleep(300);  // let the windows just shown paint themselves
    std::string strFile = s_strScreenshotFolder + "\\" + pszName + ".png";
    ::DeleteFileA(strFile.c_str());
    std::printf("@@screenshot %s\n", pszName);
    std::fflush(stdout);
    if (!WaitFor([&] { return ::GetFileAttributesA(strFile.c_str()) != INVALID_FILE_ATTRIBUTES; }))
        Fail("no screenshot " + strFile + " was taken");
    return *this;
}
