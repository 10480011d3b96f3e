#include "dialog.h"

#include "winapp.h"

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd) : m_nIDTemplate(nIDTemplate), m_pParentWnd(pParentWnd) {}

HWND CDialog::GetModalOwner() const
{
    if (m_pParentWnd != NULL)
        return m_pParentWnd->GetSafeHwnd();
    // The main window stands on its own; any other dialog stays above the
    // window that is active when it starts.
    const CWinApp* pApp = AfxGetApp();
    if (pApp != NULL && pApp->m_pMainWnd == this)
        return NULL;
    return ::GetActiveWindow();
}

INT_PTR CDialog::DoModal()
{
    return ::DialogBoxParamA(AfxGetResourceHandle(), MAKEINTRESOURCEA(m_nIDTemplate), GetModalOwner(),
                             &CDialog::DialogProc, reinterpret_cast<LPARAM>(this));
}

BOOL CDialog::Create(UINT nIDTemplate, CWnd* pParentWnd)
{
    m_nIDTemplate = nIDTemplate;
    m_pParentWnd = pParentWnd;
    HWND hParent = pParentWnd != NULL ? pParentWnd->GetSafeHwnd() : NULL;
    HWND hWnd = ::CreateDialogParamA(AfxGetResourceHandle(), MAKEINTRESOURCEA(nIDTemplate), hParent,
                                     &CDialog::DialogProc, reinterpret_cast<LPARAM>(this));
    return hWnd != NULL;
}

void CDialog::EndDialog(int nResult)
{
    ::EndDialog(m_hWnd, nResult);
}

BOOL CDialog::OnInitDialog()
{
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK()
{
    if (UpdateData(TRUE))
        EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

BOOL CDialog::OnCommand(WPARAM wParam, LPARAM)
{
    if (HIWORD(wParam) != BN_CLICKED)
        return FALSE;
    switch (LOWORD(wParam)) {
    case IDOK:
        OnOK();
        return TRUE;
    case IDCANCEL:
        OnCancel();
        return TRUE;
    default:
        return FALSE;
    }
}

// The dialog manager's procedure sees only WM_INITDIALOG: from then on the
// window runs through the object's message map, and the dialog manager's own
// handling is what Default() reaches.
INT_PTR CALLBACK CDialog::DialogProc(HWND hWnd, UINT nMsg, WPARAM, LPARAM lParam)
{
    if (nMsg != WM_INITDIALOG)
        return FALSE;
    CDialog* pDlg = reinterpret_cast<CDialog*>(lParam);
    pDlg->SubclassWindow(hWnd);
    RECT rcTemplate;
    ::GetWindowRect(hWnd, &rcTemplate);
    BOOL bResult = pDlg->OnInitDialog();
    if (::IsWindow(hWnd))
        pDlg->CenterUnlessPlaced(rcTemplate);
    return bResult;
}

// A dialog opens centred over its owner, or on the screen when it has none,
// rather than at the corner its template names; one whose set-up placed or
// sized it keeps that.
void CDialog::CenterUnlessPlaced(const RECT& rcTemplate)
{
    RECT rc;
    ::GetWindowRect(m_hWnd, &rc);
    if (!::EqualRect(&rc, &rcTemplate) || (::GetWindowLongPtrA(m_hWnd, GWL_STYLE) & WS_CHILD))
        return;
    RECT rcWork, rcAround;
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &rcWork, 0);
    rcAround = rcWork;
    HWND hOwner = ::GetWindow(m_hWnd, GW_OWNER);
    if (hOwner != NULL && ::IsWindowVisible(hOwner) && !::IsIconic(hOwner))
        ::GetWindowRect(hOwner, &rcAround);
    int nWidth = rc.right - rc.left;
    int nHeight = rc.bottom - rc.top;
    int x = (rcAround.left + rcAround.right - nWidth) / 2;
    int y = (rcAround.top + rcAround.bottom - nHeight) / 2;
    // Wholly on the screen where it fits.
    x = x + nWidth > rcWork.right ? rcWork.right - nWidth : x;
    y = y + nHeight > rcWork.bottom ? rcWork.bottom - nHeight : y;
    x = x < rcWork.left ? rcWork.left : x;
    y = y < rcWork.top ? rcWork.top : y;
    ::SetWindowPos(m_hWnd, NULL, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
