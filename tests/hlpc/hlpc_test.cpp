// hlpc as the build runs it: the directory and context table of the help file
// it writes, read by the file layout rather than through hlpc's code, and bad
// source (its only source is our own, so two faults stand for the rest).
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace {

typedef std::vector<std::pair<std::string, uint32_t>> Entries;

std::string ReadFile(const std::string& strPath)
{
    std::ifstream file(strPath, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

// Runs hlpc on strName.hls over an older strName.hlp, which strOutput gets afterwards with
// any temporary file left beside it; no file stays behind.
int RunHlpc(const std::string& strName, const std::string& strSource, std::string& strErrors,
            std::string& strOutput)
{
    std::ofstream(strName + ".hls", std::ios::binary) << strSource;
    std::ofstream(strName + ".hlp") << "old";
    std::string strCommand = "\"" HLPC_EXECUTABLE "\" " + strName + ".hls " + strName + ".hlp";
    int nStatus = std::system((strCommand + " 2>" + strName + ".err").c_str());
    strErrors = ReadFile(strName + ".err");
    strOutput = ReadFile(strName + ".hlp") + ReadFile(strName + ".hlp.tmp");
    for (const char* pszEnding : {".hls", ".hlp", ".hlp.tmp", ".err"})
        std::remove((strName + pszEnding).c_str());
    return nStatus;
}

// Little-endian; at() fails the test on a read past the end.
uint32_t Le(const std::string& str, size_t nPos, int nBytes = 4)
{
    uint32_t n = 0;
    for (int i = nBytes; i-- > 0;)
        n = n << 8 | static_cast<unsigned char>(str.at(nPos + i));
    return n;
}

// The entries of the one-page B+ tree at nTree: a key of nKeySize bytes, or NUL-ended
// when that is 0, then a 4-byte value.
Entries ReadTree(const std::string& strFile, size_t nTree, size_t nKeySize)
{
    EXPECT_EQ(0x293Bu, Le(strFile, nTree, 2));
    size_t nPos = nTree + 38 + Le(strFile, nTree + 4, 2) * Le(strFile, nTree + 26, 2);
    Entries vecEntries(Le(strFile, nPos + 2, 2));
    nPos += 8;
    for (auto& entry : vecEntries)
    {
        entry.first = strFile.substr(nPos, nKeySize ? nKeySize : strFile.find('\0', nPos) - nPos);
        nPos += entry.first.size() + (nKeySize ? 0 : 1);
        entry.second = Le(strFile, nPos);
        nPos += 4;
    }
    return vecEntries;
}

// The viewer's hash: hash * 43 plus the weight of each upper-cased character, where
// '1'-'9' and 'A'-'Z' weigh their distance from '0', and '0' weighs 10, '.' 12, '_' 13.
int32_t ViewerHash(const std::string& strId)
{
    uint32_t nHash = 0;
    for (char ch : strId)
        nHash = nHash * 43 + static_cast<uint32_t>(ch == '0' ? 10 : ch == '.' ? 12 : ch == '_' ? 13
                                                   : std::toupper(static_cast<unsigned char>(ch)) - '0');
    return static_cast<int32_t>(nHash);
}

}  // namespace

TEST(Hlpc, DirectoryAndContextTableFindEveryTopic)
{
    std::string strSource = "= Sample\n", strErrors, strFile;
    std::vector<int32_t> vecHashes;  // in source order
    // Each kind of character in both cases; the hashes fall on both sides of zero.
    for (const char* pszId : {"contents", "Setup_2.x", "v10", "uninstalling", "SUPPORT", "window", "Z"})
    {
        strSource += std::string("# ") + pszId + " About it\nText.\n";
        vecHashes.push_back(ViewerHash(pszId));
    }
    ASSERT_EQ(0, RunHlpc("hlpc_layout", strSource, strErrors, strFile)) << strErrors;
    EXPECT_EQ(0x35F3Fu, Le(strFile, 0));
    EXPECT_EQ(strFile.size(), Le(strFile, 12));
    const char* apszNames[] = {"|CONTEXT", "|FONT", "|SYSTEM", "|TOPIC"};  // sorted, for the viewer's search
    Entries vecFiles = ReadTree(strFile, Le(strFile, 4) + 9, 0);
    ASSERT_EQ(4u, vecFiles.size());
    for (size_t i = 0; i < 4; ++i)
        EXPECT_EQ(apszNames[i], vecFiles[i].first);
    EXPECT_EQ(0x036Cu, Le(strFile, vecFiles[2].second + 9, 2));  // |SYSTEM, past its file header

    // The viewer looks hashes up as signed values in a sorted page; topics lie in source order.
    std::vector<int32_t> vecStored, vecByOffset;
    std::map<uint32_t, int32_t> mapByOffset;
    for (const auto& entry : ReadTree(strFile, vecFiles[0].second + 9, 4))
    {
        vecStored.push_back(static_cast<int32_t>(Le(entry.first, 0)));
        mapByOffset[entry.second] = vecStored.back();
    }
    EXPECT_TRUE(std::is_sorted(vecStored.begin(), vecStored.end()));
    for (const auto& entry : mapByOffset)
        vecByOffset.push_back(entry.second);
    EXPECT_EQ(vecHashes, vecByOffset);
}

TEST(Hlpc, BadSourceIsNamedAndLeavesTheOldOutput)
{
    const struct { std::string strSource; const char* pszMessage; } aCases[] = {
        {"= T\n# a A\ntext\n\nsee [[nowhere|there]]\n", ":5: link to unknown context id 'nowhere'"},
        {"= T\n# a A\n\n# b B\n# A Again\n", ":5: duplicate context id 'A' (first defined on line 2)"},
    };
    for (const auto& bad : aCases)
    {
        std::string strErrors, strOutput;
        EXPECT_NE(0, RunHlpc("hlpc_bad", bad.strSource, strErrors, strOutput)) << bad.pszMessage;
        EXPECT_NE(std::string::npos, strErrors.find(std::string("hlpc_bad.hls") + bad.pszMessage)) << strErrors;
        EXPECT_EQ("old", strOutput) << bad.pszMessage;
    }
}
