// OnInstall: the installation itself, phase by phase, and its completion.
#include "dialogs/install_dialog.h"

#include "common/files.h"
#include "install/program_start.h"

BOOL g_bDirCreated = FALSE;
BOOL g_bExeInstalled = FALSE;
BOOL g_bHelpInstalled = FALSE;
BOOL g_bUninstallerInstalled = FALSE;
BOOL g_bReadmeInstalled = FALSE;
BOOL g_bShortcutsCreated = FALSE;
BOOL g_bRegistryWritten = FALSE;

// The longest path built from the target directory is the uninstaller's,
// "<target>\Uninstall.exe": it has to fit the paths and values made from it.
static const size_t MAX_TARGET_DIR_TEXT = MAX_PATH_TEXT - 14;

struct PayloadPhase
{
    UINT nResourceId;
    LPCSTR lpszFileName;
    BOOL* pbInstalled;
    LPCSTR lpszFailure;
};

static const PayloadPhase s_rgPayloadPhases[] = {
    { 135, "Lumivane.exe", &g_bExeInstalled, "Couldn't install Lumivane.exe!" },
    { 136, "Lumivane.hlp", &g_bHelpInstalled, "Couldn't install Lumivane.hlp!" },
    { 137, "Uninstall.exe", &g_bUninstallerInstalled, "Couldn't install Uninstall.exe!" },
    { 138, "Lumivane.txt", &g_bReadmeInstalled, "Couldn't install Lumivane.txt!" },
};

void CInstallDialog::ShowPhaseFailure(LPCSTR lpszText)
{
    MessageBox(lpszText, "ERROR", MB_OK | MB_ICONHAND);
}

void CInstallDialog::OnInstall()
{
    if (m_strTargetDir.size() > MAX_TARGET_DIR_TEXT) {
        ShowInstallError(0, "Please specify a shorter installation directory:\r\n"
                            "it may be at most 245 characters long");
        return;
    }
    if (!InstallFiles() || !InstallShortcuts())
        return;
    SetStatus("Installing:\r\nUpdating system registry...");
    if (!WriteRegistryEntries()) {
        ShowPhaseFailure("Couldn't update system registry!");
        return;
    }
    g_bRegistryWritten = TRUE;

    if (!m_bCancelling)
        CompleteInstallation();
    EndDialog(0);
}

// The directory and the four payload files; the payload is expanded into the
// directory the check leaves current.
BOOL CInstallDialog::InstallFiles()
{
    SetStatus("Installing:\r\nCreating installation directory...");
    if (!CheckTargetDirectory(m_strTargetDir)) {
        ShowPhaseFailure("Couldn't create installation directory!");
        return FALSE;
    }
    g_bDirCreated = TRUE;
    RememberInstalledFolder(m_strTargetDir);

    SetStatus("Installing:\r\nInstalling application files...");
    for (const PayloadPhase& phase : s_rgPayloadPhases) {
        if (!InstallPayloadFile(phase.nResourceId, phase.lpszFileName)) {
            ShowPhaseFailure(phase.lpszFailure);
            return FALSE;
        }
        *phase.pbInstalled = TRUE;
        RememberInstalledFile(m_strTargetDir, phase.lpszFileName);
    }
    return TRUE;
}

void CInstallDialog::RememberInstalledFolder(const std::string& strFolder)
{
    for (const std::string& strKnown : m_installedFolders) {
        if (IsSameFolder(strKnown, strFolder))
            return;
    }
    m_installedFolders.push_back(strFolder);
}

void CInstallDialog::RememberInstalledFile(const std::string& strFolder, LPCSTR lpszName)
{
    // The name first: a folder's identity asks the file system.
    for (const std::pair<std::string, std::string>& file : m_installedFiles) {
        if (file.second == lpszName && IsSameFolder(file.first, strFolder))
            return;
    }
    m_installedFiles.push_back(std::make_pair(strFolder, std::string(lpszName)));
}

BOOL CInstallDialog::InstallShortcuts()
{
    char szWindowsDir[MAX_PATH];
    if (::GetWindowsDirectoryA(szWindowsDir, MAX_PATH) == 0) {
        ShowPhaseFailure("Can't access Windows directory!");
        return FALSE;
    }
    SetStatus("Installing:\r\nInstalling DeskTop shortcut...");
    CreateShortcut(m_strProduct, ".exe", m_strProduct.c_str(), 1);  // the desktop link is a nicety

    SetStatus("Installing:\r\nInstalling Start Menu shortcuts...");
    if (!CreateShortcut(m_strProduct, ".exe", m_strProduct.c_str(), 0)) {
        ShowPhaseFailure("Couldn't create start menu program shortcut!");
        return FALSE;
    }
    if (!CreateShortcut(m_strProduct, ".hlp", "Lumivane Help", 0)) {
        ShowPhaseFailure("Couldn't create start menu help shortcut!");
        return FALSE;
    }
    if (!CreateShortcut("Uninstall", ".exe", "Uninstall Lumivane", 0)) {
        ShowPhaseFailure("Couldn't create start menu uninstall shortcut!");
        return FALSE;
    }
    g_bShortcutsCreated = TRUE;
    return TRUE;
}

void CInstallDialog::CompleteInstallation()
{
    SetStatus("Installation complete:\r\nLumivane installed successfuly");
    ShowWindow(SW_HIDE);
    std::string strText = "Lumivane 1.10 has been successfully installed!\r\n\r\n";
    strText += "To run this application, select Lumivane \r\n";
    strText += "from the Start Menu, Programs, Lumivane group.";
    MessageBox(strText.c_str(), "INSTALLATION COMLETE", MB_OK | MB_ICONINFORMATION);

    std::string strProgram = m_strTargetDir + "\\Lumivane.exe";
    StartInstalledProgram(strProgram, m_strTargetDir);
}
