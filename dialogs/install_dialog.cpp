#include "install_dialog.h"

#include <shlobj.h>

#include <cstdlib>

#include "common/paths.h"
#include "common/registry.h"
#include "common/shortcut_folders.h"
#include "dialogs/about_dialog.h"
#include "res/resource.h"

// The free space the installation asks for, in thousands of bytes.
static const int FREE_SPACE_KB = 400;

const MessageMapEntry CInstallDialog::s_messageMap[] = {
    { WM_SYSCOMMAND,    0,          0,              OnMessage<&CInstallDialog::OnSysCommand> },
    { WM_PAINT,         0,          0,              OnMessage<&CInstallDialog::OnPaint> },
    { WM_QUERYDRAGICON, 0,          0,              OnMessage<&CInstallDialog::OnQueryDragIcon> },
    { WM_COMMAND,       BN_CLICKED, IDC_BROWSE,     OnMessage<&CInstallDialog::OnBrowse> },
    { WM_COMMAND,       BN_CLICKED, IDOK,           OnMessage<&CInstallDialog::OnInstall> },
    { WM_COMMAND,       EN_CHANGE,  IDC_TARGET_DIR, OnMessage<&CInstallDialog::OnChangeTargetDir> },
    { 0, 0, 0, NULL },
};

CInstallDialog::CInstallDialog(CWnd* pParent)
    : CDialog(IDD_INSTALL, pParent),
      m_bCancelling(FALSE),
      m_hIcon(::LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDR_MAINFRAME)))
{
}

const MessageMapEntry* CInstallDialog::GetMessageMap() const { return s_messageMap; }

void CInstallDialog::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_TARGET_DIR, m_strTargetDir);
    DDX_Text(pDX, IDC_STATUS, m_strStatus);
}

BOOL CInstallDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    AddAboutItemToSystemMenu();
    SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
    SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));
    m_strProduct = "Lumivane";
    m_bCancelling = FALSE;
    SetWindowText("Orvel Software - Install Lumivane 1.10");
    SetStatus("Stand by:\r\nChecking system parameters...");
    ProposeDefaultTargetDirectory();
    LocateStartMenuGroup();
    InitializeComponentLibrary();
    SetStatus("Stand by:\r\nChecking for previous installations...");
    OfferToRemovePreviousInstallation();
    ShowFreeSpaceRequirement();
    return TRUE;
}

void CInstallDialog::AddAboutItemToSystemMenu()
{
    HMENU hSysMenu = GetSystemMenu(FALSE);
    if (hSysMenu == NULL)
        return;
    char szAbout[MAX_PATH];
    if (::LoadStringA(AfxGetResourceHandle(), IDS_ABOUTBOX, szAbout, MAX_PATH) <= 0)
        return;
    ::AppendMenuA(hSysMenu, MF_SEPARATOR, 0, NULL);
    ::AppendMenuA(hSysMenu, MF_STRING, IDM_ABOUTBOX, szAbout);
}

// The program-files folder, when the registry names one as a text that fits.
static int ReadProgramFilesDir(std::string& strDir)
{
    HKEY hKey;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion", 0, KEY_READ, &hKey) !=
        ERROR_SUCCESS)
        return 0;
    int nRead = ReadRegistryText(hKey, "ProgramFilesDir", strDir);
    ::RegCloseKey(hKey);
    return nRead;
}

void CInstallDialog::ProposeDefaultTargetDirectory()
{
    g_strDefaultDir = "C:\\Program Files\\Lumivane";
    std::string strProgramFiles;
    if (ReadProgramFilesDir(strProgramFiles)) {
        std::string strProposed = strProgramFiles + "\\Lumivane";
        if (strProposed.size() <= MAX_PATH_TEXT)
            g_strDefaultDir = strProposed;
    }
    m_strTargetDir = g_strDefaultDir;
    SetDlgItemText(IDC_TARGET_DIR, m_strTargetDir.c_str());
}

void CInstallDialog::LocateStartMenuGroup()
{
    g_strStartMenuGroup = FindStartMenuGroup();
}

void CInstallDialog::InitializeComponentLibrary()
{
    // Shortcuts are made through the shell's link component; without it
    // there is no point going on.
    if (::CoInitialize(NULL) == S_OK)
        return;
    ShowInstallError(1, "Can't initialize Component Object Module");
    exit(0);
}

void CInstallDialog::ShowFreeSpaceRequirement()
{
    char szStatus[128];
    ::wsprintfA(szStatus, "To install Lumivane, at least\r\n%d Kb of free disk space is required.", FREE_SPACE_KB);
    m_strStatus = szStatus;
    SetDlgItemText(IDC_STATUS, m_strStatus.c_str());
}

void CInstallDialog::SetStatus(LPCSTR lpszText)
{
    m_strStatus = lpszText;
    SetDlgItemText(IDC_STATUS, m_strStatus.c_str());
}

void CInstallDialog::ShowInstallError(int bAbort, LPCSTR lpszText)
{
    std::string strText = lpszText;
    UINT nType = MB_OK | MB_ICONINFORMATION;
    if (bAbort) {
        strText += " - aborting installation";
        nType = MB_OK | MB_ICONEXCLAMATION;
    }
    MessageBox(strText.c_str(), "ERROR", nType);
}

void CInstallDialog::OnSysCommand(UINT nID, LPARAM lParam)
{
    if ((nID & 0xFFF0) == IDM_ABOUTBOX) {
        CAboutDialog dlgAbout;
        dlgAbout.DoModal();
        return;
    }
    CDialog::OnSysCommand(nID, lParam);
}

void CInstallDialog::OnPaint()
{
    if (!IsIconic()) {
        CDialog::OnPaint();
        return;
    }
    PAINTSTRUCT ps;
    HDC hDC = ::BeginPaint(m_hWnd, &ps);
    SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(hDC), 0);
    int cxIcon = ::GetSystemMetrics(SM_CXICON);
    int cyIcon = ::GetSystemMetrics(SM_CYICON);
    RECT rect;
    ::GetClientRect(m_hWnd, &rect);
    int x = (rect.right - rect.left - cxIcon + 1) / 2;
    int y = (rect.bottom - rect.top - cyIcon + 1) / 2;
    ::DrawIcon(hDC, x, y, m_hIcon);
    ::EndPaint(m_hWnd, &ps);
}

HICON CInstallDialog::OnQueryDragIcon()
{
    return m_hIcon;
}

void CInstallDialog::OnBrowse()
{
    char szDisplayName[MAX_PATH] = "";
    CWinApp* pApp = AfxGetApp();
    BROWSEINFOA bi;
    ::ZeroMemory(&bi, sizeof(bi));
    bi.hwndOwner = pApp != NULL && pApp->m_pMainWnd != NULL ? pApp->m_pMainWnd->GetSafeHwnd() : NULL;
    bi.pszDisplayName = szDisplayName;
    bi.lpszTitle = "Lumivane Installation Folder";
    bi.ulFlags = BIF_RETURNONLYFSDIRS;

    LPITEMIDLIST pidl = ::SHBrowseForFolderA(&bi);
    if (pidl == NULL)
        return;
    std::string strPicked;
    int bHavePath = GetPathFromIDList(pidl, strPicked);
    ::CoTaskMemFree(pidl);
    if (!bHavePath)
        return;

    std::string strTarget;
    if (!AppendProductFolder(strPicked, m_strProduct, strTarget)) {
        ShowInstallError(0, "The chosen folder's path is too long to install Lumivane into.\r\n"
                            "Please choose a folder with a shorter path.");
        return;
    }
    m_strTargetDir = strTarget;
    SetDlgItemText(IDC_TARGET_DIR, m_strTargetDir.c_str());
}

void CInstallDialog::OnChangeTargetDir()
{
    UpdateData(TRUE);
}
