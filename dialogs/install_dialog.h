// The install dialog: the installer's main window.
//   CInstallDialog       target directory, status line, Install and Cancel, and
//                        the install operations it runs
//   g_strDefaultDir      the proposed target directory
//   g_strStartMenuGroup  the product's Start Menu group folder
#pragma once

#include <string>

#include "framework/framework.h"

extern std::string g_strDefaultDir;
extern std::string g_strStartMenuGroup;

class CInstallDialog : public CDialog
{
public:
    explicit CInstallDialog(CWnd* pParent = NULL);

    BOOL m_bCancelling;
    std::string m_strProduct;
    std::string m_strTargetDir;  // always the text of the target directory control
    std::string m_strStatus;     // the two-line status line
    HICON m_hIcon;

    void SetStatus(LPCSTR lpszText);
    // The installer's "ERROR" box; bAbort marks the installation as given up.
    void ShowInstallError(int bAbort, LPCSTR lpszText);

    // Expands the MSZ resource nResourceId into the current directory as
    // lpszFileName, with the fixed time stamp (install/payload.cpp). Zero
    // after its own error box.
    int InstallPayloadFile(UINT nResourceId, LPCSTR lpszFileName);

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    const MessageMapEntry* GetMessageMap() const override;

    void OnSysCommand(UINT nID, LPARAM lParam);
    void OnPaint();
    HICON OnQueryDragIcon();
    void OnBrowse();
    void OnInstall();
    void OnChangeTargetDir();

private:
    void AddAboutItemToSystemMenu();
    void ProposeDefaultTargetDirectory();
    void LocateStartMenuGroup();
    void InitializeComponentLibrary();
    void ShowFreeSpaceRequirement();

    static const MessageMapEntry s_messageMap[];
};
