// The install dialog: the installer's main window.
//   CInstallDialog  target directory, status line, Install and Cancel, and
//                   the install operations it runs
//   g_b...          what the current run has installed, for Cancel to undo
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "common/paths.h"
#include "framework/framework.h"

// Set as each step of an installation succeeds, never reset: a later attempt
// leaves the flags of an earlier one standing.
extern BOOL g_bDirCreated;
extern BOOL g_bExeInstalled;
extern BOOL g_bHelpInstalled;
extern BOOL g_bUninstallerInstalled;
extern BOOL g_bReadmeInstalled;
extern BOOL g_bShortcutsCreated;
extern BOOL g_bRegistryWritten;

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

    // Install operations: nonzero on success; a failure has been reported to
    // the user when they return.
    int CheckTargetDirectory(std::string strPath);
    // Expands the MSZ resource nResourceId into the current directory as
    // lpszFileName, with the fixed time stamp.
    int InstallPayloadFile(UINT nResourceId, LPCSTR lpszFileName);
    int CreateShortcut(std::string strStem, std::string strExtension, LPCSTR lpszTitle, int bDesktop);
    void DeleteShortcut(LPCSTR lpszTitle, int bDesktop);
    int WriteRegistryEntries();
    // Detects a previous installation; with bRemove it also removes it.
    int FindPreviousInstallation(int bRemove);
    void DeleteTargetFile(const std::string& strDirectory, LPCSTR lpszName);
    void RemoveTargetDirectory(std::string strDirectory);

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnCancel() override;
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
    void OfferToRemovePreviousInstallation();
    int FindAppPathEntry(int bRemove);
    BOOL InstallFiles();
    BOOL InstallShortcuts();
    void CompleteInstallation();
    void ShowPhaseFailure(LPCSTR lpszText);
    void RollBack();
    void ShowFreeSpaceRequirement();
    void RememberInstalledFolder(const std::string& strFolder);
    void RememberInstalledFile(const std::string& strFolder, LPCSTR lpszName);
    void DeleteInstalledCopies(LPCSTR lpszName);
    void DeleteTemporaryFiles(const std::string& strFolder);

    // Where this run's directory phase and each payload file went, for Cancel:
    // the target text may name another folder by then. A folder is kept once,
    // as first typed, however often and in whatever spelling it comes again.
    std::vector<std::string> m_installedFolders;
    std::vector<std::pair<std::string, std::string>> m_installedFiles;  // folder, file name
    // The version library's temporary copies that this run's failed
    // expansions left, by folder and name: the only ones Cancel deletes.
    std::vector<std::pair<std::string, std::string>> m_expansionLeftovers;

    static const MessageMapEntry s_messageMap[];
};
