// seal exe FILE     stores in the executable FILE the seal its start-up checks
// seal check FILE   whether FILE passes that check (exit 0), signed or not
// seal crc IN OUT   writes IN's CRC-32 to OUT: four bytes, low byte first
// Files are read whole; FILE and OUT are replaced only when complete.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "common/integrity.h"

namespace {

bool ReadWhole(const char* pszPath, std::vector<unsigned char>& bytes)
{
    std::FILE* pFile = std::fopen(pszPath, "rb");
    if (pFile == NULL)
        return false;
    unsigned char buffer[65536];
    size_t nRead;
    while ((nRead = std::fread(buffer, 1, sizeof(buffer), pFile)) > 0)
        bytes.insert(bytes.end(), buffer, buffer + nRead);
    bool bRead = !std::ferror(pFile);
    std::fclose(pFile);
    return bRead;
}

bool WriteWhole(const std::string& strPath, const std::vector<unsigned char>& bytes)
{
    std::string strTemp = strPath + ".tmp";
    std::FILE* pFile = std::fopen(strTemp.c_str(), "wb");
    if (pFile == NULL)
        return false;
    bool bWritten = std::fwrite(bytes.data(), 1, bytes.size(), pFile) == bytes.size();
    bWritten = std::fclose(pFile) == 0 && bWritten;
    if (bWritten && std::rename(strTemp.c_str(), strPath.c_str()) == 0)
        return true;
    std::remove(strTemp.c_str());
    return false;
}

int Fail(const char* pszWhat, const char* pszPath)
{
    std::fprintf(stderr, "seal: %s %s\n", pszWhat, pszPath);
    return 1;
}

}  // namespace

int main(int argc, char** argv)
{
    bool bExe = argc == 3 && std::strcmp(argv[1], "exe") == 0;
    bool bCheck = argc == 3 && std::strcmp(argv[1], "check") == 0;
    bool bCrc = argc == 4 && std::strcmp(argv[1], "crc") == 0;
    if (!bExe && !bCheck && !bCrc) {
        std::fprintf(stderr, "usage: seal exe FILE | seal check FILE | seal crc IN OUT\n");
        return 2;
    }
    std::vector<unsigned char> bytes;
    if (!ReadWhole(argv[2], bytes))
        return Fail("cannot read", argv[2]);
    if (bCheck)
        return IsImageWhole(bytes.data(), bytes.size()) ? 0 : Fail("does not match its seal:", argv[2]);
    if (bExe) {
        if (!SealImage(bytes.data(), bytes.size()))
            return Fail("not an unsigned Windows program:", argv[2]);
        return WriteWhole(argv[2], bytes) ? 0 : Fail("cannot write", argv[2]);
    }
    uint32_t nCrc = Crc32(bytes.data(), bytes.size());
    std::vector<unsigned char> sum;
    for (int i = 0; i < 4; ++i)
        sum.push_back(static_cast<unsigned char>(nCrc >> (8 * i)));
    return WriteWhole(argv[3], sum) ? 0 : Fail("cannot write", argv[3]);
}
