// WriteRegistryEntries: the product's own key, its App Paths entry and its
// entry in the list of removable programs.
#include <ctime>

#include "common/paths.h"
#include "common/registry.h"
#include "dialogs/install_dialog.h"

// Opens the key for writing, creating it when it is missing.
static HKEY OpenOrCreateKey(LPCSTR lpszPath)
{
    HKEY hKey;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, lpszPath, 0, KEY_WRITE, &hKey) == ERROR_SUCCESS)
        return hKey;
    DWORD dwDisposition;
    if (::RegCreateKeyExA(HKEY_LOCAL_MACHINE, lpszPath, 0, const_cast<LPSTR>("Lumivane"), REG_OPTION_NON_VOLATILE,
                          KEY_WRITE, NULL, &hKey, &dwDisposition) == ERROR_SUCCESS)
        return hKey;
    return NULL;
}

static BOOL SetText(HKEY hKey, LPCSTR lpszName, const std::string& strText)
{
    return ::RegSetValueExA(hKey, lpszName, 0, REG_SZ, reinterpret_cast<const BYTE*>(strText.c_str()),
                            static_cast<DWORD>(strText.size() + 1)) == ERROR_SUCCESS;
}

// One key with its values, given as name/text pairs; FALSE when the key
// cannot be had or a value cannot be written.
static BOOL WriteKey(LPCSTR lpszPath, const char* const* rgpszNames, const std::string* rgstrTexts, int nValues)
{
    HKEY hKey = OpenOrCreateKey(lpszPath);
    if (hKey == NULL)
        return FALSE;
    BOOL bWritten = TRUE;
    for (int i = 0; i < nValues && bWritten; ++i)
        bWritten = SetText(hKey, rgpszNames[i], rgstrTexts[i]);
    ::RegCloseKey(hKey);
    return bWritten;
}

int CInstallDialog::WriteRegistryEntries()
{
    char szInstallTime[16];
    ::wsprintfA(szInstallTime, "%u", static_cast<unsigned>(std::time(NULL)));
    const std::string rgstrProduct[] = { szInstallTime };
    const std::string rgstrAppPath[] = { m_strTargetDir + "\\" + "Lumivane.exe", m_strTargetDir };
    const std::string strUninstaller = m_strTargetDir + "\\Uninstall.exe";
    // A command line: unquoted, "C:\Program Files\..." would run C:\Program.exe first.
    const std::string rgstrUninstall[] = { "Lumivane 1.10", "\"" + strUninstaller + "\"" };
    static const char* const rgpszProduct[] = { "" };
    static const char* const rgpszAppPath[] = { "", "Path" };
    static const char* const rgpszUninstall[] = { "DisplayName", "UninstallString" };

    // A value cut short would send Windows to the wrong place.
    if (rgstrAppPath[0].size() > MAX_PATH_TEXT || strUninstaller.size() > MAX_PATH_TEXT)
        return 0;
    if (WriteKey(PRODUCT_VERSION_KEY, rgpszProduct, rgstrProduct, 1) &&
        WriteKey(APP_PATH_KEY, rgpszAppPath, rgstrAppPath, 2) &&
        WriteKey(UNINSTALL_KEY, rgpszUninstall, rgstrUninstall, 2))
        return 1;
    // Half an entry would make the product look installed, or removable, when it is not.
    RemoveRegistryEntries();
    return 0;
}
