#include "backdrop_dialog.h"

#include "res/resource.h"

static const COLORREF BACKDROP_TEXT_COLOUR = RGB(255, 255, 255);
static const COLORREF BACKDROP_BACK_COLOUR = RGB(0, 0, 136);  // dark blue, 0x00880000

const MessageMapEntry CBackdropDialog::s_messageMap[] = {
    { WM_CTLCOLOR, 0, 0, OnMessage<&CBackdropDialog::OnCtlColor> },
    { WM_DESTROY,  0, 0, OnMessage<&CBackdropDialog::OnDestroy> },
    { 0, 0, 0, NULL },
};

CBackdropDialog::CBackdropDialog(CWnd* pParent) : CDialog(IDD_BACKDROP, pParent), m_hBrush(NULL) {}

// The installer itself never deletes the backdrop; an object deleted with its
// window still up releases the window's brush and fonts all the same.
CBackdropDialog::~CBackdropDialog()
{
    DestroyWindow();
}

const MessageMapEntry* CBackdropDialog::GetMessageMap() const { return s_messageMap; }

void CBackdropDialog::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
}

BOOL CBackdropDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    int cxScreen = ::GetSystemMetrics(SM_CXSCREEN);
    int cyScreen = ::GetSystemMetrics(SM_CYSCREEN);
    MoveWindow(0, 0, cxScreen, cyScreen, TRUE);
    m_hBrush = ::CreateSolidBrush(BACKDROP_BACK_COLOUR);

    // Each font's height follows the screen's width, and its width the
    // screen's height. The text controls reach past the screen's right and
    // bottom edges, which costs nothing.
    HFONT hMakerFont = ::CreateFontA(cxScreen / 20, cyScreen / 28, 0, 0, FW_EXTRABOLD, FALSE, FALSE, FALSE,
                                     ANSI_CHARSET, OUT_DEVICE_PRECIS, CLIP_DEFAULT_PRECIS, PROOF_QUALITY,
                                     VARIABLE_PITCH | FF_SWISS, "Orvel_Font");
    ShowTextInFont(IDC_MAKER, m_fontMaker, hMakerFont, cxScreen / 20, cyScreen / 20, cxScreen - 20, cyScreen - 20);

    HFONT hTaglineFont = ::CreateFontA(cxScreen / 40, cyScreen / 56, 0, 0, FW_EXTRABOLD, FALSE, TRUE, FALSE,
                                       ANSI_CHARSET, OUT_DEVICE_PRECIS, CLIP_DEFAULT_PRECIS, PROOF_QUALITY,
                                       VARIABLE_PITCH | FF_SWISS, "Logo_Font");
    ShowTextInFont(IDC_TAGLINE, m_fontTagline, hTaglineFont, cxScreen / 20, cyScreen / 8, cxScreen - 20,
                   cyScreen - 20);
    return TRUE;
}

// Without its font a text control keeps its template place and the dialog's font.
void CBackdropDialog::ShowTextInFont(int nID, CFont& font, HFONT hFont, int x, int y, int nWidth, int nHeight)
{
    if (!font.Attach(hFont))
        return;
    HWND hText = GetDlgItem(nID);
    ::MoveWindow(hText, x, y, nWidth, nHeight, TRUE);
    ::SendMessageA(hText, WM_SETFONT, reinterpret_cast<WPARAM>(static_cast<HFONT>(font)), 0);
}

HBRUSH CBackdropDialog::OnCtlColor(HDC hDC, HWND hWndCtl, UINT nCtlColor)
{
    // Run for what it does to the device context; its brush is not wanted.
    CDialog::OnCtlColor(hDC, hWndCtl, nCtlColor);
    int nID = hWndCtl != NULL && hWndCtl != m_hWnd ? ::GetDlgCtrlID(hWndCtl) : 0;
    if (nID == IDC_MAKER || nID == IDC_TAGLINE) {
        ::SetTextColor(hDC, BACKDROP_TEXT_COLOUR);
        ::SetBkColor(hDC, BACKDROP_BACK_COLOUR);
    }
    return m_hBrush;
}

void CBackdropDialog::OnDestroy()
{
    CDialog::OnDestroy();
    if (m_hBrush != NULL) {
        ::DeleteObject(m_hBrush);
        m_hBrush = NULL;
    }
    // The holders let go of what they delete here, so nothing is deleted twice.
    m_fontMaker.DeleteObject();
    m_fontTagline.DeleteObject();
}
