// The user's way through InstallLV, and what the user finds its windows by.
//   InstallerPath            the installer of this build, as Wine sees it, or
//                            the copy LV_INSTALLER_UNDER_TEST names
//   UseInstallerCopy         names a copy of it (UTF-8) for what follows
//   StartInstaller           starts it
//   AcceptWelcomeAndLicence  OK on the welcome, I Agree on the licence
//   ExpectInstallDialog      waits for the install dialog
//   FinishInstallation       types the target unless it is empty, Install, OK
//                            on the completion box, the installed product's
//                            window, the installer's end
//   InstallAsUser            all of it from the start; returns where it
//                            installed, the product left running as the
//                            installer left it
// Each screen goes to the caller's look (checks, timings) before the user
// answers it, and is photographed when the run takes pictures; INSTALLING is
// the install dialog again, just after Install was pressed.
#pragma once

#include <functional>
#include <string>

#include "process.h"
#include "screen.h"

const int IDC_STATUS = 1001;
const int IDC_TARGET_DIR = 1002;

extern const char WELCOME_CAPTION[];
extern const char LICENCE_CAPTION[];
extern const char INSTALL_DIALOG_CAPTION[];
extern const char COMPLETE_CAPTION[];
extern const char PRODUCT_CAPTION[];

enum EScreen { WELCOME, LICENCE, INSTALL_DIALOG, INSTALLING, COMPLETE, PRODUCT };
typedef std::function<void(EScreen, CScreen&)> FnLook;

std::string InstallerPath();
void UseInstallerCopy(const std::string& strPath);
void StartInstaller(CProcess& installer);
void AcceptWelcomeAndLicence(const CProcess& installer, const FnLook& look);
CScreen ExpectInstallDialog(const CProcess& installer, const FnLook& look);
void FinishInstallation(CProcess& installer, CScreen& dialog, const FnLook& look, const std::string& strTarget = "");
std::string InstallAsUser(const FnLook& look, const std::string& strTarget = "");
