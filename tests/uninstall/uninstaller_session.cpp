#include "uninstaller_session.h"

#include <shlobj.h>

#include <algorithm>

#include "dialogs/install_dialog.h"
#include "install/com_ptr.h"
#include "tests/seam/seam.h"
#include "tests/support/process_support.h"
#include "tests/support/registry_support.h"

namespace {

// The uninstaller as built, on the drive Wine gives the Linux root.
std::string BuiltUninstaller()
{
    std::string strPath = "Z:" LV_UNINSTALLER_EXE;
    std::replace(strPath.begin(), strPath.end(), '/', '\\');
    return strPath;
}

// Asked of the shell directly, not through the code under test.
std::string ShellFolder(int nFolder)
{
    char szPath[MAX_PATH] = "";
    ::SHGetFolderPathA(NULL, nFolder, NULL, SHGFP_TYPE_CURRENT, szPath);
    return szPath;
}

std::string TempFolder()
{
    char szTemp[MAX_PATH] = "";
    DWORD nLength = ::GetTempPathA(MAX_PATH, szTemp);
    return std::string(szTemp, nLength > 0 && nLength < MAX_PATH ? nLength - 1 : 0);
}

class CComLibrary
{
public:
    CComLibrary() { ::CoInitialize(NULL); }
    ~CComLibrary() { ::CoUninitialize(); }
};

// Until the condition holds, or false after the timeout.
bool WaitUntil(const std::function<bool()>& fnCondition)
{
    DWORD dwStart = ::GetTickCount();
    while (!fnCondition()) {
        if (::GetTickCount() - dwStart > PROCESS_TIMEOUT_MS)
            return false;
        ::Sleep(50);
    }
    return true;
}

void EndProcess(HANDLE hProcess)
{
    if (!WaitForProcessEnd(hProcess, 0)) {
        ::TerminateProcess(hProcess, 1);
        WaitForProcessEnd(hProcess);
    }
    ::CloseHandle(hProcess);
}

// Under Wine a link saved in the Programs or Desktop folder starts the menu
// builder, which copies it into the Linux user's menus. Turned off in the
// prefix while a test runs; no environment variable set from here would reach it.
void KeepMenuBuilderFromStarting(bool bKeep)
{
    HKEY hKey;
    if (seam::RealRegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Wine\\DllOverrides", 0, NULL, 0, KEY_WRITE, NULL,
                                  &hKey, NULL) != ERROR_SUCCESS)
        return;
    if (bKeep)
        seam::RealRegSetValueExA(hKey, "winemenubuilder.exe", 0, REG_SZ, reinterpret_cast<const BYTE*>(""), 1);
    else
        ::RegDeleteValueA(hKey, "winemenubuilder.exe");
    ::RegCloseKey(hKey);
}

}  // namespace

void MakeFile(const std::string& strPath, DWORD dwAttributes)
{
    HANDLE hFile = ::CreateFileA(strPath.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, dwAttributes, NULL);
    DWORD cbWritten = 0;
    ::WriteFile(hFile, "payload", 7, &cbWritten, NULL);
    ::CloseHandle(hFile);
}

void MakeLink(const std::string& strLink, const std::string& strTarget)
{
    CComLibrary com;
    CComPtr<IShellLinkA> pLink;
    ASSERT_EQ(S_OK, ::CoCreateInstance(CLSID_ShellLink, NULL, CLSCTX_INPROC_SERVER, IID_IShellLinkA, pLink.Receive()));
    pLink->SetPath(strTarget.c_str());
    CComPtr<IPersistFile> pFile;
    ASSERT_EQ(S_OK, pLink->QueryInterface(IID_IPersistFile, pFile.Receive()));
    WCHAR wszLink[MAX_PATH];
    ::MultiByteToWideChar(CP_ACP, 0, strLink.c_str(), -1, wszLink, MAX_PATH);
    ASSERT_EQ(S_OK, pFile->Save(wszLink, TRUE)) << strLink;
}

void UninstallerTest::SetUp()
{
    seam::Reset();
    KeepMenuBuilderFromStarting(true);
    m_strGroup = ShellFolder(CSIDL_PROGRAMS) + "\\Lumivane";
    m_strDesktopLink = ShellFolder(CSIDL_DESKTOPDIRECTORY) + "\\Lumivane.lnk";
    ASSERT_NE("\\Lumivane", m_strGroup);
    ASSERT_NE("\\Lumivane.lnk", m_strDesktopLink);
    RemoveEverythingOfOurs();
    m_strTempFolder = TempFolder();
    ASSERT_FALSE(m_strTempFolder.empty());
    m_tempBefore = NamesInFolder(m_strTempFolder);
}

void UninstallerTest::TearDown()
{
    EndLeftoverProcesses();
    if (m_hMutex != NULL)
        ::CloseHandle(m_hMutex);
    RemoveEverythingOfOurs();
    KeepMenuBuilderFromStarting(false);
    seam::Reset();
}

// The group and the desktop link are the prefix's own: nothing a test made
// may stay there.
void UninstallerTest::RemoveEverythingOfOurs()
{
    RemoveProductEntries();
    RemoveTree(m_strGroup);
    ::SetFileAttributesA(m_strDesktopLink.c_str(), FILE_ATTRIBUTE_NORMAL);
    ::DeleteFileA(m_strDesktopLink.c_str());
}

void UninstallerTest::EndLeftoverProcesses()
{
    for (HANDLE* phProcess : { &m_hOriginal, &m_hHelper }) {
        if (*phProcess != NULL)
            EndProcess(*phProcess);
        *phProcess = NULL;
    }
    // A copy whose box a failed test never reached.
    for (int i = 0; i < 4; ++i) {
        HWND hBox = WaitForMessageBox(UNINSTALL_CAPTION, 0, 0, 0);
        HANDLE hProcess = hBox != NULL ? OpenProcessOfWindow(hBox) : NULL;
        if (hProcess == NULL)
            break;
        EndProcess(hProcess);
    }
}

void UninstallerTest::LayOutInstallation(const std::string& strRecordedDirectory)
{
    ::CreateDirectoryA((m_folder / "Program Files").c_str(), NULL);
    ::CreateDirectoryA(Directory().c_str(), NULL);
    ASSERT_TRUE(::CopyFileA(BuiltUninstaller().c_str(), Installed("Uninstall.exe").c_str(), FALSE))
        << BuiltUninstaller();
    for (const char* pszName : { "Lumivane.exe", "Lumivane.hlp", "Lumivane.txt" })
        MakeFile(Installed(pszName));
    ::CreateDirectoryA(m_strGroup.c_str(), NULL);
    MakeLink(m_strDesktopLink, Installed("Lumivane.exe"));
    MakeLink(GroupLink("Lumivane.lnk"), Installed("Lumivane.exe"));
    MakeLink(GroupLink("Lumivane Help.lnk"), Installed("Lumivane.hlp"));
    MakeLink(GroupLink("Uninstall Lumivane.lnk"), Installed("Uninstall.exe"));
    RecordInstallation(strRecordedDirectory);
}

void UninstallerTest::RecordInstallation(const std::string& strDirectory)
{
    CInstallDialog dlg;
    dlg.m_strTargetDir = strDirectory;
    ASSERT_EQ(1, dlg.WriteRegistryEntries());
}

std::string UninstallerTest::AnswerOriginal(int nAnswer)
{
    if (m_hOriginal != NULL)
        ::CloseHandle(m_hOriginal);
    m_hOriginal = StartProgram(Installed("Uninstall.exe"), Directory(), &m_dwOriginal);
    EXPECT_TRUE(m_hOriginal != NULL) << "cannot start " << Installed("Uninstall.exe");
    HWND hBox = WaitForMessageBox(UNINSTALL_CAPTION, m_dwOriginal);
    if (hBox == NULL) {
        ADD_FAILURE() << "the uninstaller showed no box";
        return std::string();
    }
    std::string strText = MessageBoxText(hBox);
    m_bAskedYesNo = ::GetDlgItem(hBox, IDYES) != NULL && ::GetDlgItem(hBox, IDNO) != NULL;
    AnswerMessageBox(hBox, nAnswer);
    EXPECT_TRUE(WaitForProcessEnd(m_hOriginal)) << "the uninstaller did not end";
    return strText;
}

void UninstallerTest::RunUninstaller(const std::function<void()>& fnAfterYes)
{
    m_strQuestion = AnswerOriginal(IDYES);
    if (fnAfterYes)
        fnAfterYes();
    HWND hResult = WaitForMessageBox(UNINSTALL_CAPTION, 0, m_dwOriginal);
    ASSERT_TRUE(hResult != NULL) << "no result box";
    m_hHelper = OpenProcessOfWindow(hResult);
    m_strResult = MessageBoxText(hResult);
    m_tempWhileRunning = NewInTemp();
    AnswerMessageBox(hResult, IDOK);
    ASSERT_TRUE(WaitForProcessEnd(m_hHelper)) << "the uninstaller's copy did not end";
}

std::set<std::string> UninstallerTest::NewInTemp() const
{
    std::set<std::string> added;
    for (const std::string& strName : NamesInFolder(m_strTempFolder)) {
        if (m_tempBefore.count(strName) == 0)
            added.insert(strName);
    }
    return added;
}

bool UninstallerTest::WaitForTempFolderAsBefore() const
{
    return WaitUntil([this] { return NewInTemp().empty(); });
}

void UninstallerTest::ExpectNothingRemoved()
{
    for (const char* pszName : { "Lumivane.exe", "Lumivane.hlp", "Uninstall.exe", "Lumivane.txt" })
        EXPECT_TRUE(PathExists(Installed(pszName))) << pszName;
    for (const char* pszName : { "Lumivane.lnk", "Lumivane Help.lnk", "Uninstall Lumivane.lnk" })
        EXPECT_TRUE(PathExists(GroupLink(pszName))) << pszName;
    EXPECT_TRUE(PathExists(m_strDesktopLink));
    EXPECT_TRUE(WaitForTempFolderAsBefore()) << "a copy was left in the temporary folder";
}

void UninstallerTest::ExpectRecordedAt(const std::string& strDirectory)
{
    EXPECT_EQ(strDirectory, ReadValue(APP_PATH, "Path"));
    EXPECT_EQ("Lumivane 1.10", ReadValue(UNINSTALL, "DisplayName"));
    EXPECT_TRUE(KeyExists(PRODUCT + "\\1.10"));
}

void UninstallerTest::ExpectRegistryEntriesGone()
{
    EXPECT_FALSE(KeyExists(PRODUCT));
    EXPECT_FALSE(KeyExists(APP_PATH));
    EXPECT_FALSE(KeyExists(UNINSTALL));
}
