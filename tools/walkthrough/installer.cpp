#include "installer.h"

#include <cstdlib>

const char WELCOME_CAPTION[] = "Lumivane Installation";
const char LICENCE_CAPTION[] = "Dialog";
const char INSTALL_DIALOG_CAPTION[] = "Orvel Software - Install Lumivane 1.10";
const char COMPLETE_CAPTION[] = "INSTALLATION COMLETE";
const char PRODUCT_CAPTION[] = "Lumivane";

static std::string s_strInstallerCopy;

void UseInstallerCopy(const std::string& strPath)
{
    s_strInstallerCopy = strPath;
}

std::string InstallerPath()
{
    // The build names the program as Wine sees it; a test may name another
    // copy of it (a signed one).
    const char* pszOther = std::getenv("LV_INSTALLER_UNDER_TEST");
    std::string strPath = pszOther != NULL && *pszOther != '\0' ? pszOther : LV_INSTALLER;
    if (!s_strInstallerCopy.empty())
        strPath = s_strInstallerCopy;
    for (char& ch : strPath)
        ch = ch == '/' ? '\\' : ch;
    return strPath;
}

void StartInstaller(CProcess& installer)
{
    installer.Start(InstallerPath());
}

void AcceptWelcomeAndLicence(const CProcess& installer, const FnLook& look)
{
    CScreen welcome = installer.Expect(WELCOME_CAPTION);
    look(WELCOME, welcome);
    welcome.Shot("1-welcome").Press(IDOK);
    CScreen licence = installer.Expect(LICENCE_CAPTION);
    look(LICENCE, licence);
    licence.Shot("2-licence").Press(IDOK);
}

CScreen ExpectInstallDialog(const CProcess& installer, const FnLook& look)
{
    CScreen dialog = installer.Expect(INSTALL_DIALOG_CAPTION);
    look(INSTALL_DIALOG, dialog);
    return dialog;
}

void FinishInstallation(CProcess& installer, CScreen& dialog, const FnLook& look, const std::string& strTarget)
{
    if (!strTarget.empty())
        dialog.Type(IDC_TARGET_DIR, strTarget);
    dialog.Shot("3-install-dialog").Click(IDOK);
    look(INSTALLING, dialog);
    CScreen done = installer.Expect(COMPLETE_CAPTION);
    look(COMPLETE, done);
    done.Shot("4-complete").Press(IDOK);
    CScreen product = ExpectWindow(NULL, PRODUCT_CAPTION);
    look(PRODUCT, product);
    installer.WaitForExit();
    product.Shot("5-product");
}

std::string InstallAsUser(const FnLook& look, const std::string& strTarget)
{
    CProcess installer;
    StartInstaller(installer);
    AcceptWelcomeAndLicence(installer, look);
    CScreen dialog = ExpectInstallDialog(installer, look);
    std::string strInstalled = strTarget.empty() ? dialog.ControlText(IDC_TARGET_DIR) : strTarget;
    FinishInstallation(installer, dialog, look, strTarget);
    return strInstalled;
}
