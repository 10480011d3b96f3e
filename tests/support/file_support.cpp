#include "file_support.h"

#include <cstdio>

Bytes ReadFileBytes(const std::string& strPath, bool* pbRead)
{
    Bytes bytes;
    std::FILE* pFile = std::fopen(strPath.c_str(), "rb");
    bool bRead = pFile != NULL;
    if (pFile != NULL) {
        unsigned char rgBuffer[4096];
        size_t nRead;
        while ((nRead = std::fread(rgBuffer, 1, sizeof(rgBuffer), pFile)) > 0)
            bytes.insert(bytes.end(), rgBuffer, rgBuffer + nRead);
        bRead = !std::ferror(pFile);
        std::fclose(pFile);
    }
    if (pbRead != NULL)
        *pbRead = bRead;
    return bytes;
}

bool WriteFileBytes(const std::string& strPath, const Bytes& bytes)
{
    std::FILE* pFile = std::fopen(strPath.c_str(), "wb");
    if (pFile == NULL)
        return false;
    bool bWritten = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), pFile) == bytes.size();
    return std::fclose(pFile) == 0 && bWritten;
}

bool FileExists(const std::string& strPath)
{
    return ::GetFileAttributesA(strPath.c_str()) != INVALID_FILE_ATTRIBUTES;
}

static bool DeleteFilesIn(const std::string& strFolder)
{
    WIN32_FIND_DATAA found;
    HANDLE hFind = ::FindFirstFileA((strFolder + "\\*").c_str(), &found);
    if (hFind == INVALID_HANDLE_VALUE)
        return true;
    bool bAllGone = true;
    do {
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            continue;
        std::string strFile = strFolder + "\\" + found.cFileName;
        ::SetFileAttributesA(strFile.c_str(), FILE_ATTRIBUTE_NORMAL);
        bAllGone = ::DeleteFileA(strFile.c_str()) && bAllGone;
    } while (::FindNextFileA(hFind, &found));
    ::FindClose(hFind);
    return bAllGone;
}

bool MakeFreshFolder(const std::string& strPath)
{
    for (size_t nSlash = strPath.find('\\', 3); nSlash != std::string::npos; nSlash = strPath.find('\\', nSlash + 1))
        ::CreateDirectoryA(strPath.substr(0, nSlash).c_str(), NULL);
    ::CreateDirectoryA(strPath.c_str(), NULL);
    DWORD dwAttributes = ::GetFileAttributesA(strPath.c_str());
    return dwAttributes != INVALID_FILE_ATTRIBUTES && (dwAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
           DeleteFilesIn(strPath);
}

CCurrentDirectory::CCurrentDirectory(const std::string& strPath)
{
    m_szPrevious[0] = '\0';
    ::GetCurrentDirectoryA(MAX_PATH, m_szPrevious);
    m_bSet = ::SetCurrentDirectoryA(strPath.c_str()) != FALSE;
}

CCurrentDirectory::~CCurrentDirectory()
{
    ::SetCurrentDirectoryA(m_szPrevious);
}
