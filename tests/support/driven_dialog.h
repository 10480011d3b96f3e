// Running a test's steps inside a modal dialog.
//   CDriven<TDialog>  a dialog whose steps run in its own modal loop, right
//                     after its set-up; a watchdog ends a dialog that is left
//                     waiting, so no test hangs
//   PumpMessages      lets the messages a step has posted be handled
//   Click / PostKey   what a user's click on a button or key press sends
#pragma once

#include <functional>
#include <utility>

#include "framework/framework.h"

const UINT WM_RUN_STEPS = WM_APP + 0x3A0;
const UINT_PTR WATCHDOG_TIMER = 0x7E57;
// What DoModal returns when the watchdog had to end the dialog.
const int WATCHDOG_RESULT = -0x7E57;

// With a dialog given, its keyboard handling runs as in its own modal loop.
void PumpMessages(HWND hDialog = NULL);
void Click(CWnd& dlg, int nID);
// A key pressed in the given window, handled when the modal loop reads it.
void PostKey(HWND hWnd, UINT vk);

template <class TDialog>
class CDriven : public TDialog
{
public:
    typedef std::function<void(CDriven&)> Steps;

    template <class... Args>
    explicit CDriven(Steps fnSteps, Args&&... args) : TDialog(std::forward<Args>(args)...), m_fnSteps(fnSteps)
    {
    }

    using TDialog::Default;
    using TDialog::UpdateData;

protected:
    BOOL OnInitDialog() override
    {
        BOOL bResult = TDialog::OnInitDialog();
        if (this->m_hWnd != NULL && ::IsWindow(this->m_hWnd)) {
            this->PostMessage(WM_RUN_STEPS);
            ::SetTimer(this->m_hWnd, WATCHDOG_TIMER, 10000, NULL);
        }
        return bResult;
    }

    LRESULT WindowProc(UINT nMsg, WPARAM wParam, LPARAM lParam) override
    {
        if (nMsg == WM_RUN_STEPS) {
            if (m_fnSteps)
                m_fnSteps(*this);
            return 0;
        }
        if (nMsg == WM_TIMER && wParam == WATCHDOG_TIMER) {
            ::EndDialog(this->m_hWnd, WATCHDOG_RESULT);
            return 0;
        }
        return TDialog::WindowProc(nMsg, wParam, lParam);
    }

private:
    Steps m_fnSteps;
};
