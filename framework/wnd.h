// Window objects.
//   CWnd           a C++ object attached to one window: thin wrappers of the
//                  window calls, message-map dispatch, default processing,
//                  data exchange
//   CDataExchange  the direction and the window of one data exchange
#pragma once

#include <windows.h>

#include "msgmap.h"

class CWnd;

class CDataExchange
{
public:
    CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate)
        : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd) {}

    BOOL m_bSaveAndValidate;  // TRUE: controls to members; FALSE: members to controls
    CWnd* m_pDlgWnd;
};

class CWnd
{
public:
    CWnd();
    virtual ~CWnd();

    HWND m_hWnd;

    HWND GetSafeHwnd() const { return m_hWnd; }
    static CWnd* FromHandlePermanent(HWND hWnd);

    BOOL SetWindowText(LPCSTR lpszString);
    BOOL SetDlgItemText(int nID, LPCSTR lpszString);
    HWND GetDlgItem(int nID) const;
    LRESULT SendMessage(UINT nMsg, WPARAM wParam = 0, LPARAM lParam = 0);
    BOOL PostMessage(UINT nMsg, WPARAM wParam = 0, LPARAM lParam = 0);
    BOOL ShowWindow(int nCmdShow);
    BOOL IsIconic() const;
    BOOL MoveWindow(int x, int y, int nWidth, int nHeight, BOOL bRepaint = TRUE);
    HMENU GetSystemMenu(BOOL bRevert) const;
    // A message box owned by this window.
    int MessageBox(LPCSTR lpszText, LPCSTR lpszCaption, UINT nType);
    virtual BOOL DestroyWindow();

    // Runs DoDataExchange. Control notifications are held back meanwhile, so
    // that filling a control does not call back into a half-done exchange.
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);

protected:
    virtual void DoDataExchange(CDataExchange* pDX);
    virtual const MessageMapEntry* GetMessageMap() const;
    virtual LRESULT WindowProc(UINT nMsg, WPARAM wParam, LPARAM lParam);
    // Commands that no map row handles; TRUE when handled.
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    virtual void PostNcDestroy();

    // The processing the window would get without this object, for the
    // message being handled now.
    LRESULT Default();

    // Base handling that derived handlers run first or fall back to.
    HBRUSH OnCtlColor(HDC hDC, HWND hWndCtl, UINT nCtlColor);
    void OnDestroy();
    void OnSysCommand(UINT nID, LPARAM lParam);
    void OnPaint();

    // Routes the window's messages through this object from now on.
    void SubclassWindow(HWND hWnd);

private:
    CWnd(const CWnd&);
    CWnd& operator=(const CWnd&);

    struct CurrentMessage
    {
        UINT nMsg;
        WPARAM wParam;
        LPARAM lParam;
    };

    static LRESULT CALLBACK StdWndProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);
    LRESULT Dispatch(UINT nMsg, WPARAM wParam, LPARAM lParam);
    void Detach();

    WNDPROC m_pfnSuper;
    CurrentMessage m_msgCur;
    BOOL m_bLockNotify;
};
