// The machine the installer works on, seen from outside it.
//   DefaultTargetDir  where an installation goes unless the user says otherwise
//   DesktopLink, ProgramsGroup  where its shortcuts go
//   E2E_FOLDER        the scenarios' own folder on the tests' drive T:
//   ResetMachine      nothing of ours running, and no file, link or key of ours
//   CloseProduct      asks a running Lumivane to close, and ends it if it does not
//   Snapshot          what exists of ours, one line per file, link, key and
//                     value (and uninstaller copy left in the temporary folder)
//   ExpectSame        fails with the lines that differ
//   ExpectNothingInstalled  no target folder, link or key of ours
//   RemoveTree, PathExists, ReadMachineValue  small helpers
#pragma once

#include <windows.h>

#include <string>
#include <vector>

extern const char E2E_FOLDER[];  // "T:\e2e"
extern const char PRODUCT_KEY[];
extern const char PRODUCT_VERSION_KEY[];
extern const char APP_PATH_KEY[];
extern const char UNINSTALL_KEY[];
extern const char MAKER_KEY[];  // "SOFTWARE\Orvel Software", above the product key

std::string DefaultTargetDir();
std::string DesktopLink();
std::string ProgramsGroup();

void ResetMachine();
void CloseProduct();

typedef std::vector<std::string> CMachineState;
CMachineState Snapshot(const std::vector<std::string>& extraFolders = {});
void ExpectSame(const CMachineState& expected, const CMachineState& seen, const char* pszWhen);
void ExpectNothingInstalled(const std::vector<std::string>& extraFolders = {});

void RemoveTree(const std::string& strPath);
bool PathExists(const std::string& strPath);
// Nonzero when the value exists; its type is given back as well.
int ReadMachineValue(const char* pszKey, const char* pszName, std::string& strData, DWORD* pnType = NULL);
