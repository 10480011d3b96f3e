// OnCancel: leaving the install dialog, undoing what this run installed.
#include "common/files.h"
#include "common/registry.h"
#include "dialogs/install_dialog.h"

static BOOL AnythingInstalled()
{
    return g_bDirCreated || g_bExeInstalled || g_bHelpInstalled || g_bUninstallerInstalled || g_bReadmeInstalled ||
           g_bShortcutsCreated || g_bRegistryWritten;
}

void CInstallDialog::OnCancel()
{
    m_bCancelling = TRUE;
    std::string strQuestion = AnythingInstalled() ? "This will abort the installation of Lumivane 1.10"
                                                  : "Lumivane will not be installed on your system";
    strQuestion += "\r\nDo you wish to cancel the installation?";
    if (MessageBox(strQuestion.c_str(), "Cancel Install?", MB_YESNO | MB_ICONQUESTION) == IDNO) {
        m_bCancelling = FALSE;
        return;
    }
    SetStatus("Stand by:\r\nAborting installation...");
    RollBack();
    MessageBox("Lumivane was not installed on your system", "Installation Incomplete", MB_OK | MB_ICONINFORMATION);
    EndDialog(0);
    CDialog::OnCancel();
}

void CInstallDialog::DeleteInstalledCopies(LPCSTR lpszName)
{
    for (const std::pair<std::string, std::string>& file : m_installedFiles) {
        if (file.second == lpszName)
            DeleteTargetFile(file.first, lpszName);
    }
}

// What a failed expansion or a full disk may have left of this run's work.
void CInstallDialog::DeleteTemporaryFiles(const std::string& strFolder)
{
    DeleteTargetFile(strFolder, "LV.MSZ");
    DeleteTargetFile(strFolder, "LV.XXX");
    // Another program's expansions may have left theirs in a folder that was there before.
    for (const std::pair<std::string, std::string>& leftover : m_expansionLeftovers) {
        if (IsSameFolder(leftover.first, strFolder))
            DeleteTargetFile(leftover.first, leftover.second.c_str());
    }
}

// Each step undoes what its flag says this run did, in a fixed order, in the
// folders the run put it in.
void CInstallDialog::RollBack()
{
    if (g_bShortcutsCreated) {
        DeleteShortcut(m_strProduct.c_str(), 0);
        DeleteShortcut("Lumivane Help", 0);
        DeleteShortcut("Uninstall Lumivane", 0);
        RemoveTargetDirectory(g_strStartMenuGroup);
    }
    if (g_bExeInstalled)
        DeleteInstalledCopies("Lumivane.exe");
    if (g_bHelpInstalled)
        DeleteInstalledCopies("Lumivane.hlp");
    if (g_bReadmeInstalled)
        DeleteInstalledCopies("Lumivane.txt");
    if (g_bUninstallerInstalled)
        DeleteInstalledCopies("Uninstall.exe");
    if (g_bDirCreated) {
        for (const std::string& strFolder : m_installedFolders) {
            DeleteTemporaryFiles(strFolder);
            RemoveTargetDirectory(strFolder);
        }
    }
    if (g_bRegistryWritten) {
        // The whole product key: any version below it was written by this run
        // (set-up removed an earlier one or ended), and an empty product key
        // left behind would pass for a previous installation next time.
        DeleteRegistryTree(PRODUCT_KEY_PARENT, m_strProduct.c_str());
        DeleteRegistryTree("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths", "Lumivane.exe");
        DeleteRegistryTree("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall", m_strProduct.c_str());
    }
}
