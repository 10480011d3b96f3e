// Dialogs built from dialog templates in the resources.
//   CDialog  modal (DoModal) and modeless (Create) dialogs, OK/Cancel routing,
//            set-up that fills the controls from the members, and opens the
//            dialog centred unless the set-up placed it
#pragma once

#include "wnd.h"

class CDialog : public CWnd
{
public:
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = NULL);

    // The result given to EndDialog, or -1 when the dialog cannot be made.
    virtual INT_PTR DoModal();
    // A modeless window; TRUE when it was made.
    BOOL Create(UINT nIDTemplate, CWnd* pParentWnd = NULL);
    void EndDialog(int nResult);

    virtual BOOL OnInitDialog();

protected:
    virtual void OnOK();
    virtual void OnCancel();
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

    UINT m_nIDTemplate;
    CWnd* m_pParentWnd;

private:
    HWND GetModalOwner() const;
    void CenterUnlessPlaced(const RECT& rcTemplate);
    static INT_PTR CALLBACK DialogProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);
};
