// The full-screen backdrop behind the installer's dialogs.
//   CBackdropDialog  template IDD_BACKDROP, modeless: the maker's name and
//                    tagline in white on dark blue, sized to the screen
#pragma once

#include "framework/framework.h"

class CBackdropDialog : public CDialog
{
public:
    explicit CBackdropDialog(CWnd* pParent = NULL);
    ~CBackdropDialog() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    const MessageMapEntry* GetMessageMap() const override;

    HBRUSH OnCtlColor(HDC hDC, HWND hWndCtl, UINT nCtlColor);
    void OnDestroy();

private:
    void ShowTextInFont(int nID, CFont& font, HFONT hFont, int x, int y, int nWidth, int nHeight);

    CFont m_fontMaker;    // the maker's name, IDC_MAKER
    CFont m_fontTagline;  // the tagline, IDC_TAGLINE
    HBRUSH m_hBrush;      // the dark blue of the whole window

    static const MessageMapEntry s_messageMap[];
};
