// The uninstaller's tests: an installation laid out as the installer leaves
// it, and Uninstall.exe run from there in processes of its own.
//   UninstallerTest  the fixture: lays out, runs, answers the boxes, cleans up
//                    the prefix's Desktop and Programs folders afterwards
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <set>
#include <string>

#include "tests/support/install_session.h"

const std::string PRODUCT = "SOFTWARE\\Orvel Software\\Lumivane";
const std::string APP_PATH = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\Lumivane.exe";
const std::string UNINSTALL = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Lumivane";
const char UNINSTALL_CAPTION[] = "Uninstall Lumivane";

void MakeFile(const std::string& strPath, DWORD dwAttributes = FILE_ATTRIBUTE_NORMAL);
// A shell link, saved as the installer saves its own.
void MakeLink(const std::string& strLink, const std::string& strTarget);

class UninstallerTest : public ::testing::Test
{
protected:
    UninstallerTest() : m_folder("uninstall") {}
    void SetUp() override;
    void TearDown() override;

    std::string Directory() const { return m_folder / "Program Files\\Lumivane"; }
    std::string Installed(const char* pszName) const { return Directory() + "\\" + pszName; }
    std::string GroupLink(const char* pszName) const { return m_strGroup + "\\" + pszName; }

    // Files, links and registry entries as an installation into Directory()
    // leaves them; the registry may record another directory.
    void LayOutInstallation(const std::string& strRecordedDirectory);
    void LayOutInstallation() { LayOutInstallation(Directory()); }
    // The registry entries alone, as the installer writes them.
    void RecordInstallation(const std::string& strDirectory);

    // Starts Uninstall.exe in its directory, answers its first box and waits
    // for it to end; the box's text is returned.
    std::string AnswerOriginal(int nAnswer);
    // Yes to the question, then the result box of the copy that does the
    // work; its text is kept, and the copy has ended when this returns.
    // fnAfterYes runs while the copy is at work.
    void RunUninstaller(const std::function<void()>& fnAfterYes = std::function<void()>());
    // What the temporary folder holds that it did not hold before the test.
    std::set<std::string> NewInTemp() const;
    // Until nothing is new in the temporary folder, or false after a while.
    bool WaitForTempFolderAsBefore() const;

    // Every file and link stays, and no copy of the uninstaller is left behind.
    void ExpectNothingRemoved();
    void ExpectRecordedAt(const std::string& strDirectory);
    void ExpectRegistryEntriesGone();

    CTestFolder m_folder;
    std::string m_strGroup, m_strDesktopLink;
    std::set<std::string> m_tempWhileRunning;
    HANDLE m_hMutex = NULL;
    bool m_bAskedYesNo = false;
    std::string m_strQuestion, m_strResult;

private:
    void RemoveEverythingOfOurs();
    void EndLeftoverProcesses();

    std::string m_strTempFolder;
    std::set<std::string> m_tempBefore;
    HANDLE m_hOriginal = NULL, m_hHelper = NULL;
    DWORD m_dwOriginal = 0;
};
