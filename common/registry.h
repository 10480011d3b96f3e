// The product's registry entries, all under HKEY_LOCAL_MACHINE.
//   PRODUCT_KEY, APP_PATH_KEY, UNINSTALL_KEY  the three entries an installation writes
//   ReadRegistryText    a REG_SZ value that fits a path, terminated or not
//   DeleteKeyRecursive  a subkey with everything below it, children first
//   DeleteRegistryTree  the same, named by its parent's path under HKEY_LOCAL_MACHINE
//   RemoveRegistryEntries  the three entries, the product key with every version
#pragma once

#include <windows.h>

#include <string>

extern const char PRODUCT_KEY_PARENT[];     // "SOFTWARE\Orvel Software"
extern const char PRODUCT_KEY[];            // ... "\Lumivane"
extern const char PRODUCT_VERSION_KEY[];    // ... "\Lumivane\1.10"
extern const char APP_PATH_KEY_PARENT[];    // "SOFTWARE\Microsoft\Windows\CurrentVersion\App Paths"
extern const char APP_PATH_KEY[];           // ... "\Lumivane.exe"
extern const char UNINSTALL_KEY_PARENT[];   // "SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall"
extern const char UNINSTALL_KEY[];          // ... "\Lumivane"

// Nonzero when the value is REG_SZ text of at most MAX_PATH_TEXT characters.
int ReadRegistryText(HKEY hKey, LPCSTR lpszValueName, std::string& strText);

LONG DeleteKeyRecursive(HKEY hKey, LPCSTR lpszName);
void DeleteRegistryTree(LPCSTR lpszParent, LPCSTR lpszName);
void RemoveRegistryEntries();
