#include "welcome_dialog.h"

#include "res/resource.h"

static const COLORREF WELCOME_TEXT_COLOUR = RGB(0, 0, 0);
static const COLORREF WELCOME_BACK_COLOUR = RGB(0, 255, 255);  // cyan, 0x00FFFF00

const MessageMapEntry CWelcomeDialog::s_messageMap[] = {
    { WM_CTLCOLOR, 0, 0, OnMessage<&CWelcomeDialog::OnCtlColor> },
    { 0, 0, 0, NULL },
};

CWelcomeDialog::CWelcomeDialog(CWnd* pParent) : CDialog(IDD_WELCOME, pParent), m_hBrush(NULL) {}

CWelcomeDialog::~CWelcomeDialog()
{
    DeleteBrush();
}

const MessageMapEntry* CWelcomeDialog::GetMessageMap() const { return s_messageMap; }

void CWelcomeDialog::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
}

BOOL CWelcomeDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    // A dialog object opened again keeps one brush, not one per opening.
    DeleteBrush();
    m_hBrush = ::CreateSolidBrush(WELCOME_BACK_COLOUR);
    ::MessageBeep(MB_ICONQUESTION);
    return TRUE;
}

void CWelcomeDialog::DeleteBrush()
{
    if (m_hBrush == NULL)
        return;
    ::DeleteObject(m_hBrush);
    m_hBrush = NULL;
}

HBRUSH CWelcomeDialog::OnCtlColor(HDC hDC, HWND hWndCtl, UINT nCtlColor)
{
    // Run for what it does to the device context; its brush is not wanted.
    CDialog::OnCtlColor(hDC, hWndCtl, nCtlColor);
    ::SetTextColor(hDC, WELCOME_TEXT_COLOUR);
    ::SetBkColor(hDC, WELCOME_BACK_COLOUR);
    return m_hBrush;
}
