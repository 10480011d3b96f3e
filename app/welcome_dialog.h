// The welcome screen: the first dialog the user answers.
//   CWelcomeDialog  template IDD_WELCOME, black on cyan; OK goes on, Cancel
//                   (or Escape) gives up the installation
#pragma once

#include "framework/framework.h"

class CWelcomeDialog : public CDialog
{
public:
    explicit CWelcomeDialog(CWnd* pParent = NULL);
    ~CWelcomeDialog() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    const MessageMapEntry* GetMessageMap() const override;

    HBRUSH OnCtlColor(HDC hDC, HWND hWndCtl, UINT nCtlColor);

private:
    void DeleteBrush();

    HBRUSH m_hBrush;  // the cyan of the dialog and of everything on it

    static const MessageMapEntry s_messageMap[];
};
