#include "registry.h"

#include "common/paths.h"

const char PRODUCT_KEY_PARENT[] = "SOFTWARE\\Orvel Software";
const char PRODUCT_KEY[] = "SOFTWARE\\Orvel Software\\Lumivane";
const char PRODUCT_VERSION_KEY[] = "SOFTWARE\\Orvel Software\\Lumivane\\1.10";
const char APP_PATH_KEY_PARENT[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths";
const char APP_PATH_KEY[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\Lumivane.exe";
const char UNINSTALL_KEY_PARENT[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
const char UNINSTALL_KEY[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Lumivane";

int ReadRegistryText(HKEY hKey, LPCSTR lpszValueName, std::string& strText)
{
    char szValue[MAX_PATH];
    DWORD dwType = REG_NONE;
    DWORD cbValue = sizeof(szValue);
    if (::RegQueryValueExA(hKey, lpszValueName, NULL, &dwType, reinterpret_cast<BYTE*>(szValue), &cbValue) !=
            ERROR_SUCCESS ||
        dwType != REG_SZ || cbValue > sizeof(szValue))
        return 0;
    // The stored text need not end in a NUL.
    size_t nLength = 0;
    while (nLength < cbValue && szValue[nLength] != '\0')
        ++nLength;
    if (nLength > MAX_PATH_TEXT)
        return 0;
    strText.assign(szValue, nLength);
    return 1;
}

LONG DeleteKeyRecursive(HKEY hKey, LPCSTR lpszName)
{
    if (lpszName == NULL || lpszName[0] == '\0')
        return ERROR_BADKEY;
    HKEY hSubKey;
    if (::RegOpenKeyExA(hKey, lpszName, 0, DELETE | KEY_ENUMERATE_SUB_KEYS, &hSubKey) != ERROR_SUCCESS)
        return ERROR_CANTOPEN;
    char szChild[1024];
    LONG nResult;
    for (;;) {
        DWORD cchChild = sizeof(szChild);
        // Always the first child: each one found is gone before the next look.
        nResult = ::RegEnumKeyExA(hSubKey, 0, szChild, &cchChild, NULL, NULL, NULL, NULL);
        if (nResult == ERROR_NO_MORE_ITEMS) {
            nResult = ::RegDeleteKeyA(hKey, lpszName);
            break;
        }
        if (nResult != ERROR_SUCCESS)
            break;
        nResult = DeleteKeyRecursive(hSubKey, szChild);
        if (nResult != ERROR_SUCCESS)
            break;
    }
    ::RegCloseKey(hSubKey);
    return nResult;
}

void DeleteRegistryTree(LPCSTR lpszParent, LPCSTR lpszName)
{
    HKEY hParent;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, lpszParent, 0, KEY_WRITE, &hParent) != ERROR_SUCCESS)
        return;
    DeleteKeyRecursive(hParent, lpszName);
    ::RegCloseKey(hParent);
}

void RemoveRegistryEntries()
{
    DeleteRegistryTree(PRODUCT_KEY_PARENT, "Lumivane");
    DeleteRegistryTree(APP_PATH_KEY_PARENT, "Lumivane.exe");
    DeleteRegistryTree(UNINSTALL_KEY_PARENT, "Lumivane");
}
