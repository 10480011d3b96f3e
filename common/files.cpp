#include "files.h"

#include <windows.h>

#include <algorithm>

#include "common/paths.h"
#include "common/retry.h"

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

// The names of the plain files of the folder that the pattern finds and,
// when a test is given, that it accepts.
static std::vector<std::string> FindFiles(const std::string& strDirectory, const std::string& strPattern,
                                          int (*pfnAccept)(const std::string&))
{
    std::vector<std::string> names;
    std::string strSearch = strDirectory + "\\" + strPattern;
    if (strSearch.size() > MAX_PATH_TEXT)
        return names;
    WIN32_FIND_DATAA find;
    HANDLE hFind = ::FindFirstFileA(strSearch.c_str(), &find);
    if (hFind == INVALID_HANDLE_VALUE)
        return names;
    do {
        if (!(find.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && (pfnAccept == NULL || pfnAccept(find.cFileName)))
            names.push_back(find.cFileName);
    } while (::FindNextFileA(hFind, &find));
    ::FindClose(hFind);
    return names;
}

static void DeleteFilesFound(const std::string& strDirectory, const std::string& strPattern,
                             int (*pfnAccept)(const std::string&))
{
    for (const std::string& strName : FindFiles(strDirectory, strPattern, pfnAccept)) {
        std::string strFile = strDirectory + "\\" + strName;
        if (strFile.size() <= MAX_PATH_TEXT)
            ::DeleteFileA(strFile.c_str());
    }
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

static const char EXPANSION_LEFTOVERS[] = "VER*.TMP";

void DeleteExpansionLeftovers(const std::string& strFolder)
{
    DeleteFilesFound(strFolder, EXPANSION_LEFTOVERS, IsExpansionLeftoverName);
}

// Upper case as the code page has it, one character for one.
static std::string UpperCase(std::string strText)
{
    if (!strText.empty())
        ::CharUpperBuffA(&strText[0], static_cast<DWORD>(strText.size()));
    return strText;
}

std::vector<std::string> FindExpansionLeftovers(const std::string& strFolder)
{
    return FindFiles(strFolder, EXPANSION_LEFTOVERS, IsExpansionLeftoverName);
}

std::vector<std::string> DeleteNewExpansionLeftovers(const std::string& strFolder,
                                                     const std::vector<std::string>& before, const std::string& strNamed)
{
    std::vector<std::string> newNames;
    std::vector<std::string> names = FindExpansionLeftovers(strFolder);
    // Some versions give the name with a path, some with a leading backslash.
    std::string strNamedFile = FileNamePart(strNamed);
    if (IsExpansionLeftoverName(strNamedFile))
        names.push_back(strNamedFile);
    for (const std::string& strName : names) {
        std::string strFile = strFolder + "\\" + strName;
        auto isSame = [&](const std::string& strOld) { return UpperCase(strOld) == UpperCase(strName); };
        if (std::none_of(before.begin(), before.end(), isSame)) {
            RetryWhileHeld([&] { return DeleteInstalledFile(strFile); });
            newNames.push_back(strName);
        }
    }
    return newNames;
}

int DeleteInstalledFile(const std::string& strPath)
{
    if (strPath.size() > MAX_PATH_TEXT) {
        ::SetLastError(ERROR_FILENAME_EXCED_RANGE);
        return 0;
    }
    if (::DeleteFileA(strPath.c_str()))
        return 1;
    DWORD dwError = ::GetLastError();
    return dwError == ERROR_FILE_NOT_FOUND || dwError == ERROR_PATH_NOT_FOUND;
}

int DeleteInstalledFileEvenReadOnly(const std::string& strPath)
{
    DWORD nAttributes = ::GetFileAttributesA(strPath.c_str());
    int bReadOnly = nAttributes != INVALID_FILE_ATTRIBUTES && (nAttributes & FILE_ATTRIBUTE_READONLY);
    if (bReadOnly)
        ::SetFileAttributesA(strPath.c_str(), nAttributes & ~FILE_ATTRIBUTE_READONLY);
    if (DeleteInstalledFile(strPath))
        return 1;
    DWORD dwError = ::GetLastError();  // why it stays, for the caller
    if (bReadOnly)
        ::SetFileAttributesA(strPath.c_str(), nAttributes);
    ::SetLastError(dwError);
    return 0;
}
