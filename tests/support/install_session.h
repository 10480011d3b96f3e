// Running the install dialog in a test, and the test's own folders.
//   RunInstallDialog  the dialog as the application's main window; the steps
//                     run once its set-up is done, then it ends
//   RunInstallDialogToEnd  the same, for steps that end the dialog themselves
//   FakeShellFolders  the shell's special folders, as the test wants them
//   ControlText       the text of one of a dialog's controls
//   CTestFolder       a fresh, empty folder on the tests' drive T:, removed
//                     with everything in it afterwards
//   CurrentDirectory  the process's current directory
//   NamesIn           the sorted names in a folder; "<none>" when it is missing
//   ProposeProgramFilesDir  the registry's program-files folder, as the test wants it
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "dialogs/install_dialog.h"
#include "tests/support/driven_dialog.h"

typedef CDriven<CInstallDialog> CDrivenInstall;

#include <map>

void RunInstallDialog(std::function<void(CDrivenInstall&)> fnSteps);
INT_PTR RunInstallDialogToEnd(std::function<void(CDrivenInstall&)> fnSteps);
// Folders the shell names for CSIDL values; other CSIDLs are not found.
void FakeShellFolders(const std::map<int, std::string>& folders);
std::string ControlText(CWnd& dlg, int nID);
std::string CurrentDirectory();

class CTestFolder
{
public:
    // T:\<name>, emptied and made anew.
    explicit CTestFolder(const std::string& strName);
    ~CTestFolder();
    std::string operator/(const std::string& strRelative) const { return m_strPath + "\\" + strRelative; }
    const std::string& Path() const { return m_strPath; }

private:
    std::string m_strPath;
};

void RemoveTree(const std::string& strPath);
std::vector<std::string> NamesIn(const std::string& strFolder);
void ProposeProgramFilesDir(const std::string& strDir);
bool PathExists(const std::string& strPath);
