// The SZDD codec and the szdd tool: the smallest stream the format allows, and
// bad input of every kind. That the system's own expansion reads what the
// codec writes, the end-to-end tests show with every installed file.
#include "szdd_codec.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

const unsigned char* Data(const std::string& str) { return reinterpret_cast<const unsigned char*>(str.data()); }

std::string RandomText(size_t n, unsigned nSeed, const std::string& strLetters = "")
{
    std::mt19937 random(nSeed);
    std::string str(n, ' ');
    for (char& ch : str)
        ch = static_cast<char>(strLetters.empty() ? random() : strLetters[random() % strLetters.size()]);
    return str;
}

std::string Header(uint32_t n, char cMode = 'A')
{
    std::string str = std::string("SZDD\x88\xF0\x27\x33") + cMode + '\0';
    for (int nShift = 0; nShift < 32; nShift += 8)
        str += static_cast<char>(n >> nShift);
    return str;
}

std::string Expand(const std::string& strFile)
{
    std::vector<unsigned char> vecOut;
    std::string strError;
    EXPECT_TRUE(ExpandSzdd(Data(strFile), strFile.size(), vecOut, strError)) << strError;
    return std::string(vecOut.begin(), vecOut.end());
}

// The smallest file for strData, the slow way: the longest copy from every distance into
// 4096 spaces and the data, then the cheapest way forward through (position, items in
// the open group), each group paying for its flag byte.
size_t SmallestSize(const std::string& strData)
{
    size_t n = strData.size();
    std::string strHistory = std::string(4096, ' ') + strData;
    std::vector<size_t> vecCost((n + 1) * 8, SIZE_MAX / 2);
    vecCost[0] = 0;
    for (size_t nPos = 0; nPos < n; ++nPos)
    {
        const char* p = &strHistory[4096 + nPos];
        size_t nLongest = 0;
        for (size_t nDistance = 1; nDistance <= 4096 && nLongest < 18; ++nDistance)
            nLongest = std::max<size_t>(nLongest, std::mismatch(p, p + std::min<size_t>(18, n - nPos),
                                                                p - nDistance).first - p);
        // A literal takes one byte, a reference of 3 or more two.
        for (size_t nInGroup = 0; nInGroup < 8; ++nInGroup)
            for (size_t nLength = 1; nLength <= std::max<size_t>(nLongest, 1); nLength += nLength == 1 ? 2 : 1)
            {
                size_t& nNext = vecCost[(nPos + nLength) * 8 + (nInGroup + 1) % 8];
                size_t nItem = std::min<size_t>(nLength, 2) + (nInGroup == 0 ? 1 : 0);
                nNext = std::min(nNext, vecCost[nPos * 8 + nInGroup] + nItem);
            }
    }
    return kSzddHeaderSize + *std::min_element(vecCost.end() - 8, vecCost.end());
}

std::string Read(const fs::path& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

// Exit status of the tool run in dir; what it said goes to strErrors.
int RunTool(const fs::path& dir, const std::string& strArgs, std::string& strErrors)
{
    std::string strCommand = "cd \"" + dir.string() + "\" && \"" SZDD_CLI_PATH "\" " + strArgs;
    int nStatus = std::system((strCommand + " 2>../szdd.err").c_str());
    strErrors = Read(dir.parent_path() / "szdd.err");
    return nStatus;
}

}  // namespace

TEST(SzddCodec, RoundTripsAtTheSmallestSize)
{
    std::string strWrap = RandomText(4096, 11);
    strWrap += strWrap.substr(0, 200);  // just within reach
    std::string strTooFar = strWrap.substr(0, 4096) + "z" + strWrap.substr(4096);  // just out of reach
    std::string strMixed = RandomText(3000, 3) + std::string(300, '\0') + RandomText(3000, 4, " \r\nfox");
    std::vector<std::string> vecInputs = {"", "x", std::string(100, ' '), std::string(20000, '\0'),
                                          "cbdbcdcbdcbd", RandomText(5000, 1), RandomText(5000, 2, "ab"),
                                          strMixed, strWrap, strTooFar};
    // Short inputs over few letters, where the best parse is easy to miss.
    std::mt19937 random(2024);
    const char* apszLetters[] = {" a", "ab", " ab", "abc", " abcdefghij"};
    for (unsigned nCase = 0; nCase < 1000; ++nCase)
        vecInputs.push_back(std::string(random() % 4, ' ') +
                            RandomText(1 + random() % 13, random(), apszLetters[nCase % 5]));
    for (const std::string& strData : vecInputs)
    {
        std::vector<unsigned char> vecFile = CompressSzdd(Data(strData), strData.size());
        std::string strShown = std::to_string(strData.size()) + " bytes: " + strData.substr(0, 20);
        ASSERT_EQ(SmallestSize(strData), vecFile.size()) << strShown;
        ASSERT_TRUE(strData == Expand(std::string(vecFile.begin(), vecFile.end()))) << strShown;
    }
}

TEST(SzddTool, ConvertsFilesAndRefusesBadInputLeavingOldOutputAlone)
{
    fs::path dir = fs::absolute("szdd_tool");
    fs::remove_all(dir);
    fs::create_directories(dir / "folder");
    std::string strErrors;
    std::string strData = RandomText(40000, 21, "abc \r\n") + RandomText(30000, 22);  // more than one read
    std::ofstream(dir / "in", std::ios::binary) << strData;
    std::ofstream(dir / "out") << "old";
    EXPECT_EQ(0, RunTool(dir, "in out", strErrors)) << strErrors;
    std::ofstream(dir / "in") << "old";
    EXPECT_EQ(0, RunTool(dir, "-d out in", strErrors)) << strErrors;
    EXPECT_TRUE(strData == Read(dir / "in")) << "the round trip through the tool changed the data";

    const std::string strExpand = "-d in out";
    const struct { std::string strIn; const char* pszMessage; std::string strArgs; } aCases[] = {
        {"", "input is empty", strExpand},
        {std::string(13, 'S'), "truncated header: 13 of 14 bytes", strExpand},
        {"SZDE" + Header(1).substr(4) + "\x01" "a", "wrong magic", strExpand},
        {Header(1, 'B') + "\x01" "a", "compression mode 0x42", strExpand},
        {Header(1), "ends after 0 of 1 expanded bytes", strExpand},
        {Header(5) + "\x07" "abc", "ends after 3 of 5", strExpand},
        {Header(4) + "\x01" "a\xF0", "ends after 1 of 4", strExpand},
        {Header(0xFFFFFFFF) + "\x01" "a", "ends after 1 of 4294967295", strExpand},
        {Header(4) + "\x01" "a\xF0\xF1", "runs past the expanded length of 4", strExpand},
        {Header(1) + "\x01" "ab", "trailing data after the expanded", strExpand},
        {Header(8) + "\xFF" "12345678" + '\0', "trailing data", strExpand},
        {"", "usage: szdd IN OUT", ""},
        {"", "gone: No such file", "-d gone out"},
        {"", "nowhere/out.tmp: No such file", "in nowhere/out"},
        {"x", "cannot write folder", "in folder"},
    };
    for (const auto& bad : aCases)
    {
        SCOPED_TRACE(bad.pszMessage);
        std::ofstream(dir / "in", std::ios::binary) << bad.strIn;
        std::ofstream(dir / "out") << "old";
        EXPECT_NE(0, RunTool(dir, bad.strArgs, strErrors));
        EXPECT_NE(std::string::npos, strErrors.find(bad.pszMessage)) << strErrors;
        EXPECT_EQ("old", Read(dir / "out"));
        EXPECT_EQ(3, std::distance(fs::directory_iterator(dir), {})) << "a temporary file is left";
    }
    fs::remove_all(dir);
    fs::remove(dir.parent_path() / "szdd.err");
}
