#include "registry_support.h"

#include <shlwapi.h>

#include "tests/seam/seam.h"

bool KeyExists(const std::string& strKey)
{
    HKEY hKey;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, strKey.c_str(), 0, KEY_READ, &hKey) != ERROR_SUCCESS)
        return false;
    ::RegCloseKey(hKey);
    return true;
}

std::string ReadValue(const std::string& strKey, const char* pszName, DWORD* pdwType, DWORD* pcbSize)
{
    HKEY hKey;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, strKey.c_str(), 0, KEY_READ, &hKey) != ERROR_SUCCESS)
        return "<no key>";
    char szData[2048];
    DWORD dwType = 0, cbData = sizeof(szData);
    LONG nResult = ::RegQueryValueExA(hKey, pszName, NULL, &dwType, reinterpret_cast<BYTE*>(szData), &cbData);
    ::RegCloseKey(hKey);
    if (nResult != ERROR_SUCCESS)
        return "<no value>";
    if (pdwType != NULL)
        *pdwType = dwType;
    if (pcbSize != NULL)
        *pcbSize = cbData;
    std::string strData(szData, cbData);
    if (!strData.empty() && strData[strData.size() - 1] == '\0')
        strData.erase(strData.size() - 1);
    return strData;
}

std::string KeyClass(const std::string& strKey)
{
    HKEY hKey;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, strKey.c_str(), 0, KEY_READ, &hKey) != ERROR_SUCCESS)
        return "<no key>";
    char szClass[64] = "";
    DWORD cchClass = sizeof(szClass);
    ::RegQueryInfoKeyA(hKey, szClass, &cchClass, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL);
    ::RegCloseKey(hKey);
    return szClass;
}

void PutValue(const std::string& strKey, const char* pszName, const std::string& strText)
{
    HKEY hKey;
    DWORD dwDisposition;
    if (seam::RealRegCreateKeyExA(HKEY_LOCAL_MACHINE, strKey.c_str(), 0, NULL, 0, KEY_WRITE, NULL, &hKey,
                                  &dwDisposition) != ERROR_SUCCESS)
        return;
    seam::RealRegSetValueExA(hKey, pszName, 0, REG_SZ, reinterpret_cast<const BYTE*>(strText.c_str()),
                             static_cast<DWORD>(strText.size() + 1));
    ::RegCloseKey(hKey);
}

void RemoveProductEntries()
{
    ::SHDeleteKeyA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Orvel Software");
    ::SHDeleteKeyA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\Lumivane.exe");
    ::SHDeleteKeyA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Lumivane");
}
