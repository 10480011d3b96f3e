// The user's steps through InstallLV, and the texts the user sees on the way.
//   INSTALLER_PATH, the installer under test (given by the build)
//   StartInstaller        starts it
//   ExpectBackdrop        the full-screen backdrop of the maker behind the dialogs
//   AcceptWelcomeAndLicence  OK on the welcome, I Agree on the licence
//   ExpectInstallDialog   the install dialog, proposing that target, with the
//                         free-space text
//   FinishInstallation    Install, the completion box, the installed product's
//                         window, the installer's end
//   InstallAsUser         all of the above from a machine without Lumivane
//   Control ids and the texts of the windows and boxes
#pragma once

#include <ctime>
#include <string>

#include "process.h"
#include "screen.h"

const int IDC_STATUS = 1001;
const int IDC_TARGET_DIR = 1002;
const int IDC_MAKER = 1006;
const int IDC_LICENCE_TEXT = 1008;
const int IDC_PRODUCT_FOLDER = 101;  // the installed product's window shows where it runs from

extern const char INSTALL_DIALOG[];
extern const char FREE_SPACE_TEXT[];
extern const char OVERWRITE_QUESTION[];

void StartInstaller(CProcess& installer);
void ExpectBackdrop(const CProcess& installer);
void AcceptWelcomeAndLicence(const CProcess& installer);
CScreen ExpectInstallDialog(const CProcess& installer, const std::string& strTarget);
void FinishInstallation(CProcess& installer, CScreen& dialog, const std::string& strTarget);
// strTarget empty: the proposed one. Returns where it installed; the product is
// left running, as the installer left it.
std::string InstallAsUser(const std::string& strTarget = "");
