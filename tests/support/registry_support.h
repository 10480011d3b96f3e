// The test's view of the registry under HKEY_LOCAL_MACHINE, by means
// independent of the code under test.
//   KeyExists / ReadValue / KeyClass  what is there
//   PutValue                          makes a key with a REG_SZ value
//   RemoveProductEntries              clears every key the installer may write
#pragma once

#include <windows.h>

#include <string>

bool KeyExists(const std::string& strKey);
// The value's text (its bytes without a trailing NUL), its type and stored size.
std::string ReadValue(const std::string& strKey, const char* pszName, DWORD* pdwType = NULL, DWORD* pcbSize = NULL);
std::string KeyClass(const std::string& strKey);
void PutValue(const std::string& strKey, const char* pszName, const std::string& strText);
void RemoveProductEntries();
