#include "scenarios.h"

#include <algorithm>
#include <cstdio>
#include <memory>

#include "installed.h"
#include "machine.h"
#include "process.h"
#include "scenario.h"
#include "screen.h"
#include "steps.h"

static void FreshInstall()
{
    InstallAsUser();
}

// README's walk-through: the fresh installation, then what it left.
static void WalkThrough()
{
    PrintAccount(InstallAsUser());
}

static void WelcomeRefused()
{
    CProcess installer;
    StartInstaller(installer);
    CScreen welcome = installer.Expect("Lumivane Installation");
    ExpectBackdrop(installer);
    welcome.Press(IDCANCEL);
    installer.ExpectExitCode(0);
    ExpectNothingInstalled();
}

static void LicenceRefused()
{
    CProcess installer;
    StartInstaller(installer);
    installer.Expect("Lumivane Installation").Press(IDOK);
    installer.Expect("Dialog").Press(IDCANCEL);
    installer.ExpectExitCode(0);
    ExpectNothingInstalled();
}

static const char RUNNING_NOTICE[] =
    "A version of Lumivane is currently running\r\nand must be closed before installation can continue.\r\n\r\n"
    "This installation program will attempt to close it,\r\n"
    "but it may be necessary to close Lumivane manually before continuing.";

// The installed copy is running when the installer starts again: it is asked
// to close, and the installation goes on over the previous one.
static void ProductRunning()
{
    std::string strTarget = InstallAsUser();
    CloseProduct();
    CProcess product;
    product.Start(strTarget + "\\Lumivane.exe");
    ExpectWindow(NULL, "Lumivane", product.Id());

    CProcess installer;
    StartInstaller(installer);
    AcceptWelcomeAndLicence(installer);
    installer.Expect("NOTICE").Text(ID_TEXT, RUNNING_NOTICE).Text(IDCANCEL, "Cancel").Press(IDOK);
    product.ExpectExitCode(0);
    installer.Expect("OK").Text(ID_TEXT, "Lumivane has been closed, installation can continue").Press(IDOK);
    installer.Expect("Note").Text(ID_TEXT, OVERWRITE_QUESTION).Press(IDYES);
    CScreen dialog = ExpectInstallDialog(installer, strTarget);
    time_t nStart = std::time(NULL);
    FinishInstallation(installer, dialog, strTarget);
    ExpectInstalled(strTarget, nStart, std::time(NULL));
}

// An earlier installation in a folder of the user's choice: No leaves it
// alone; Yes removes its files, links and keys and proposes its folder.
static void PreviousInstallation()
{
    std::string strTarget = InstallAsUser(std::string(E2E_FOLDER) + "\\Old Lumivane");
    CloseProduct();
    std::string strForeign = strTarget + "\\Notes.txt";
    ::CloseHandle(::CreateFileA(strForeign.c_str(), GENERIC_WRITE, 0, NULL, CREATE_NEW, 0, NULL));
    CMachineState before = Snapshot({ strTarget });

    CProcess refusing;
    StartInstaller(refusing);
    AcceptWelcomeAndLicence(refusing);
    refusing.Expect("Note").Text(ID_TEXT, OVERWRITE_QUESTION).Press(IDNO);
    refusing.ExpectExitCode(0);
    ExpectSame(before, Snapshot({ strTarget }), "after No to the overwrite question");

    CProcess installer;
    StartInstaller(installer);
    AcceptWelcomeAndLicence(installer);
    installer.Expect("Note").Press(IDYES);
    CScreen dialog = ExpectInstallDialog(installer, strTarget);
    CMachineState expected = { "file " + DesktopLink(), "file " + strForeign, "folder " + ProgramsGroup(),
                               "folder " + strTarget, std::string("key HKLM\\") + MAKER_KEY };
    std::sort(expected.begin(), expected.end());
    ExpectSame(expected, Snapshot({ strTarget }), "once the previous installation is removed");
    time_t nStart = std::time(NULL);
    FinishInstallation(installer, dialog, strTarget);
    ExpectInstalled(strTarget, nStart, std::time(NULL));
    if (!PathExists(strForeign))
        Fail("the installation removed " + strForeign + ", which is not its own");
}

// An "LV.MSZ" that another program holds open in the typed target folder
// stops the first payload file; Cancel then undoes the run and says what it
// could not. (A read-only file would not do: Wine lets root write it.)
static void FailureAndRollback()
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
    AcceptWelcomeAndLicence(installer);
    CScreen dialog = ExpectInstallDialog(installer, DefaultTargetDir());
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

static const char UNINSTALL_CAPTION[] = "Uninstall Lumivane";

// The registered uninstaller takes the machine back to where it was. The
// maker's key stays, empty: removing an installation takes the product's own
// key below it, as the installer's removal of a previous installation does.
static void Uninstall()
{
    CMachineState expected = Snapshot();
    expected.push_back(std::string("key HKLM\\") + MAKER_KEY);
    std::sort(expected.begin(), expected.end());
    InstallAsUser();
    CloseProduct();
    std::string strUninstaller;
    if (!ReadMachineValue(UNINSTALL_KEY, "UninstallString", strUninstaller))
        Fail("no UninstallString registered");
    CProcess uninstaller;
    uninstaller.Start(strUninstaller);
    Expect(UNINSTALL_CAPTION)
        .Text(ID_TEXT, "Are you sure you want to remove Lumivane 1.10 from this computer?\r\n\r\n"
                       "Its files, shortcuts and registry entries will be deleted.")
        .Press(IDYES);
    uninstaller.ExpectExitCode(0);
    // The copy in the temporary folder does the work and reports.
    Expect(UNINSTALL_CAPTION).Text(ID_TEXT, "Lumivane 1.10 has been removed from this computer.").Press(IDOK);
    WaitFor([&] { return Snapshot() == expected; }, 5000);
    ExpectSame(expected, Snapshot(), "after the uninstallation");
}

static const SScenario s_rgScenarios[] = {
    { "fresh_install", FreshInstall },
    { "product_running", ProductRunning },
    { "welcome_refused", WelcomeRefused },
    { "licence_refused", LicenceRefused },
    { "previous_installation", PreviousInstallation },
    { "failure_and_rollback", FailureAndRollback },
    { "uninstall", Uninstall },
    { "walkthrough", WalkThrough },
};

const SScenario* FindScenario(const std::string& strName)
{
    for (const SScenario& scenario : s_rgScenarios) {
        if (strName == scenario.pszName)
            return &scenario;
    }
    return NULL;
}

void PrintScenarioNames()
{
    for (const SScenario& scenario : s_rgScenarios)
        std::printf("  %s\n", scenario.pszName);
}
