#include "files.h"

#include <windows.h>

#include "install/paths.h"

int FolderHasEntries(const std::string& strFolder)
{
    std::string strPattern = strFolder + "\\*.*";
    if (strPattern.size() > MAX_PATH_TEXT)
        return 0;
    WIN32_FIND_DATAA find;
    HANDLE hFind = ::FindFirstFileA(strPattern.c_str(), &find);
    if (hFind == INVALID_HANDLE_VALUE)
        return 0;
    ::FindClose(hFind);
    return 1;
}

// The plain files of the folder that the pattern finds and, when a test is
// given, that it accepts by name.
static void DeleteFilesFound(const std::string& strDirectory, const std::string& strPattern,
                             int (*pfnAccept)(const std::string&))
{
    std::string strPrefix = strDirectory + "\\";
    std::string strSearch = strPrefix + strPattern;
    if (strSearch.size() > MAX_PATH_TEXT)
        return;
    WIN32_FIND_DATAA find;
    HANDLE hFind = ::FindFirstFileA(strSearch.c_str(), &find);
    if (hFind == INVALID_HANDLE_VALUE)
        return;
    do {
        std::string strFile = strPrefix + find.cFileName;
        if (!(find.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && (pfnAccept == NULL || pfnAccept(find.cFileName)) &&
            strFile.size() <= MAX_PATH_TEXT)
            ::DeleteFileA(strFile.c_str());
    } while (::FindNextFileA(hFind, &find));
    ::FindClose(hFind);
}

void DeleteMatchingFiles(std::string strDirectory, std::string strPattern)
{
    DeleteFilesFound(strDirectory, strPattern, NULL);
}

// A search for "VER*.TMP" also finds longer names by their short forms.
static int IsExpansionLeftoverName(const std::string& strName)
{
    size_t nDigits = strName.size() - 7;  // "VER" and ".TMP"
    if (strName.size() < 8 || nDigits > 4 || ::lstrcmpiA(strName.substr(0, 3).c_str(), "VER") != 0 ||
        ::lstrcmpiA(strName.substr(3 + nDigits).c_str(), ".TMP") != 0)
        return 0;
    return strName.find_first_not_of("0123456789abcdefABCDEF", 3) == 3 + nDigits;
}

void DeleteExpansionLeftovers(const std::string& strFolder)
{
    DeleteFilesFound(strFolder, "VER*.TMP", IsExpansionLeftoverName);
}

static int IsMissing(const std::string& strPath)
{
    if (::GetFileAttributesA(strPath.c_str()) != INVALID_FILE_ATTRIBUTES)
        return 0;
    DWORD dwError = ::GetLastError();
    return dwError == ERROR_FILE_NOT_FOUND || dwError == ERROR_PATH_NOT_FOUND;
}

int DeleteInstalledFile(const std::string& strPath)
{
    if (strPath.size() > MAX_PATH_TEXT)
        return 0;
    return ::DeleteFileA(strPath.c_str()) || IsMissing(strPath);
}
