#include "wnd.h"

// The window property that leads from a window back to its CWnd.
static const char s_szWndProp[] = "InstallLV.CWnd";

CWnd::CWnd() : m_hWnd(NULL), m_pfnSuper(NULL), m_bLockNotify(FALSE)
{
    m_msgCur.nMsg = 0;
    m_msgCur.wParam = 0;
    m_msgCur.lParam = 0;
}

CWnd::~CWnd()
{
    if (m_hWnd != NULL)
        ::DestroyWindow(m_hWnd);
}

CWnd* CWnd::FromHandlePermanent(HWND hWnd)
{
    return static_cast<CWnd*>(::GetPropA(hWnd, s_szWndProp));
}

BOOL CWnd::SetWindowText(LPCSTR lpszString) { return ::SetWindowTextA(m_hWnd, lpszString); }
BOOL CWnd::SetDlgItemText(int nID, LPCSTR lpszString) { return ::SetDlgItemTextA(m_hWnd, nID, lpszString); }
HWND CWnd::GetDlgItem(int nID) const { return ::GetDlgItem(m_hWnd, nID); }
LRESULT CWnd::SendMessage(UINT nMsg, WPARAM wParam, LPARAM lParam) { return ::SendMessageA(m_hWnd, nMsg, wParam, lParam); }
BOOL CWnd::PostMessage(UINT nMsg, WPARAM wParam, LPARAM lParam) { return ::PostMessageA(m_hWnd, nMsg, wParam, lParam); }
BOOL CWnd::ShowWindow(int nCmdShow) { return ::ShowWindow(m_hWnd, nCmdShow); }
BOOL CWnd::IsIconic() const { return ::IsIconic(m_hWnd); }
HMENU CWnd::GetSystemMenu(BOOL bRevert) const { return ::GetSystemMenu(m_hWnd, bRevert); }

BOOL CWnd::MoveWindow(int x, int y, int nWidth, int nHeight, BOOL bRepaint)
{
    return ::MoveWindow(m_hWnd, x, y, nWidth, nHeight, bRepaint);
}

int CWnd::MessageBox(LPCSTR lpszText, LPCSTR lpszCaption, UINT nType)
{
    return ::MessageBoxA(m_hWnd, lpszText, lpszCaption, nType);
}

BOOL CWnd::DestroyWindow()
{
    return m_hWnd != NULL && ::DestroyWindow(m_hWnd);
}

BOOL CWnd::UpdateData(BOOL bSaveAndValidate)
{
    CDataExchange dx(this, bSaveAndValidate);
    BOOL bWasLocked = m_bLockNotify;
    m_bLockNotify = TRUE;
    DoDataExchange(&dx);
    m_bLockNotify = bWasLocked;
    return TRUE;
}

void CWnd::DoDataExchange(CDataExchange*) {}
const MessageMapEntry* CWnd::GetMessageMap() const { return NULL; }
BOOL CWnd::OnCommand(WPARAM, LPARAM) { return FALSE; }
void CWnd::PostNcDestroy() {}

LRESULT CWnd::Default()
{
    return ::CallWindowProcA(m_pfnSuper, m_hWnd, m_msgCur.nMsg, m_msgCur.wParam, m_msgCur.lParam);
}

HBRUSH CWnd::OnCtlColor(HDC, HWND, UINT) { return reinterpret_cast<HBRUSH>(Default()); }
void CWnd::OnDestroy() { Default(); }
void CWnd::OnSysCommand(UINT, LPARAM) { Default(); }
void CWnd::OnPaint() { Default(); }

LRESULT CWnd::WindowProc(UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    // A notification from a control (lParam names it) while UpdateData runs.
    if (nMsg == WM_COMMAND && m_bLockNotify && lParam != 0)
        return 0;
    const MessageMapEntry* pEntry = FindMessageMapEntry(GetMessageMap(), nMsg, wParam);
    if (pEntry != NULL)
        return pEntry->pfnHandler(this, nMsg, wParam, lParam);
    if (nMsg == WM_COMMAND && OnCommand(wParam, lParam))
        return 0;
    return Default();
}

void CWnd::SubclassWindow(HWND hWnd)
{
    m_hWnd = hWnd;
    ::SetPropA(hWnd, s_szWndProp, this);
    m_pfnSuper = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CWnd::StdWndProc)));
}

void CWnd::Detach()
{
    ::SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
    ::RemovePropA(m_hWnd, s_szWndProp);
    m_hWnd = NULL;
}

LRESULT CWnd::Dispatch(UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    // Saved and restored because handlers send messages that come back here.
    CurrentMessage msgOuter = m_msgCur;
    m_msgCur.nMsg = nMsg;
    m_msgCur.wParam = wParam;
    m_msgCur.lParam = lParam;
    LRESULT lResult = WindowProc(nMsg, wParam, lParam);
    m_msgCur = msgOuter;
    return lResult;
}

LRESULT CALLBACK CWnd::StdWndProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    CWnd* pWnd = FromHandlePermanent(hWnd);
    if (pWnd == NULL)
        return ::DefWindowProcA(hWnd, nMsg, wParam, lParam);
    if (nMsg != WM_NCDESTROY)
        return pWnd->Dispatch(nMsg, wParam, lParam);

    LRESULT lResult = pWnd->Dispatch(nMsg, wParam, lParam);
    pWnd->Detach();
    pWnd->PostNcDestroy();
    return lResult;
}
