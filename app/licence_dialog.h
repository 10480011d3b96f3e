// The licence agreement, which the user accepts before anything is installed.
//   CLicenceDialog  template IDD_LICENCE: the licence text resource in a
//                   read-only edit control, I Agree and Cancel
#pragma once

#include <string>

#include "framework/framework.h"

class CLicenceDialog : public CDialog
{
public:
    explicit CLicenceDialog(CWnd* pParent = NULL);

    std::string m_strLicence;  // the licence text, as the resource holds it

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;

private:
    int LoadLicenceText();
};
