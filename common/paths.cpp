#include "paths.h"

#include <cstring>
#include <cwchar>

std::string g_strDefaultDir;
std::string g_strStartMenuGroup;

// Where the character after the one at nPos starts, as the system reads the
// code page's lead bytes.
static size_t NextCharacter(const std::string& strText, size_t nPos)
{
    const char* pszText = strText.c_str();
    const char* pszNext = ::CharNextA(pszText + nPos);
    return pszNext > pszText + nPos ? static_cast<size_t>(pszNext - pszText) : strText.size();
}

// The last character that is one of pszSet (single-byte characters only).
static size_t FindLastOf(const std::string& strText, const char* pszSet)
{
    size_t nFound = std::string::npos;
    for (size_t n = 0; n < strText.size(); n = NextCharacter(strText, n)) {
        if (strText[n] != '\0' && std::strchr(pszSet, strText[n]) != NULL)
            nFound = n;
    }
    return nFound;
}

// strPart starting at a character of strText, not inside one.
static int ContainsText(const std::string& strText, const std::string& strPart)
{
    for (size_t n = 0; n < strText.size(); n = NextCharacter(strText, n)) {
        if (strText.compare(n, strPart.size(), strPart) == 0)
            return 1;
    }
    return 0;
}

size_t FindNextSeparator(const std::string& strPath, size_t nFrom)
{
    for (size_t n = nFrom; n < strPath.size(); n = NextCharacter(strPath, n)) {
        if (strPath[n] == '\\')
            return n;
    }
    return std::string::npos;
}

int EndsWithSeparator(const std::string& strPath)
{
    size_t nLast = FindLastOf(strPath, "\\");
    return nLast != std::string::npos && nLast + 1 == strPath.size();
}

std::string FileNamePart(const std::string& strPath)
{
    size_t nLast = FindLastOf(strPath, "\\/:");
    return nLast == std::string::npos ? strPath : strPath.substr(nLast + 1);
}

std::string DirectoryOfFile(const std::string& strPath)
{
    size_t nLast = FindLastOf(strPath, "\\");
    if (nLast == std::string::npos)
        return std::string();
    return strPath.substr(0, nLast == 2 && strPath[1] == ':' ? 3 : nLast);
}

std::string JoinPath(const std::string& strFolder, const std::string& strName)
{
    return EndsWithSeparator(strFolder) ? strFolder + strName : strFolder + "\\" + strName;
}

// In UTF-16 the separators are whole code units and the system's upper case
// is one table for every code page. Zero when the text has no full path that
// fits MAX_PATH.
static int GetFolderIdentity(const std::string& strFolder, WCHAR* pszIdentity)
{
    WCHAR szText[MAX_PATH], szFull[MAX_PATH];
    if (::MultiByteToWideChar(CP_ACP, 0, strFolder.c_str(), -1, szText, MAX_PATH) == 0)
        return 0;
    DWORD nLength = ::GetFullPathNameW(szText, MAX_PATH, szFull, NULL);
    if (nLength == 0 || nLength >= MAX_PATH)
        return 0;
    DWORD nLong = ::GetLongPathNameW(szFull, pszIdentity, MAX_PATH);  // fails for a folder not made yet
    if (nLong == 0 || nLong >= MAX_PATH)
        ::lstrcpyW(pszIdentity, szFull);
    else
        nLength = nLong;
    while (nLength > 0 && (pszIdentity[nLength - 1] == L'\\' || pszIdentity[nLength - 1] == L'/'))
        pszIdentity[--nLength] = L'\0';
    ::CharUpperBuffW(pszIdentity, nLength);
    return 1;
}

int IsSameFolder(const std::string& strFolder, const std::string& strOther)
{
    WCHAR szFolder[MAX_PATH], szOther[MAX_PATH];
    if (!GetFolderIdentity(strFolder, szFolder) || !GetFolderIdentity(strOther, szOther))
        return strFolder == strOther;
    return std::wcscmp(szFolder, szOther) == 0;
}

int AppendProductFolder(const std::string& strFolder, const std::string& strProduct, std::string& strTarget)
{
    std::string strResult = strFolder;
    if (!ContainsText(strResult, strProduct))
        strResult = JoinPath(strResult, strProduct);
    if (strResult.size() > MAX_PATH_TEXT)
        return 0;
    strTarget = strResult;
    return 1;
}

std::vector<std::string> SplitLevels(const std::string& strPath)
{
    std::vector<std::string> levels;
    std::string strRest = strPath.size() > 2 ? strPath.substr(2) + "\\" : "\\";
    for (;;) {
        if (!strRest.empty() && strRest[0] == '\\')
            strRest.erase(0, 1);
        size_t nSlash = FindNextSeparator(strRest, 0);
        if (nSlash == std::string::npos)
            return levels;
        levels.push_back(strRest.substr(0, nSlash));
        if (nSlash == 0)
            return levels;  // an empty level ends every walk
        strRest.erase(0, nSlash);
    }
}
