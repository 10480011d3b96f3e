#include "steps.h"

#include <cstdio>

#include "installed.h"
#include "machine.h"
#include "scenario.h"

const char INSTALL_DIALOG[] = "Orvel Software - Install Lumivane 1.10";
const char FREE_SPACE_TEXT[] = "To install Lumivane, at least\r\n400 Kb of free disk space is required.";
const char OVERWRITE_QUESTION[] = "This will overwrite any previous installation:\r\n\r\n"
                                  "Are you sure you want to continue installing Lumivane?";
static const char WELCOME_TEXT[] = "Every colour, one click away.\n\n"
                                   "Click \"OK\" to install Orvel Software's Lumivane  for Windows.";
static const char COMPLETE_TEXT[] = "Lumivane 1.10 has been successfully installed!\r\n\r\n"
                                    "To run this application, select Lumivane \r\n"
                                    "from the Start Menu, Programs, Lumivane group.";

// The build names the program and the licence text as Wine sees them.
static std::string WindowsPath(std::string strPath)
{
    for (char& ch : strPath)
        ch = ch == '/' ? '\\' : ch;
    return strPath;
}

static std::string LicenceText()
{
    std::string strText;
    FILE* pFile = std::fopen(WindowsPath(LV_LICENCE_TEXT).c_str(), "rb");
    if (pFile == NULL)
        Fail(std::string("cannot read the licence text ") + LV_LICENCE_TEXT);
    char buffer[4096];
    for (size_t n; (n = std::fread(buffer, 1, sizeof(buffer), pFile)) > 0;)
        strText.append(buffer, n);
    std::fclose(pFile);
    return strText;
}

void StartInstaller(CProcess& installer)
{
    installer.Start(WindowsPath(LV_INSTALLER));
}

// No caption, the whole screen, the maker's name.
void ExpectBackdrop(const CProcess& installer)
{
    HWND hBackdrop = FindVisibleWindow("#32770", "", installer.Id());
    if (hBackdrop == NULL)
        Fail("no backdrop: the installer shows no window without a caption");
    RECT rect;
    ::GetWindowRect(hBackdrop, &rect);
    if (rect.left != 0 || rect.top != 0 || rect.right != ::GetSystemMetrics(SM_CXSCREEN) ||
        rect.bottom != ::GetSystemMetrics(SM_CYSCREEN))
        Fail("the backdrop covers (" + std::to_string(rect.left) + ", " + std::to_string(rect.top) + ") to (" +
             std::to_string(rect.right) + ", " + std::to_string(rect.bottom) + "), not the whole screen");
    CScreen(hBackdrop, "(backdrop)").Text(IDC_MAKER, "Orvel Software");
    Note("backdrop over the whole screen");
}

void AcceptWelcomeAndLicence(const CProcess& installer)
{
    CScreen welcome = installer.Expect("Lumivane Installation");
    ExpectBackdrop(installer);
    welcome.Text(ID_TEXT, WELCOME_TEXT).Text(IDOK, "&OK").Text(IDCANCEL, "&Cancel").Shot("1-welcome").Press(IDOK);
    installer.Expect("Dialog")
        .Text(IDC_LICENCE_TEXT, LicenceText())
        .Text(IDOK, "I Agree")
        .Text(IDCANCEL, "Cancel")
        .Shot("2-licence")
        .Press(IDOK);
}

CScreen ExpectInstallDialog(const CProcess& installer, const std::string& strTarget)
{
    CScreen dialog = installer.Expect(INSTALL_DIALOG);
    dialog.Text(IDC_TARGET_DIR, strTarget).Text(IDC_STATUS, FREE_SPACE_TEXT).Text(IDOK, "Install");
    return dialog;
}

void FinishInstallation(CProcess& installer, CScreen& dialog, const std::string& strTarget)
{
    dialog.Shot("3-install-dialog").Click(IDOK);
    CScreen done = installer.Expect("INSTALLATION COMLETE");
    if (dialog.IsVisible())
        Fail("the install dialog is still shown behind the completion box");
    if (FindVisibleWindow(NULL, "Lumivane") != NULL)
        Fail("Lumivane was started before the completion box was answered");
    done.Text(ID_TEXT, COMPLETE_TEXT).Shot("4-complete").Press(IDOK);
    CScreen product = ExpectWindow(NULL, "Lumivane");
    product.Text(IDC_PRODUCT_FOLDER, strTarget);
    installer.WaitForExit();
    product.Shot("5-product");
}

std::string InstallAsUser(const std::string& strTarget)
{
    time_t nStart = std::time(NULL);
    CProcess installer;
    StartInstaller(installer);
    AcceptWelcomeAndLicence(installer);
    CScreen dialog = ExpectInstallDialog(installer, DefaultTargetDir());
    std::string strInstalled = strTarget.empty() ? DefaultTargetDir() : strTarget;
    if (!strTarget.empty())
        dialog.Type(IDC_TARGET_DIR, strTarget);
    FinishInstallation(installer, dialog, strInstalled);
    ExpectInstalled(strInstalled, nStart, std::time(NULL));
    return strInstalled;
}
