// A dialog of the test program's own, on IDD_TEST_MODAL, that records what
// reaches its handlers.
#pragma once

#include <string>
#include <vector>

#include "framework/framework.h"
#include "tests/res/test_resource.h"

class CRecordingDialog : public CDialog
{
public:
    explicit CRecordingDialog(CWnd* pParent = NULL) : CDialog(IDD_TEST_MODAL, pParent) {}

    std::string m_strFirst;
    std::string m_strSecond;
    std::vector<std::string> m_events;
    HBRUSH m_hBrush = ::CreateSolidBrush(RGB(1, 2, 3));
    ~CRecordingDialog() override { ::DeleteObject(m_hBrush); }

protected:
    void DoDataExchange(CDataExchange* pDX) override
    {
        DDX_Text(pDX, IDC_TEST_EDIT, m_strFirst);
        DDX_Text(pDX, IDC_TEST_EDIT2, m_strSecond);
    }
    const MessageMapEntry* GetMessageMap() const override { return s_messageMap; }
    void OnCancel() override
    {
        m_events.push_back("OnCancel");
        CDialog::OnCancel();
    }
    void OnOK() override
    {
        m_events.push_back("OnOK");
        CDialog::OnOK();
    }

    void OnOther() { m_events.push_back("OnOther"); }
    void OnChangeFirst()
    {
        UpdateData(TRUE);
        m_events.push_back("OnChangeFirst:" + m_strFirst);
    }
    void OnDestroy()
    {
        m_events.push_back("OnDestroy");
        CDialog::OnDestroy();
    }
    HBRUSH OnCtlColor(HDC hDC, HWND hWndCtl, UINT nCtlColor)
    {
        CDialog::OnCtlColor(hDC, hWndCtl, nCtlColor);
        m_events.push_back("OnCtlColor:" + std::to_string(nCtlColor) + ":" +
                           std::to_string(hWndCtl != NULL ? ::GetDlgCtrlID(hWndCtl) : 0));
        return m_hBrush;
    }

private:
    static const MessageMapEntry s_messageMap[];
};

inline const MessageMapEntry CRecordingDialog::s_messageMap[] = {
    { WM_COMMAND, BN_CLICKED, IDC_TEST_OTHER, OnMessage<&CRecordingDialog::OnOther> },
    { WM_COMMAND, EN_CHANGE, IDC_TEST_EDIT, OnMessage<&CRecordingDialog::OnChangeFirst> },
    { WM_DESTROY, 0, 0, OnMessage<&CRecordingDialog::OnDestroy> },
    { WM_CTLCOLOR, 0, 0, OnMessage<&CRecordingDialog::OnCtlColor> },
    { 0, 0, 0, NULL },
};
