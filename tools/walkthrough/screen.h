// The windows a walk waits for and works in, as a user sees them.
//   Expect         waits (bounded) for a visible dialog or message box with
//                  the caption, of the given process or of any
//   ExpectWindow   the same for a window of any class
//   CScreen        one such window:
//     Text         a control shows exactly this text
//     Press        a button that closes the window; waits until it has gone
//     Click        a button that leaves the window open
//     Type         replaces an edit control's text, key by key
//     Shot         a picture of the whole screen, when the run takes them
//   ID_TEXT        a message box's text, and a dialog's static without an id
//   SetScreenshotFolder  where Shot's pictures go (none: Shot does nothing)
#pragma once

#include <windows.h>

#include <string>

const int ID_TEXT = 0xFFFF;

class CScreen
{
public:
    CScreen(HWND hWnd, const std::string& strCaption) : m_hWnd(hWnd), m_strCaption(strCaption) {}

    HWND Handle() const { return m_hWnd; }
    bool IsVisible() const { return ::IsWindow(m_hWnd) && ::IsWindowVisible(m_hWnd); }

    std::string ControlText(int nId) const;
    CScreen& Text(int nId, const std::string& strExpected);
    CScreen& Press(int nId);
    CScreen& Click(int nId);
    CScreen& Type(int nId, const std::string& strText);
    CScreen& Shot(const char* pszName);
    // Every control with its id, class and text, for an account.
    std::string Describe() const;

private:
    HWND Control(int nId) const;
    [[noreturn]] void FailHere(const std::string& strWhat) const;

    HWND m_hWnd;
    std::string m_strCaption;
};

// nProcessId 0: a window of any process.
CScreen Expect(const std::string& strCaption, DWORD nProcessId = 0);
CScreen ExpectWindow(const char* pszClass, const std::string& strCaption, DWORD nProcessId = 0);
// A visible top-level window with that class and caption, or NULL; a NULL
// class or caption matches any.
HWND FindVisibleWindow(const char* pszClass, const char* pszCaption, DWORD nProcessId = 0);
// The text of any window, by WM_GETTEXT; fails when the window does not answer.
std::string WindowText(HWND hWnd);

void SetScreenshotFolder(const std::string& strFolder);
