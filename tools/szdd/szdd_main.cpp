// szdd IN OUT      compresses IN into the SZDD file OUT
// szdd -d IN OUT   expands the SZDD file IN into OUT
// OUT is written under OUT.tmp and renamed into place only when complete.
#include "szdd_codec.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

namespace {

int WriteFileInPlace(const std::string& strPath, const std::vector<unsigned char>& vecData)
{
    std::string strTemp = strPath + ".tmp";
    std::FILE* pFile = std::fopen(strTemp.c_str(), "wb");
    if (!pFile)
    {
        std::fprintf(stderr, "szdd: cannot create %s: %s\n", strTemp.c_str(), std::strerror(errno));
        return 0;
    }
    bool bWritten = std::fwrite(vecData.data(), 1, vecData.size(), pFile) == vecData.size();
    bWritten = (std::fclose(pFile) == 0) && bWritten;
    std::error_code error;
    if (bWritten)
        std::filesystem::rename(strTemp, strPath, error);  // replaces an existing OUT
    if (!bWritten || error)
    {
        std::fprintf(stderr, "szdd: cannot write %s%s%s\n", strPath.c_str(), error ? ": " : "",
                     error ? error.message().c_str() : "");
        std::remove(strTemp.c_str());
        return 0;
    }
    return 1;
}

int ConvertData(bool bExpand, const std::vector<unsigned char>& vecIn, const char* pszInPath,
                std::vector<unsigned char>& vecOut)
{
    if (!bExpand)
    {
        unsigned long long nSize = vecIn.size();  // a 32-bit size_t cannot exceed the limit
        if (nSize > 0xFFFFFFFFull)
        {
            std::fprintf(stderr, "szdd: %s is too large for SZDD (4 GiB at most)\n", pszInPath);
            return 0;
        }
        vecOut = CompressSzdd(vecIn.data(), vecIn.size());
        return 1;
    }
    std::string strError;
    if (!ExpandSzdd(vecIn.data(), vecIn.size(), vecOut, strError))
    {
        std::fprintf(stderr, "szdd: %s: %s\n", pszInPath, strError.c_str());
        return 0;
    }
    return 1;
}

}  // namespace

int main(int argc, char** argv)
{
    bool bExpand = argc > 1 && std::strcmp(argv[1], "-d") == 0;
    if (argc != (bExpand ? 4 : 3))
    {
        std::fprintf(stderr, "usage: szdd IN OUT      compress IN into the SZDD file OUT\n"
                             "       szdd -d IN OUT   expand the SZDD file IN into OUT\n");
        return 2;
    }
    const char* pszIn = argv[argc - 2];
    const char* pszOut = argv[argc - 1];
    std::vector<unsigned char> vecIn;
    std::vector<unsigned char> vecOut;
    std::string strError;
    if (!ReadWholeFile(pszIn, vecIn, strError))
    {
        std::fprintf(stderr, "szdd: %s\n", strError.c_str());
        return 1;
    }
    return ConvertData(bExpand, vecIn, pszIn, vecOut) && WriteFileInPlace(pszOut, vecOut) ? 0 : 1;
}
