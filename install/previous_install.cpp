// FindPreviousInstallation and the removals that undo an installation.
#include <cstdlib>

#include "common/files.h"
#include "common/registry.h"
#include "dialogs/install_dialog.h"

// Whether the key exists; in remove mode it goes, with all below it.
static int FindRegistryEntry(LPCSTR lpszKey, LPCSTR lpszParent, LPCSTR lpszName, int bRemove)
{
    HKEY hKey;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, lpszKey, 0, KEY_READ, &hKey) != ERROR_SUCCESS)
        return 0;
    if (bRemove)
        DeleteRegistryTree(lpszParent, lpszName);
    ::RegCloseKey(hKey);
    return 1;
}

// The App Paths entry also tells where the previous installation lives: that
// directory is proposed from then on.
int CInstallDialog::FindAppPathEntry(int bRemove)
{
    HKEY hKey;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, APP_PATH_KEY, 0, KEY_READ, &hKey) != ERROR_SUCCESS)
        return 0;
    std::string strPath;
    if (ReadRegistryText(hKey, "Path", strPath)) {
        g_strDefaultDir = strPath;
        m_strTargetDir = strPath;
        UpdateData(FALSE);
    }
    if (bRemove)
        DeleteRegistryTree(APP_PATH_KEY_PARENT, "Lumivane.exe");
    ::RegCloseKey(hKey);
    return 1;
}

int CInstallDialog::FindPreviousInstallation(int bRemove)
{
    int nFound = 0;
    if (FindAppPathEntry(bRemove))
        nFound = 1;
    if (FindRegistryEntry(UNINSTALL_KEY, UNINSTALL_KEY_PARENT, "Lumivane", bRemove))
        nFound = 1;
    if (FindRegistryEntry(PRODUCT_KEY, PRODUCT_KEY_PARENT, "Lumivane", bRemove))
        nFound = 1;
    if (!g_strDefaultDir.empty() && FolderHasEntries(g_strDefaultDir)) {
        nFound = 1;
        if (bRemove) {
            DeleteMatchingFiles(g_strDefaultDir, "Lumivane.*");
            DeleteMatchingFiles(g_strDefaultDir, "Uninstall.exe");
            DeleteExpansionLeftovers(g_strDefaultDir);
        }
    }
    if (!g_strStartMenuGroup.empty() && FolderHasEntries(g_strStartMenuGroup)) {
        nFound = 1;
        if (bRemove) {
            DeleteShortcut(m_strProduct.c_str(), 0);
            DeleteShortcut("Lumivane Help", 0);
            DeleteShortcut("Uninstall Lumivane", 0);
        }
    }
    return nFound;
}

// Two copies of the product would otherwise pile up; the user decides.
void CInstallDialog::OfferToRemovePreviousInstallation()
{
    if (!FindPreviousInstallation(0))
        return;
    std::string strQuestion = "This will overwrite any previous installation:\r\n\r\n";
    strQuestion += "Are you sure you want to continue installing Lumivane?";
    if (MessageBox(strQuestion.c_str(), "Note", MB_YESNO | MB_ICONEXCLAMATION) != IDYES)
        exit(0);
    SetStatus("Removing previous versions...");
    FindPreviousInstallation(1);
}

void CInstallDialog::DeleteTargetFile(const std::string& strDirectory, LPCSTR lpszName)
{
    std::string strFile = strDirectory + "\\" + lpszName;
    if (strFile.size() <= MAX_PATH_TEXT)
        ::DeleteFileA(strFile.c_str());
}

void CInstallDialog::RemoveTargetDirectory(std::string strDirectory)
{
    // The process may stand in the directory itself.
    ::SetCurrentDirectoryA("\\");
    if (!::RemoveDirectoryA(strDirectory.c_str()))
        MessageBox(("Unable to remove directory " + strDirectory).c_str(), "NOTE", MB_OK | MB_ICONINFORMATION);
}
