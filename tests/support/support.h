// What the installer's tests share.
//   CDriven / RunDialog   a dialog whose test steps run in its own modal loop,
//                         right after its set-up; a watchdog ends a dialog
//                         left waiting, so no test hangs
//   Click                 what a user's click on a button sends
//   Files and folders     PathExists, NamesIn, RemoveTree, WriteText, ReadText
//   The registry          KeyExists, RemoveProductEntries
//   The product's places  ProductGroup, DesktopLink
//   ShowsBoxes / Box      the message boxes a process wrote before it ended
//   CTopLevelWindow       a plain top-level window with a given title
//   TwoByteCharacters     characters this process's code page spells in two
//                         bytes, those with a backslash's or a bar's second byte first
#pragma once

#include <gmock/gmock.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "framework/framework.h"
#include "tests/seam/seam.h"

const char PRODUCT_KEY[] = "SOFTWARE\\Orvel Software\\Lumivane";
const char APP_PATH_KEY[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\Lumivane.exe";
const char UNINSTALL_KEY[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Lumivane";

const UINT WM_RUN_STEPS = WM_APP + 0x3A0;
const UINT_PTR WATCHDOG_TIMER = 0x7E57;

template <class TDialog>
class CDriven : public TDialog
{
public:
    explicit CDriven(std::function<void(CDriven&)> fnSteps) : m_fnSteps(std::move(fnSteps)) {}

protected:
    BOOL OnInitDialog() override
    {
        BOOL bResult = TDialog::OnInitDialog();
        this->PostMessage(WM_RUN_STEPS);
        ::SetTimer(this->m_hWnd, WATCHDOG_TIMER, 10000, NULL);
        return bResult;
    }

    LRESULT WindowProc(UINT nMsg, WPARAM wParam, LPARAM lParam) override
    {
        if (nMsg == WM_RUN_STEPS) {
            m_fnSteps(*this);
            return 0;
        }
        if (nMsg == WM_TIMER && wParam == WATCHDOG_TIMER) {
            ADD_FAILURE() << "the dialog was left waiting";
            ::EndDialog(this->m_hWnd, -1);
            return 0;
        }
        return TDialog::WindowProc(nMsg, wParam, lParam);
    }

private:
    std::function<void(CDriven&)> m_fnSteps;
};

void Click(CWnd& dlg, int nID);

bool PathExists(const std::string& strPath);
// The sorted names in a folder; "<none>" when it is missing.
std::vector<std::string> NamesIn(const std::string& strFolder);
void RemoveTree(const std::string& strPath);
bool WriteText(const std::string& strPath, const std::string& strText);
std::string ReadText(const std::string& strPath);

bool KeyExists(const std::string& strKey);
void RemoveProductEntries();

std::string ProductGroup();
std::string DesktopLink();

std::string Box(const std::string& strText, const std::string& strCaption, UINT uType);
::testing::Matcher<const std::string&> ShowsBoxes(const std::vector<std::string>& expected);

class CTopLevelWindow
{
public:
    explicit CTopLevelWindow(const char* pszTitle);
    ~CTopLevelWindow();
    CTopLevelWindow(const CTopLevelWindow&) = delete;
    CTopLevelWindow& operator=(const CTopLevelWindow&) = delete;
    HWND m_hWnd;
};

// Among them one with a second byte 0x5C in 932, 936 and 950 (949 has none);
// a plain "x" in a code page without two-byte characters. Fails the test when
// LV_CODE_PAGE names another code page than the process's (a locale that was
// not generated gives 1252).
std::vector<std::string> TwoByteCharacters();
