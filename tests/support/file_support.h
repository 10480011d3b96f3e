// Files and folders for the tests of the install operations, on the tests' own drives.
//   ReadFileBytes / WriteFileBytes  a whole file's bytes
//   FileExists                      whether a file or folder of the name exists
//   MakeFreshFolder                 an empty folder: made, or emptied of its files
//   CCurrentDirectory               the process's current directory for a test, restored after
#pragma once

#include <windows.h>

#include <string>
#include <vector>

typedef std::vector<unsigned char> Bytes;

// The file's bytes; *pbRead (when given) says whether it could be read.
Bytes ReadFileBytes(const std::string& strPath, bool* pbRead = NULL);
bool WriteFileBytes(const std::string& strPath, const Bytes& bytes);
inline Bytes BytesOf(const std::string& strText) { return Bytes(strText.begin(), strText.end()); }
bool FileExists(const std::string& strPath);

// Makes strPath (and the folders above it), or deletes the files in it,
// read-only ones too; false when that is not possible.
bool MakeFreshFolder(const std::string& strPath);

class CCurrentDirectory
{
public:
    explicit CCurrentDirectory(const std::string& strPath);
    ~CCurrentDirectory();
    bool m_bSet;

private:
    char m_szPrevious[MAX_PATH];

    CCurrentDirectory(const CCurrentDirectory&);
    CCurrentDirectory& operator=(const CCurrentDirectory&);
};
