// e2e_driver: drives the real InstallLV.exe through Wine's windows as a user
// would (tools/walkthrough), one scenario per run, from a machine reset to
// have no Lumivane, and checks what the user sees and what the machine holds.
//   e2e_driver SCENARIO
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <functional>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <tuple>
#include <utility>

#include "installer.h"
#include "machine.h"
#include "report.h"

namespace {

void Reset();

const char E2E_FOLDER[] = "T:\\e2e";  // the scenarios' own, on the tests' drive
const int IDC_MAKER = 1006;
const int IDC_LICENCE_TEXT = 1008;
const int IDC_PRODUCT_FOLDER = 101;  // the installed product's window shows where it runs from

const char WELCOME_TEXT[] = "Every colour, one click away.\n\n"
                            "Click \"OK\" to install Orvel Software's Lumivane  for Windows.";
const char FREE_SPACE_TEXT[] = "To install Lumivane, at least\r\n400 Kb of free disk space is required.";
const char COMPLETE_TEXT[] = "Lumivane 1.10 has been successfully installed!\r\n\r\n"
                             "To run this application, select Lumivane \r\n"
                             "from the Start Menu, Programs, Lumivane group.";
const char OVERWRITE_QUESTION[] = "This will overwrite any previous installation:\r\n\r\n"
                                  "Are you sure you want to continue installing Lumivane?";
const char UNINSTALL_CAPTION[] = "Uninstall Lumivane";
const char UNINSTALL_QUESTION[] = "Are you sure you want to remove Lumivane 1.10 from this computer?\r\n\r\n"
                                  "Its files, shortcuts and registry entries will be deleted.";
const char FIXED_STAMP[] = "2001-12-10 01:10:00.000";

// The build's payload table (tests/CMakeLists.txt): id, name, the file the build made.
const std::tuple<int, const char*, const char*> s_rgPayload[] = {
#include "payload_sources.inc"
};
const char* const s_rgszInstalledFiles[] = { "Lumivane.exe", "Lumivane.hlp", "Uninstall.exe", "Lumivane.txt" };

// On the desktop (or in the Start Menu group), the title, the file opened.
const std::tuple<bool, const char*, const char*> s_rgLinks[] = {
    { true, "Lumivane", "Lumivane.exe" },
    { false, "Lumivane", "Lumivane.exe" },
    { false, "Lumivane Help", "Lumivane.hlp" },
    { false, "Uninstall Lumivane", "Uninstall.exe" },
};

// A captionless window of the installer over the whole screen, with the maker's name.
void ExpectBackdrop(const CScreen& welcome)
{
    DWORD nInstaller = 0;
    ::GetWindowThreadProcessId(welcome.Handle(), &nInstaller);
    HWND hBackdrop = FindVisibleWindow("#32770", "", nInstaller);
    RECT rect = {}, screen = { 0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN) };
    ::GetWindowRect(hBackdrop, &rect);
    if (hBackdrop == NULL || !::EqualRect(&rect, &screen))
        Fail("no backdrop over the whole screen: the installer's window without a caption covers (" +
             std::to_string(rect.left) + ", " + std::to_string(rect.top) + ") to (" + std::to_string(rect.right) +
             ", " + std::to_string(rect.bottom) + ")");
    CScreen(hBackdrop, "(backdrop)").Text(IDC_MAKER, "Orvel Software");
}

// The four files as the build made them with the fixed time stamp as each of
// their three times, the four links, and the registry values, the install
// time between the given times. A file's last-access time moves when it is
// first read (the program started, the contents compared): it is seen first.
void ExpectInstalled(const std::string& strTargetDir, time_t nNotBefore, time_t nNotAfter)
{
    for (const char* pszName : s_rgszInstalledFiles) {
        std::string strPath = strTargetDir + "\\" + pszName, strTimes;
        WIN32_FILE_ATTRIBUTE_DATA data;
        if (!::GetFileAttributesExA(strPath.c_str(), GetFileExInfoStandard, &data))
            Fail("no installed file " + strPath);
        for (const FILETIME& ft : { data.ftCreationTime, data.ftLastAccessTime, data.ftLastWriteTime })
            strTimes += std::string(strTimes.empty() ? "" : ", ") + LocalTimeText(ft);
        if (strTimes != std::string(FIXED_STAMP) + ", " + FIXED_STAMP + ", " + FIXED_STAMP)
            Fail(strPath + " was created, last read and last written " + strTimes + " local time, expected " +
                 FIXED_STAMP + " for each");
        const char* pszSource = NULL;
        for (const auto& [nId, pszRowName, pszRowSource] : s_rgPayload)
            pszSource = lstrcmpA(pszRowName, pszName) == 0 ? pszRowSource : pszSource;
        if (pszSource == NULL)
            Fail(std::string("the build's payload holds no ") + pszName);
        if (ReadWholeFile(strPath) != ReadWholeFile(pszSource))
            Fail(strPath + " differs from the file the build made, " + pszSource);
    }
    for (const auto& [bDesktop, pszTitle, pszOpened] : s_rgLinks) {
        std::string strPath = bDesktop ? DesktopLink() : ProgramsGroup() + "\\" + pszTitle + ".lnk";
        std::string strTarget = strTargetDir + "\\" + pszOpened;
        SLink link;
        if (!ReadLink(strPath, link))
            Fail("no link " + strPath);
        std::string strSeen = link.strTarget + "|" + link.strWorkingDir + "|" + link.strDescription + "|" +
                              link.strIconPath + "," + std::to_string(link.nIconIndex) + "|" +
                              std::to_string(link.nShowCmd);
        std::string strExpected = strTarget + "|" + strTargetDir + "|" + pszTitle + "|" + strTarget + ",0|1";
        if (strSeen != strExpected)
            Fail("link " + strPath + " (target|working folder|description|icon|show command) is " + ToText(strSeen) +
                 ", expected " + ToText(strExpected));
    }
    std::string strInstallTime = "the install time, between " + std::to_string(nNotBefore) + " and " +
                                 std::to_string(nNotAfter), strSeen;
    ReadMachineValue(PRODUCT_VERSION_KEY, "", strSeen);
    for (time_t t = nNotBefore; t <= nNotAfter; ++t)
        strInstallTime = strSeen == std::to_string(t) ? strSeen : strInstallTime;
    const std::tuple<const char*, const char*, std::string> values[] = {
        { PRODUCT_VERSION_KEY, "", strInstallTime },
        { APP_PATH_KEY, "", strTargetDir + "\\Lumivane.exe" },
        { APP_PATH_KEY, "Path", strTargetDir },
        { UNINSTALL_KEY, "DisplayName", "Lumivane 1.10" },
        { UNINSTALL_KEY, "UninstallString", "\"" + strTargetDir + "\\Uninstall.exe\"" },
    };
    for (const auto& [pszKey, pszName, strExpected] : values) {
        std::string strData = "(missing)";
        DWORD nType = REG_SZ;
        ReadMachineValue(pszKey, pszName, strData, &nType);
        if (nType != REG_SZ)
            strData = "(of type " + std::to_string(nType) + ")";
        if (strData != strExpected)
            Fail(std::string("HKLM\\") + pszKey + " [" + (pszName[0] ? pszName : "(default)") + "] is " +
                 ToText(strData) + ", expected " + ToText(strExpected));
    }
    Note("installed in %s: four files with the fixed time stamp, four links, three registry keys",
         strTargetDir.c_str());
}

// Checks each screen of an installation: its texts byte for byte, what must
// and must not be shown with it, at the completion box what was installed,
// and that the shell, not the installer with its rights, started Lumivane.
FnLook Look(const std::string& strProposed, const std::string& strTarget)
{
    time_t nInstallPressed = 0;
    DWORD nInstaller = 0;
    return [=](EScreen screen, CScreen& shown) mutable {
        if (screen == WELCOME) {
            ExpectBackdrop(shown);
            shown.Text(ID_TEXT, WELCOME_TEXT).Text(IDOK, "&OK").Text(IDCANCEL, "&Cancel");
        } else if (screen == LICENCE) {
            shown.Text(IDC_LICENCE_TEXT, ReadWholeFile(LV_LICENCE_TEXT)).Text(IDOK, "I Agree");
            shown.Text(IDCANCEL, "Cancel");
        } else if (screen == INSTALL_DIALOG) {
            shown.Text(IDC_TARGET_DIR, strProposed).Text(IDC_STATUS, FREE_SPACE_TEXT).Text(IDOK, "Install");
            ::GetWindowThreadProcessId(shown.Handle(), &nInstaller);
        } else if (screen == INSTALLING) {
            nInstallPressed = std::time(NULL);
        } else if (screen == COMPLETE) {
            if (FindVisibleWindow("#32770", INSTALL_DIALOG_CAPTION) != NULL)
                Fail("the install dialog is still shown behind the completion box");
            if (FindVisibleWindow(NULL, PRODUCT_CAPTION) != NULL)
                Fail("Lumivane was started before the completion box was answered");
            shown.Text(ID_TEXT, COMPLETE_TEXT);
            ExpectInstalled(strTarget, nInstallPressed, std::time(NULL));
        } else if (screen == PRODUCT) {
            shown.Text(IDC_PRODUCT_FOLDER, strTarget);
            if (ParentProcessOf(shown.Handle()) == nInstaller)
                Fail("the installer started Lumivane itself, with its own rights");
        }
    };
}

// Fails with the lines that differ; seen is a Snapshot, expected in any order.
void ExpectSame(CMachineState expected, const CMachineState& seen, const char* pszWhen)
{
    std::sort(expected.begin(), expected.end());
    auto linesOnlyIn = [](const CMachineState& state, const CMachineState& other, const char* pszMark) {
        std::string strLines;
        for (const std::string& strLine : state)
            strLines += std::binary_search(other.begin(), other.end(), strLine) ? "" : pszMark + strLine;
        return strLines;
    };
    std::string strDifferences =
        linesOnlyIn(expected, seen, "\n  missing: ") + linesOnlyIn(seen, expected, "\n  extra:   ");
    if (!strDifferences.empty())
        Fail(std::string("the machine is not as expected ") + pszWhen + ":" + strDifferences);
}

void ExpectNothingInstalled()
{
    ExpectSame({}, Snapshot(), "where nothing of Lumivane should be");
}

// A fresh installation, every screen and its result checked; strTarget empty:
// the proposed one. Returns where it installed; the product is left running.
std::string InstallChecked(const std::string& strTarget = "")
{
    std::string strInstalled = strTarget.empty() ? DefaultTargetDir() : strTarget;
    InstallAsUser(Look(DefaultTargetDir(), strInstalled), strTarget);
    return strInstalled;
}

// Wine's help viewer opens the installed help file: its window shows the
// file's title and contents topic, where a file it cannot read gets a box.
void ExpectHelpReadable(const std::string& strTarget)
{
    char szSystem[MAX_PATH];
    ::GetSystemDirectoryA(szSystem, MAX_PATH);
    CProcess viewer;
    viewer.Start(std::string(szSystem) + "\\winhlp32.exe", "\"" + strTarget + "\\Lumivane.hlp\"");
    HWND hViewer = NULL, hBox = NULL;
    WaitFor([&] {
        hViewer = FindVisibleWindow("MS_WINHELP", NULL, viewer.Id());
        return hViewer != NULL || FindVisibleWindow("#32770", NULL, viewer.Id()) != NULL;
    });
    // Answered only once the viewer has done what it does on opening the file.
    ::SendMessageTimeoutA(hViewer, WM_NULL, 0, 0, SMTO_NORMAL, DEFAULT_WAIT_MS, NULL);
    if ((hBox = FindVisibleWindow("#32770", NULL, viewer.Id())) != NULL || hViewer == NULL)
        Fail("the help viewer shows no window for Lumivane.hlp, but:" +
             (hBox ? CScreen(hBox, "").Describe() : std::string(" nothing")));
    std::string strCaption = WindowText(hViewer);
    std::string strTopic = WindowText(::FindWindowExA(hViewer, NULL, "RichEdit20A", NULL));
    if (strCaption.rfind("Lumivane 1.10 Help", 0) != 0 || strTopic.rfind("Lumivane 1.10 Help Contents\r\n", 0) != 0)
        Fail("the help viewer shows " + ToText(strCaption) + " with the topic " + ToText(strTopic.substr(0, 60)));
    ::PostMessageA(hViewer, WM_CLOSE, 0, 0);
    viewer.ExpectExitCode(0);
}

// Cancel on the welcome, then on the licence after OK on the welcome.
void Refuse()
{
    for (bool bLicence : { false, true }) {
        CProcess installer;
        StartInstaller(installer);
        CScreen welcome = installer.Expect(WELCOME_CAPTION);
        ExpectBackdrop(welcome);
        welcome.Press(bLicence ? IDOK : IDCANCEL);
        if (bLicence)
            installer.Expect(LICENCE_CAPTION).Press(IDCANCEL);
        installer.ExpectExitCode(0);
        ExpectNothingInstalled();
    }
}

// An earlier installation in a folder of the user's choice, its program
// running. The installer has it close; No to the overwrite question then
// leaves everything alone. Yes removes what the installation made (and the
// version library's leftovers) but a read-only file, proposes its folder, and
// installs over it.
void PreviousInstallation()
{
    std::string strTarget = InstallChecked(std::string(E2E_FOLDER) + "\\Old Lumivane");
    std::string strReadOnly = strTarget + "\\Lumivane.hlp";
    ::SetFileAttributesA(strReadOnly.c_str(), FILE_ATTRIBUTE_READONLY);
    const std::string rgstrForeign[] = { strTarget + "\\Notes.txt", strTarget + "\\VERSION.TMP",
                                         ProgramsGroup() + "\\Other.lnk" };
    for (const std::string& strFile : rgstrForeign)
        ::CloseHandle(::CreateFileA(strFile.c_str(), GENERIC_WRITE, 0, NULL, CREATE_NEW, 0, NULL));
    std::string strOtherKey = std::string(MAKER_KEY) + "\\Other Product";
    HKEY hKey;
    ::RegCreateKeyExA(HKEY_LOCAL_MACHINE, strOtherKey.c_str(), 0, NULL, 0, KEY_WRITE, NULL, &hKey, NULL);
    ::RegCloseKey(hKey);
    ::CloseHandle(::CreateFileA((strTarget + "\\ver2c2b.tmp").c_str(), GENERIC_WRITE, 0, NULL, CREATE_NEW, 0, NULL));
    CMachineState before = Snapshot({ strTarget });
    FnLook look = Look(strTarget, strTarget);
    CProcess refusing, installer;
    StartInstaller(refusing);
    AcceptWelcomeAndLicence(refusing, look);
    refusing.Expect("NOTICE")
        .Text(ID_TEXT, "A version of Lumivane is currently running\r\nand must be closed before installation can "
                       "continue.\r\n\r\nThis installation program will attempt to close it,\r\n"
                       "but it may be necessary to close Lumivane manually before continuing.")
        .Text(IDCANCEL, "Cancel")
        .Press(IDOK);
    refusing.Expect("OK").Text(ID_TEXT, "Lumivane has been closed, installation can continue").Press(IDOK);
    refusing.Expect("Note").Text(ID_TEXT, OVERWRITE_QUESTION).Press(IDNO);
    refusing.ExpectExitCode(0);
    if (!WaitFor([] { return FindVisibleWindow(NULL, PRODUCT_CAPTION) == NULL; }))
        Fail("Lumivane did not close when the installer asked it to");
    ExpectSame(before, Snapshot({ strTarget }), "after No to the overwrite question");

    StartInstaller(installer);
    AcceptWelcomeAndLicence(installer, look);
    installer.Expect("Note").Text(ID_TEXT, OVERWRITE_QUESTION).Press(IDYES);
    CScreen dialog = ExpectInstallDialog(installer, look);
    CMachineState kept = { "file " + DesktopLink(), "folder " + ProgramsGroup(), "folder " + strTarget,
                           "file " + strReadOnly, std::string("key HKLM\\") + MAKER_KEY, "key HKLM\\" + strOtherKey };
    for (const std::string& strFile : rgstrForeign)
        kept.push_back("file " + strFile);
    ExpectSame(kept, Snapshot({ strTarget }), "once the previous installation is removed");
    FinishInstallation(installer, dialog, look);
}

// An "LV.MSZ" that another program holds open in the typed target folder
// stops the first payload file; Cancel then undoes the run and says what it
// could not. (A read-only file would not do: Wine lets root write it.)
void FailureAndRollback()
{
    std::string strTarget = std::string(E2E_FOLDER) + "\\Halfway";
    std::string strLocked = strTarget + "\\LV.MSZ";
    ::CreateDirectoryA(strTarget.c_str(), NULL);
    HANDLE hLocked = ::CreateFileA(strLocked.c_str(), GENERIC_WRITE, 0, NULL, CREATE_NEW, 0, NULL);
    if (hLocked == INVALID_HANDLE_VALUE)
        Fail("cannot make " + strLocked);
    std::unique_ptr<void, BOOL(WINAPI*)(HANDLE)> lock(hLocked, ::CloseHandle);

    CProcess installer;
    StartInstaller(installer);
    FnLook look = Look(DefaultTargetDir(), strTarget);
    AcceptWelcomeAndLicence(installer, look);
    CScreen dialog = ExpectInstallDialog(installer, look);
    dialog.Type(IDC_TARGET_DIR, strTarget).Click(IDOK);
    installer.Expect("ERROR").Text(ID_TEXT, "Can't overwrite temporary file \"LV.MSZ\"").Press(IDOK);
    installer.Expect("ERROR").Text(ID_TEXT, "Couldn't install Lumivane.exe!").Press(IDOK);
    dialog.Text(IDC_STATUS, "Installing:\r\nInstalling application files...").Click(IDCANCEL);
    installer.Expect("Cancel Install?")
        .Text(ID_TEXT, "This will abort the installation of Lumivane 1.10\r\nDo you wish to cancel the installation?")
        .Press(IDYES);
    CScreen note = installer.Expect("NOTE").Text(ID_TEXT, "Unable to remove directory " + strTarget);
    dialog.Text(IDC_STATUS, "Stand by:\r\nAborting installation...");
    note.Press(IDOK);
    installer.Expect("Installation Incomplete").Text(ID_TEXT, "Lumivane was not installed on your system").Press(IDOK);
    installer.WaitForExit();

    ExpectNothingInstalled();
    ExpectSame({ "file " + strLocked, "folder " + strTarget }, Snapshot({ strTarget }), "after the rollback");
}

// The registered uninstaller, started as the list of removable programs
// starts it: its entry is a command line.
void StartRegisteredUninstaller(CProcess& uninstaller)
{
    std::string strCommand;
    if (!ReadMachineValue(UNINSTALL_KEY, "UninstallString", strCommand))
        Fail("no uninstaller is registered");
    uninstaller.StartCommand(strCommand);
}

// An uninstaller (by default the registered one) started as a user would,
// its first box answered; it then ends with the exit code given.
void RunUninstaller(const std::string& strBox, int nAnswer, DWORD nExitCode, std::string strProgram = "")
{
    CProcess uninstaller;
    if (strProgram.empty())
        StartRegisteredUninstaller(uninstaller);
    else
        uninstaller.Start(strProgram);
    uninstaller.Expect(UNINSTALL_CAPTION).Text(ID_TEXT, strBox).Press(nAnswer);
    uninstaller.ExpectExitCode(nExitCode);
}

// The registered uninstaller, answered Yes; its copy does the work and reports.
void UninstallAsUser(const std::string& strResult)
{
    RunUninstaller(UNINSTALL_QUESTION, IDYES, 0);
    Expect(UNINSTALL_CAPTION).Text(ID_TEXT, strResult).Press(IDOK);
}

// While the uninstaller's copy reports, it runs from a folder of its own
// directly in the Windows folder's Temp, out of reach of the user's programs,
// not from the user's temporary folder. The folder's access list lets only
// SYSTEM, the Administrators group and its owner (the administrator who made
// it) in, and nobody can delete or rename its file. (Wine keeps no access
// lists: it shows one from the folder's Linux mode, which it set from ours.)
void ExpectCopyShut(const CScreen& report)
{
    std::string strFolder = WindowsTempFolder(), strOthers;
    ForEachFile(strFolder + "LVU*.tmp", [&](const WIN32_FIND_DATAA& found) { strFolder += found.cFileName; });
    const std::string strImage = ImageOf(report.Handle());
    if (::lstrcmpiA(strImage.c_str(), (strFolder + "\\Uninstall.exe").c_str()) != 0)
        Fail("the uninstaller's copy runs from " + strImage + ", not from a folder of its own in " + WindowsTempFolder());
    const std::string strText = ReadAccessText(strFolder);
    std::string strOwner = strText.substr(0, strText.find("D:")) + ")";
    for (size_t nEnd = strText.find(')'); nEnd != std::string::npos; nEnd = strText.find(')', nEnd + 1)) {
        std::string strTrustee = strText.substr(strText.rfind(';', nEnd) + 1, nEnd - strText.rfind(';', nEnd));
        strOthers += strTrustee == "SY)" || strTrustee == "BA)" || "O:" + strTrustee == strOwner ? "" : " " + strTrustee;
    }
    if (strText.find("D:") == std::string::npos || !strOthers.empty())
        Fail(strFolder + " lets in others than SYSTEM, the Administrators and its owner: " + strText);
    HANDLE hCopy = ::CreateFileA((strFolder + "\\Uninstall.exe").c_str(), DELETE,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, NULL, OPEN_EXISTING, 0, NULL);
    DWORD nError = hCopy == INVALID_HANDLE_VALUE ? ::GetLastError() : (::CloseHandle(hCopy), ERROR_SUCCESS);
    if (nError != ERROR_SHARING_VIOLATION)
        Fail("the uninstaller's copy is not held against deletion while it runs");
}

// Once the uninstaller's copy has ended and its folder is gone, only the
// maker's key is left: only the product's keys are ours.
void ExpectRemovedWhole(const char* pszWhen)
{
    const CMachineState left = { std::string("key HKLM\\") + MAKER_KEY };
    WaitFor([&] { return Snapshot() == left; });
    ExpectSame(left, Snapshot(), pszWhen);
}

// The registered uninstaller takes back what the installation made and
// nothing else. It refuses while Lumivane runs, and a copy of it elsewhere
// belongs to no installation; neither, nor No to its question, removes
// anything (nor leaves a copy at work). Only the product's keys are ours.
void Uninstall()
{
    CMachineState expected = Snapshot();
    std::string strTarget = InstallChecked();
    std::string strStray = std::string(E2E_FOLDER) + "\\Uninstall.exe";
    ::CopyFileA((strTarget + "\\Uninstall.exe").c_str(), strStray.c_str(), FALSE);
    CMachineState installed = Snapshot();
    RunUninstaller("Lumivane is running.\r\n\r\nClose Lumivane, then start the uninstaller again. "
                   "Nothing has been removed.", IDOK, 1);
    CloseProduct();
    RunUninstaller(std::string("Lumivane 1.10 is not installed in\r\n") + E2E_FOLDER +
                       "\r\n\r\nThis uninstaller removes only the installation it belongs to. "
                       "Nothing has been removed.", IDOK, 1, strStray);
    RunUninstaller(UNINSTALL_QUESTION, IDNO, 0);
    ExpectSame(installed, Snapshot(), "after uninstallers that were refused or answered No");

    const std::string rgstrForeign[] = { strTarget + "\\Notes.txt", ProgramsGroup() + "\\Other.lnk" };
    for (const std::string& strFile : rgstrForeign) {
        ::CloseHandle(::CreateFileA(strFile.c_str(), GENERIC_WRITE, 0, NULL, CREATE_NEW, 0, NULL));
        expected.insert(expected.end(), { "file " + strFile, "folder " + strFile.substr(0, strFile.rfind('\\')) });
    }
    std::string strOtherKey = std::string(MAKER_KEY) + "\\Other Product";
    HKEY hKey;
    ::RegCreateKeyExA(HKEY_LOCAL_MACHINE, strOtherKey.c_str(), 0, NULL, 0, KEY_WRITE, NULL, &hKey, NULL);
    ::RegCloseKey(hKey);
    expected.insert(expected.end(), { std::string("key HKLM\\") + MAKER_KEY, "key HKLM\\" + strOtherKey });
    // What the version library leaves of an expansion cut short is the installation's.
    ::CloseHandle(::CreateFileA((strTarget + "\\ver1f.tmp").c_str(), GENERIC_WRITE, 0, NULL, CREATE_NEW, 0, NULL));
    // Read-only files of ours go too, and the uninstaller's copy of its own.
    for (const char* pszName : { "\\Uninstall.exe", "\\Lumivane.hlp" })
        ::SetFileAttributesA((strTarget + pszName).c_str(), FILE_ATTRIBUTE_READONLY);
    RunUninstaller(UNINSTALL_QUESTION, IDYES, 0);
    CScreen result = Expect(UNINSTALL_CAPTION);
    result.Text(ID_TEXT, "Lumivane 1.10 has been removed, except for these items:\r\n\r\n" + ProgramsGroup() +
                             " (kept: it holds other files)\r\n" + strTarget + " (kept: it holds other files)");
    ExpectCopyShut(result);
    result.Press(IDOK);
    std::sort(expected.begin(), expected.end());
    WaitFor([&] { return Snapshot() == expected; });  // the copy's own file goes once it has ended
    ExpectSame(expected, Snapshot(), "after the uninstallation");
    // A copy's folder that an interrupted removal left: the reset after the scenario takes it.
    ::CreateDirectoryA((WindowsTempFolder() + "LVU0000.tmp").c_str(), NULL);
    ::CloseHandle(::CreateFileA((WindowsTempFolder() + "LVU0000.tmp\\Uninstall.exe").c_str(), GENERIC_WRITE, 0, NULL,
                                CREATE_NEW, FILE_ATTRIBUTE_READONLY, NULL));
}

// Where in the program file the middle of its code stands, or its last byte
// (the run-time library's lists of constructors and destructors).
size_t CodeOffset(const std::string& strImage, bool bEnd)
{
    const IMAGE_NT_HEADERS* pNt = reinterpret_cast<const IMAGE_NT_HEADERS*>(
        strImage.data() + reinterpret_cast<const IMAGE_DOS_HEADER*>(strImage.data())->e_lfanew);
    const IMAGE_SECTION_HEADER* pFirst = IMAGE_FIRST_SECTION(pNt);  // where PE32 and PE32+ agree
    for (auto pSection = pFirst; pSection < pFirst + pNt->FileHeader.NumberOfSections; ++pSection) {
        if (std::memcmp(pSection->Name, ".text", 6) == 0)
            return pSection->PointerToRawData + (bEnd ? pSection->Misc.VirtualSize - 1 : pSection->Misc.VirtualSize / 2);
    }
    Fail("no code section in " + InstallerPath());
}

// A damaged or cut-short download, or one with gigabytes stuck on (which a
// 32-bit program could not read whole), is refused before any window, and
// nothing changes.
void DamagedCopies()
{
    const std::string strImage = ReadWholeFile(InstallerPath());
    const size_t CUT_SHORT = std::string::npos, LONG_TAIL = CUT_SHORT - 1;
    const std::pair<const char*, size_t> rgDamage[] = {
        { "a payload resource", strImage.find(std::string("SZDD\x88\xF0\x27\x33", 8)) + 200 },
        { "the licence text", strImage.find(ReadWholeFile(LV_LICENCE_TEXT).substr(0, 64)) + 32 },
        { "the code", CodeOffset(strImage, false) },
        { "what runs before the program's own start-up", CodeOffset(strImage, true) },
        { "cut short", CUT_SHORT },  // by a byte of the last section's padding: the system still starts it
        { "a long tail", LONG_TAIL },
    };
    std::string strCopy = std::string(E2E_FOLDER) + "\\Damaged.exe";
    for (const auto& [pszWhat, nOffset] : rgDamage) {
        std::string strDamaged = nOffset == CUT_SHORT ? strImage.substr(0, strImage.size() - 1) : strImage;
        if (nOffset < LONG_TAIL)
            strDamaged.at(nOffset) ^= 0x55;
        FILE* pFile = std::fopen(strCopy.c_str(), "wb");
        if (pFile == NULL || std::fwrite(strDamaged.data(), 1, strDamaged.size(), pFile) != strDamaged.size() ||
            (nOffset == LONG_TAIL && _fseeki64(pFile, 3LL << 30, SEEK_END) != 0) ||
            (nOffset == LONG_TAIL && std::fputc(0, pFile) == EOF) || std::fclose(pFile) != 0)
            Fail("cannot write " + strCopy);
        CProcess copy;
        copy.Start(strCopy);
        CScreen box = copy.Expect("ERROR").Text(ID_TEXT, "Setup file is corrupted!");
        if (FindVisibleWindow(NULL, NULL, copy.Id()) != box.Handle())
            Fail(std::string("with ") + pszWhat + " damaged, the installer shows more than its error box");
        box.Press(IDOK);
        copy.ExpectExitCode(0);
        ExpectNothingInstalled();
    }
}

void ExpectOnlyTheFourFiles(const std::string& strTarget, const std::string& strWhen)
{
    CMachineState files;
    ForEachFile(strTarget + "\\*", [&](const WIN32_FIND_DATAA& found) { files.push_back(found.cFileName); });
    std::sort(files.begin(), files.end());
    if (files != CMachineState{ "Lumivane.exe", "Lumivane.hlp", "Lumivane.txt", "Uninstall.exe" })
        Fail(strWhen + ", the folder holds more or less than the four files");
}

// Up to the install dialog, answering Yes to the overwrite question if it comes.
CScreen OpenInstallDialog(CProcess& installer)
{
    StartInstaller(installer);
    AcceptWelcomeAndLicence(installer, [](EScreen, CScreen&) {});
    HWND hNote = NULL;
    WaitFor([&] {
        hNote = FindVisibleWindow("#32770", "Note", installer.Id());
        return hNote != NULL || FindVisibleWindow("#32770", INSTALL_DIALOG_CAPTION, installer.Id()) != NULL;
    });
    if (hNote != NULL)
        CScreen(hNote, "Note").Press(IDYES);
    return ExpectInstallDialog(installer, [](EScreen, CScreen&) {});
}

// The steps of an installation, as its status line and its folder show them:
// a payload file's expansion leaves LV.MSZ or LV.XXX in the folder.
const char* const s_rgszSteps[] = {
    "before Install was handled", "making the directory", "before the first payload file",
    "inside the expansion of Lumivane.exe", "just past Lumivane.exe", "inside the expansion of Lumivane.hlp",
    "just past Lumivane.hlp", "inside the expansion of Uninstall.exe", "just past Uninstall.exe",
    "inside the expansion of Lumivane.txt", "just past Lumivane.txt", "making the desktop link",
    "making the Start Menu links", "writing the registry", "at the completion box",
};
const std::pair<int, const char*> s_rgStatusSteps[] = {
    { 1, "Installing:\r\nCreating installation directory..." },
    { 2, "Installing:\r\nInstalling application files..." },
    { 11, "Installing:\r\nInstalling DeskTop shortcut..." },
    { 12, "Installing:\r\nInstalling Start Menu shortcuts..." },
    { 13, "Installing:\r\nUpdating system registry..." },
    { 14, "Installation complete:\r\nLumivane installed successfuly" },
};

// The furthest step that the status line or the folder shows.
int StepShown(const std::string& strStatus, const std::string& strTarget)
{
    int nStep = 0, nFiles = 0, bExpanding = 0;
    for (const auto& [nStatusStep, pszStatus] : s_rgStatusSteps)
        nStep = strStatus == pszStatus ? nStatusStep : nStep;
    ForEachFile(strTarget + "\\*", [&](const WIN32_FIND_DATAA& found) {
        std::string strName = found.cFileName;
        bExpanding |= strName == "LV.MSZ" || strName == "LV.XXX";
        for (const char* pszInstalled : s_rgszInstalledFiles)
            nFiles += strName == pszInstalled;
    });
    return nFiles > 0 || bExpanding ? std::max(nStep, 2 + 2 * nFiles + bExpanding) : nStep;
}

// The installer killed (power lost, the task manager) once it is seen to have
// got to each of its phases, then run again: each time the second run leaves
// exactly one whole installation, which the uninstaller then removes whole.
// Where each kill landed is told, and at least one must land inside an
// expansion, where the folder holds half-made files.
void KilledAndRunAgain()
{
    std::string strTarget = DefaultTargetDir();
    int nInExpansion = 0;
    for (int nAim : { 0, 3, 5, 7, 9, 11, 13 }) {  // at once, each expansion, the links, the registry
        CProcess killed;
        CScreen dialog = OpenInstallDialog(killed);
        HWND hStatus = ::GetDlgItem(dialog.Handle(), IDC_STATUS);
        HANDLE hKilled = ::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, killed.Id());
        dialog.Click(IDOK);
        // Polled without a pause: an expansion takes a few milliseconds. The
        // status line is read from the system, not from the busy installer.
        char szStatus[128] = "";
        for (DWORD nStart = ::GetTickCount(); ::GetTickCount() - nStart < DEFAULT_WAIT_MS; ::SwitchToThread()) {
            ::GetWindowTextA(hStatus, szStatus, sizeof(szStatus));
            if (StepShown(szStatus, strTarget) >= nAim)
                break;
        }
        ::TerminateProcess(hKilled, 1);
        ::WaitForSingleObject(hKilled, DEFAULT_WAIT_MS);
        ::CloseHandle(hKilled);
        int nLanded = StepShown(szStatus, strTarget);
        if (nLanded < nAim)
            Fail(std::string("the installer was not seen ") + s_rgszSteps[nAim] + " within " +
                 std::to_string(DEFAULT_WAIT_MS / 1000) + " s");
        std::string strLanded = s_rgszSteps[nLanded], strLeft;
        nInExpansion += strLanded.rfind("inside", 0) == 0;
        ForEachFile(strTarget + "\\*", [&](const WIN32_FIND_DATAA& found) { strLeft += std::string(" ") + found.cFileName; });
        Note("killed when seen %s: landed %s, leaving in the folder:%s", s_rgszSteps[nAim], strLanded.c_str(),
             strLeft.c_str());

        CProcess again;
        dialog = OpenInstallDialog(again);
        FinishInstallation(again, dialog, Look(strTarget, strTarget));
        CloseProduct();
        ExpectOnlyTheFourFiles(strTarget, "after a kill " + strLanded + " and a new run");
    }
    UninstallAsUser("Lumivane 1.10 has been removed from this computer.");
    ExpectRemovedWhole("after the uninstallation");
    if (nInExpansion == 0)
        Fail("no kill landed inside the expansion of a payload file");
}

// Started while another set-up runs: one box, its exit code, nothing changed.
void ExpectTurnedAway(bool bUninstaller, const char* pszWhile)
{
    CMachineState before = Snapshot();
    CProcess second;
    if (bUninstaller)
        StartRegisteredUninstaller(second);
    else
        second.Start(InstallerPath());
    CScreen box = second.Expect(bUninstaller ? UNINSTALL_CAPTION : "Install Lumivane");
    box.Text(ID_TEXT, bUninstaller ? "Another installation or removal of Lumivane is in progress.\r\n\r\n"
                                     "Let it finish, then start the uninstaller again. Nothing has been removed."
                                   : "Another installation or removal of Lumivane is in progress; "
                                     "please let it finish first.");
    // The box comes before any other window: the backdrop is the first of them.
    if (FindVisibleWindow(NULL, NULL, second.Id()) != box.Handle() || FindVisibleWindow("#32770", "", second.Id()))
        Fail(std::string("started while ") + pszWhile + ", it shows more than its box");
    box.Press(IDOK);
    second.ExpectExitCode(bUninstaller ? 1 : 0);
    ExpectSame(before, Snapshot(), (std::string("after a set-up started while ") + pszWhile).c_str());
}

// The desktop shell stops answering while the completion box is up: set-up
// ends all the same soon after OK, lets the next set-up in at once, and
// does not start Lumivane with its own rights. (Under Wine it runs elevated
// from the user's own rights: it does not start Lumivane at all then.)
void FinishWithShellHung(CProcess& installer, CScreen& dialog)
{
    dialog.Click(IDOK);
    CScreen done = installer.Expect(COMPLETE_CAPTION);
    {
        CSuspendedProcesses shell("explorer.exe");
        done.Press(IDOK);
        installer.WaitForExit(20000);
    }
    // Wine's windows need the shell: the next set-up starts once it answers again.
    CProcess next;
    StartInstaller(next);
    next.Expect(WELCOME_CAPTION).Press(IDCANCEL);
    next.ExpectExitCode(0);
    if (IsParentOf(installer.Id(), "Lumivane.exe"))
        Fail("with the shell hung, the installer started Lumivane itself, with its own rights");
}

// A set-up held at a moment of its run, a second one started then and turned
// away, and the first going on undisturbed; each case leaves the next its
// machine (installed after the first, removed after the last).
void OneSetupAtATime()
{
    CProcess first, overwriting, uninstaller;
    CScreen shown(NULL, "");
    HANDLE hSquatter = NULL;
    const FnLook look = [](EScreen, CScreen&) {};
    const std::tuple<const char*, bool, std::function<void()>, std::function<void()>> rgCases[] = {
        { "an installer is at its install dialog", false, [&] { shown = OpenInstallDialog(first); },
          [&] { FinishWithShellHung(first, shown); } },
        // Another user's event under the mutex's name, where the system has no
        // private namespace for the mutex (as under Wine): both programs refuse.
        { "an event squats the set-up mutex's name", false,
          [&] { hSquatter = ::CreateEventA(NULL, FALSE, FALSE, "Global\\InstallLV_Lumivane_Setup"); }, [] {} },
        { "an event squats the set-up mutex's name", true, [] {}, [&] { ::CloseHandle(hSquatter); } },
        { "an installer asks whether to overwrite", true,
          [&] {
              StartInstaller(overwriting);
              AcceptWelcomeAndLicence(overwriting, look);
              shown = overwriting.Expect("Note");
          },
          [&] { shown.Press(IDNO); overwriting.ExpectExitCode(0); } },
        { "the uninstaller asks for confirmation", false,
          [&] {
              StartRegisteredUninstaller(uninstaller);
              shown = uninstaller.Expect(UNINSTALL_CAPTION);
          },
          [&] { shown.Press(IDYES); uninstaller.ExpectExitCode(0); } },
        { "the uninstaller's copy reports", false,
          [&] {
              shown = Expect(UNINSTALL_CAPTION).Text(ID_TEXT, "Lumivane 1.10 has been removed from this computer.");
          },
          [&] {
              shown.Press(IDOK);
              ExpectRemovedWhole("after the removal");
          } },
    };
    for (const auto& [pszWhile, bUninstaller, fnReach, fnGoOn] : rgCases) {
        fnReach();
        ExpectTurnedAway(bUninstaller, pszWhile);
        fnGoOn();
    }
}

// Outside the scenarios' folder, so Reset takes it away.
std::string TemporaryPlantedLibrary()
{
    return TemporaryFolder() + "version.dll";
}

// A copy of the installer, in a folder of the scenarios' own (UTF-8), is the
// one the user runs.
std::string CopyInstallerInto(const std::string& strFolder)
{
    ::CreateDirectoryA(strFolder.c_str(), NULL);
    if (!::CopyFileA(InstallerPath().c_str(), (strFolder + "\\InstallLV.exe").c_str(), FALSE))
        Fail("cannot copy the installer into " + strFolder);
    UseInstallerCopy(strFolder + "\\InstallLV.exe");
    return strFolder + "\\InstallLV.exe";
}

// Libraries named like the version library (planted_library.c) beside a
// downloaded installer and in the temporary folder, with Wine searching as
// Windows does for a library it does not know (tests/e2e/CMakeLists.txt): the
// installer and its uninstaller load none, and the installation works. Wine's
// own user32 imports that library, from the program's folder as the process
// starts, before any of its code: that load beside the installer is Wine's.
void PlantedLibrary()
{
    std::string strDownloads = std::string(E2E_FOLDER) + "\\Downloads";
    CopyInstallerInto(strDownloads);
    const std::pair<std::string, const char*> rgPlanted[] = { { strDownloads + "\\version.dll", "S" },
                                                              { TemporaryPlantedLibrary(), "" } };
    for (const auto& [strPlanted, pszAllowed] : rgPlanted) {
        if (!::CopyFileA(LV_PLANTED_LIBRARY, strPlanted.c_str(), FALSE))
            Fail("cannot plant " + strPlanted);
    }
    InstallChecked();
    CloseProduct();
    UninstallAsUser("Lumivane 1.10 has been removed from this computer.");
    ExpectRemovedWhole("after the uninstallation");
    for (const auto& [strPlanted, pszAllowed] : rgPlanted) {
        std::string strLoads = PathExists(strPlanted + ".loaded") ? ReadWholeFile(strPlanted + ".loaded") : "";
        if (strLoads.find_first_not_of(pszAllowed) != std::string::npos)
            Fail("the planted " + strPlanted + " was loaded (S: at a start, R: at run time): " + strLoads);
    }
}

// The 1 MB drive G: fills up once Lumivane.exe is in, while the help file is
// written or expanded; Cancel then leaves no folder. The installer is caught
// where it waits for the earlier Lumivane.exe, held until the drive is full.
void DiskFillsUp()
{
    const std::string strTarget = "G:\\Lumivane";
    HMODULE hImage = ::LoadLibraryExA(InstallerPath().c_str(), NULL, LOAD_LIBRARY_AS_DATAFILE);
    DWORD nHelpStored = ::SizeofResource(hImage, ::FindResourceA(hImage, MAKEINTRESOURCEA(136), "MSZ"));
    ::FreeLibrary(hImage);
    const ULONGLONG PAGE = 4096;  // the file system's unit of room
    const std::pair<ULONGLONG, std::vector<std::string>> rgCases[] = {
        { 0, { "Insufficient space, or disk error" } },
        // Room for LV.MSZ and one page more: not for its expansion.
        { (nHelpStored + PAGE - 1) / PAGE * PAGE + PAGE,
          { "Can't expand installation file Lumivane.hlp", "Can't rename installation file Lumivane.hlp" } },
    };
    for (const auto& [nRoomLeft, boxes] : rgCases) {
        RemoveTree(strTarget);
        ::DeleteFileA("G:\\filler");
        ::CreateDirectoryA(strTarget.c_str(), NULL);
        std::string strEarlier = strTarget + "\\Lumivane.exe";
        HANDLE hEarlier = ::CreateFileA(strEarlier.c_str(), GENERIC_WRITE, 0, NULL, CREATE_NEW, 0, NULL);
        CProcess installer;
        CScreen dialog = OpenInstallDialog(installer);
        dialog.Type(IDC_TARGET_DIR, strTarget).Click(IDOK);
        if (!WaitFor([&] { return PathExists(strTarget + "\\LV.XXX") && !PathExists(strTarget + "\\LV.MSZ"); }))
            Fail("the installer did not expand Lumivane.exe on G:");
        ULARGE_INTEGER free;  // another program takes all the room but nRoomLeft
        ::GetDiskFreeSpaceExA("G:\\", &free, NULL, NULL);
        std::string strFiller(static_cast<size_t>(free.QuadPart - nRoomLeft), 'f');
        FILE* pFiller = std::fopen("G:\\filler", "wb");
        if (pFiller == NULL || std::fwrite(strFiller.data(), 1, strFiller.size(), pFiller) != strFiller.size())
            Fail("cannot fill drive G:");
        std::fclose(pFiller);
        ::CloseHandle(hEarlier);
        for (const std::string& strBox : boxes)
            installer.Expect("ERROR").Text(ID_TEXT, strBox).Press(IDOK);
        installer.Expect("ERROR").Text(ID_TEXT, "Couldn't install Lumivane.hlp!").Press(IDOK);
        ForEachFile(strTarget + "\\ver*.tmp", [](const WIN32_FIND_DATAA& found) {
            Fail(std::string("the failed expansion left ") + found.cFileName);
        });
        dialog.Click(IDCANCEL);
        installer.Expect("Cancel Install?").Press(IDYES);
        installer.Expect("Installation Incomplete").Press(IDOK);
        installer.WaitForExit();
        ExpectNothingInstalled();
        if (PathExists(strTarget))
            Fail("the rollback left " + strTarget);
    }
}

// Another program that opens each new file of the folder exclusively as soon
// as its writer lets go and holds it for 300 ms, as a virus scanner does,
// until told to stop. Gives back the names it held.
std::set<std::string> HoldNewFiles(const std::string& strFolder, const std::atomic<bool>& bStop)
{
    std::mutex mutex;
    std::set<std::string> seen, everHeld;  // seen: there at the last look
    std::vector<std::thread> holders;
    auto hold = [&](std::string strPath) {
        HANDLE hFile;
        while ((hFile = ::CreateFileA(strPath.c_str(), GENERIC_READ, 0, NULL, OPEN_EXISTING, 0, NULL)) ==
               INVALID_HANDLE_VALUE) {
            if (::GetLastError() != ERROR_SHARING_VIOLATION || bStop)
                return;  // gone, or never let go
            ::Sleep(1);
        }
        ::Sleep(300);
        ::CloseHandle(hFile);
        std::lock_guard<std::mutex> lock(mutex);
        everHeld.insert(strPath.substr(strFolder.size() + 1));
    };
    for (; !bStop; ::Sleep(1)) {
        std::set<std::string> present;
        ForEachFile(strFolder + "\\*", [&](const WIN32_FIND_DATAA& found) { present.insert(found.cFileName); });
        for (const std::string& strName : present) {
            if (seen.count(strName) == 0)
                holders.emplace_back(hold, strFolder + "\\" + strName);
        }
        seen.swap(present);
    }
    for (std::thread& holder : holders)
        holder.join();
    return everHeld;
}

// Each file of the installation held for a moment as it appears: the
// installation still succeeds, whole and with nothing more, every time.
void HeldFiles()
{
    for (int nRun = 1; nRun <= 3; ++nRun) {
        Reset();
        std::string strTarget = DefaultTargetDir();
        std::atomic<bool> bStop(false);
        std::set<std::string> held;
        std::thread holder([&] { held = HoldNewFiles(strTarget, bStop); });
        auto stop = [&] {
            bStop = true;
            if (holder.joinable())
                holder.join();
        };
        FnLook look = Look(strTarget, strTarget);
        // Until the installer is done with its files (a hold would keep the
        // product from starting); the look then checks the installation.
        try {
            InstallAsUser([&](EScreen screen, CScreen& shown) {
                if (screen == COMPLETE)
                    stop();
                look(screen, shown);
            });
        } catch (const CWalkFailure&) {
            stop();
            throw;
        }
        ExpectOnlyTheFourFiles(strTarget, "after an installation with its files held");
        auto isHeld = [&](const char* pszName) { return held.count(pszName) > 0; };
        if (!std::all_of(std::begin(s_rgszInstalledFiles), std::end(s_rgszInstalledFiles), isHeld))
            Fail("the holder did not hold every installed file");
    }
}

// As on a Japanese Windows (code page 932, tests/e2e/CMakeLists.txt), for a
// user whose own folders lie below a name that code page cannot spell
// ("user" in Korean), running the installer from a folder named in Chinese
// ("downloads"): a typed target below "software" (ソ's second byte is a
// backslash's) that ends in such characters after a Korean one (Lumivane
// must show it whole) is installed there and nowhere else, with the links in
// the moved folders, and removed again by the uninstaller, whose copy runs in
// the Windows folder's Temp all the same. Its entry is in the form written
// before it was quoted, which the uninstaller still takes.
void EveryUsersPaths()
{
    const std::string strSoftware = std::string(E2E_FOLDER) + "\\\xE3\x82\xBD\xE3\x83\x95\xE3\x83\x88";
    const std::string strTarget = strSoftware + "\\\xED\x95\x9C\xE3\x83\x9D\xE8\xA1\xA8";
    const std::string strUser = std::string(E2E_FOLDER) + "\\\xEC\x82\xAC\xEC\x9A\xA9\xEC\x9E\x90";
    const std::string strDownloads = std::string(E2E_FOLDER) + "\\\xE4\xB8\x8B\xE8\xBD\xBD";
    CMovedUserFolders moved(strUser);
    if (ProgramsGroup().rfind(strUser, 0) != 0 || DesktopLink().rfind(strUser, 0) != 0)
        Fail("the shell does not name the moved folders below " + strUser + ": " + ProgramsGroup());
    CopyInstallerInto(strDownloads);
    InstallChecked(strTarget);
    CloseProduct();
    std::set<std::string> seen;  // a level cut inside a character would stand beside them
    for (const std::string& strFolder : { std::string(E2E_FOLDER), strSoftware })
        ForEachFile(strFolder + "\\*", [&](const WIN32_FIND_DATAA& found) { seen.insert(strFolder + "\\" + found.cFileName); });
    if (seen != std::set<std::string>{ strSoftware, strUser, strDownloads, strTarget })
        Fail("installing into " + strTarget + " made more than that folder in " + E2E_FOLDER);
    HKEY hKey;
    const std::string strBare = strTarget + "\\Uninstall.exe";
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, UNINSTALL_KEY, 0, KEY_SET_VALUE | INSTALLER_VIEW, &hKey) != ERROR_SUCCESS)
        Fail("cannot open the uninstall entry");
    ::RegSetValueExA(hKey, "UninstallString", 0, REG_SZ, reinterpret_cast<const BYTE*>(strBare.c_str()),
                     static_cast<DWORD>(strBare.size() + 1));
    ::RegCloseKey(hKey);
    UninstallAsUser("Lumivane 1.10 has been removed from this computer.");
    ExpectRemovedWhole("after the removal");
    if (PathExists(strTarget))
        Fail("the uninstaller left " + strTarget);
}

const std::pair<const char*, void (*)()> s_rgScenarios[] = {
    { "fresh_install", [] { ExpectHelpReadable(InstallChecked()); } },
    { "welcome_and_licence_refused", Refuse },
    { "previous_installation", PreviousInstallation },
    { "failure_and_rollback", FailureAndRollback },
    { "uninstall", Uninstall },
    { "damaged_copies", DamagedCopies },
    { "killed_and_run_again", KilledAndRunAgain },
    { "one_setup_at_a_time", OneSetupAtATime },
    { "planted_library", PlantedLibrary },
    { "every_users_paths", EveryUsersPaths },
    { "disk_fills_up", DiskFillsUp },
    { "held_files", HeldFiles },
};

// Nothing of ours on the machine, and the scenarios' own folder empty.
void Reset()
{
    ::DeleteFileA(TemporaryPlantedLibrary().c_str());
    ::DeleteFileA((TemporaryPlantedLibrary() + ".loaded").c_str());
    ResetMachine();
    RemoveTree(E2E_FOLDER);
    ::CreateDirectoryA(E2E_FOLDER, NULL);
}

bool Passes(const char* pszWhat, void (*pfnRun)())
{
    try {
        pfnRun();
        return true;
    } catch (const CWalkFailure& failure) {
        std::printf("FAILED %s: %s\n", pszWhat, failure.what());
        std::fflush(stdout);
        return false;
    }
}

}  // namespace

int main(int argc, char* argv[])
{
    for (const auto& [pszName, pfnRun] : s_rgScenarios) {
        if (argc != 2 || std::string(argv[1]) != pszName)
            continue;
        ::CoInitialize(NULL);
        bool bPassed = Passes(pszName, Reset) && Passes(pszName, pfnRun);
        if (bPassed)
            std::printf("PASSED %s\n", pszName);
        // The other tests share the prefix and expect no Lumivane on it; and
        // nothing the scenario started may outlive it, or it would hold the
        // test runner's output open.
        return Passes("to leave the machine clean", Reset) && bPassed ? 0 : 1;
    }
    std::printf("usage: e2e_driver SCENARIO\nscenarios:\n");
    for (const auto& [pszName, pfnRun] : s_rgScenarios)
        std::printf("  %s\n", pszName);
    return 2;
}
