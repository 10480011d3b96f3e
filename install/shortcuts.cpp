// CreateShortcut and DeleteShortcut: shell links on the desktop and in the
// Start Menu group, made through the shell's link component.
#include <shlobj.h>

#include "common/com_ptr.h"
#include "common/paths.h"
#include "common/shortcut_folders.h"
#include "dialogs/install_dialog.h"

// The link component's identities, held here: the SDK's uuid library would
// bring every identity it knows into the program with them.
static const CLSID s_clsidShellLink = { 0x00021401, 0x0000, 0x0000, { 0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46 } };
static const IID s_iidShellLinkA = { 0x000214EE, 0x0000, 0x0000, { 0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46 } };
static const IID s_iidPersistFile = { 0x0000010B, 0x0000, 0x0000, { 0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46 } };

int CInstallDialog::CreateShortcut(std::string strStem, std::string strExtension, LPCSTR lpszTitle, int bDesktop)
{
    std::string strTarget = m_strTargetDir + "\\" + strStem + strExtension;
    if (!bDesktop)
        CheckTargetDirectory(g_strStartMenuGroup);  // makes the group; the save below tells if it failed
    std::string strFolder = GetShortcutFolder(bDesktop);
    std::string strLink = BuildShortcutPath(strFolder, lpszTitle);
    // A link cut short, or in a folder that cannot be named, would land in the wrong place.
    if (strFolder.empty() || strLink.size() > MAX_PATH_TEXT) {
        ShowInstallError(0, "Can't create Program Files icon group");
        return 0;
    }
    WCHAR wszLink[MAX_PATH];
    ::MultiByteToWideChar(CP_ACP, 0, strLink.c_str(), -1, wszLink, MAX_PATH);

    CComPtr<IShellLinkA> pLink;
    if (::CoCreateInstance(s_clsidShellLink, NULL, CLSCTX_INPROC_SERVER, s_iidShellLinkA, pLink.Receive()) != S_OK) {
        ShowInstallError(0, "Can't create Program Files link");
        return 0;
    }
    pLink->SetDescription(lpszTitle);
    pLink->SetIconLocation(strTarget.c_str(), 0);
    pLink->SetPath(strTarget.c_str());
    pLink->SetWorkingDirectory(m_strTargetDir.c_str());
    pLink->SetShowCmd(SW_SHOWNORMAL);

    CComPtr<IPersistFile> pFile;
    if (pLink->QueryInterface(s_iidPersistFile, pFile.Receive()) != S_OK) {
        ShowInstallError(0, "Couldn't create file interface to program links");
        return 0;
    }
    if (pFile->Save(wszLink, TRUE) != S_OK) {
        ShowInstallError(0, "Can't create Program Files icon group");
        return 0;
    }
    return 1;
}

void CInstallDialog::DeleteShortcut(LPCSTR lpszTitle, int bDesktop)
{
    std::string strFolder = GetShortcutFolder(bDesktop);
    if (!strFolder.empty())
        ::DeleteFileA(BuildShortcutPath(strFolder, lpszTitle).c_str());
}
