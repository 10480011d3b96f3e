#include "ddx.h"

void DDX_Text(CDataExchange* pDX, int nIDC, std::string& value)
{
    HWND hWndCtrl = pDX->m_pDlgWnd->GetDlgItem(nIDC);
    if (hWndCtrl == NULL)
        return;
    if (!pDX->m_bSaveAndValidate) {
        ::SetWindowTextA(hWndCtrl, value.c_str());
        return;
    }
    int nLength = ::GetWindowTextLengthA(hWndCtrl);
    std::string strText(static_cast<size_t>(nLength) + 1, '\0');
    int nCopied = ::GetWindowTextA(hWndCtrl, &strText[0], nLength + 1);
    strText.resize(nCopied > 0 ? static_cast<size_t>(nCopied) : 0);
    value.swap(strText);
}
