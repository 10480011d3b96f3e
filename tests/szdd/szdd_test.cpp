#include "szdd_codec.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <initializer_list>
#include <random>
#include <string>
#include <vector>

#ifndef _WIN32
#include <sys/wait.h>
#endif

using Bytes = std::vector<unsigned char>;

namespace {

Bytes ToBytes(const std::string& str)
{
    return Bytes(str.begin(), str.end());
}

Bytes operator+(Bytes vec, const Bytes& vecMore)
{
    vec.insert(vec.end(), vecMore.begin(), vecMore.end());
    return vec;
}

Bytes RandomBytes(size_t n, unsigned nSeed, const std::string& strAlphabet = "")
{
    std::mt19937 random(nSeed);
    Bytes vec(n);
    for (unsigned char& b : vec)
        b = strAlphabet.empty() ? static_cast<unsigned char>(random() & 0xFF)
                                : strAlphabet[random() % strAlphabet.size()];
    return vec;
}

Bytes Header(uint32_t nExpanded, unsigned char bMode = 'A')
{
    return {'S', 'Z', 'D', 'D', 0x88, 0xF0, 0x27, 0x33, bMode, 0,
            static_cast<unsigned char>(nExpanded), static_cast<unsigned char>(nExpanded >> 8),
            static_cast<unsigned char>(nExpanded >> 16), static_cast<unsigned char>(nExpanded >> 24)};
}

// Builds a compressed stream item by item, the way the format lays it out.
class CStream
{
public:
    CStream& Literals(const Bytes& vec)
    {
        for (unsigned char b : vec)
            AddItem(true, {b});
        return *this;
    }
    CStream& Literals(const char* psz) { return Literals(ToBytes(psz)); }
    CStream& Reference(unsigned nSlot, unsigned nLength)
    {
        AddItem(false, {static_cast<unsigned char>(nSlot & 0xFF),
                        static_cast<unsigned char>(((nSlot >> 8) << 4) | (nLength - 3))});
        return *this;
    }
    Bytes File(uint32_t nExpanded) const { return Header(nExpanded) + m_vecData; }

private:
    void AddItem(bool bLiteral, const Bytes& vecItem)
    {
        if (m_nItems % 8 == 0)
        {
            m_nFlagIndex = m_vecData.size();
            m_vecData.push_back(0);
        }
        if (bLiteral)
            m_vecData[m_nFlagIndex] |= static_cast<unsigned char>(1 << (m_nItems % 8));
        ++m_nItems;
        m_vecData = m_vecData + vecItem;
    }

    Bytes m_vecData;
    size_t m_nItems = 0;
    size_t m_nFlagIndex = 0;
};

Bytes Expand(const Bytes& vecFile, unsigned char bFill = ' ')
{
    Bytes vecOut;
    std::string strError;
    EXPECT_TRUE(ExpandSzddWithFill(vecFile.data(), vecFile.size(), bFill, vecOut, strError)) << strError;
    return vecOut;
}

// Compresses, checks the header and the round trip, and returns the compressed file.
Bytes CheckRoundTrip(const Bytes& vecData)
{
    Bytes vecFile = CompressSzdd(vecData.data(), vecData.size());
    size_t nHeader = std::min(vecFile.size(), kSzddHeaderSize);
    EXPECT_EQ(Header(static_cast<uint32_t>(vecData.size())), Bytes(vecFile.begin(), vecFile.begin() + nHeader));
    EXPECT_EQ(vecData, Expand(vecFile));
    return vecFile;
}

// Stored size when every byte is a literal: the worst the compressor may ever do.
size_t AllLiteralSize(size_t n)
{
    return kSzddHeaderSize + n + (n + 7) / 8;
}

}  // namespace

TEST(SzddRoundTrip, EmptyAndOneByte)
{
    EXPECT_EQ(kSzddHeaderSize, CheckRoundTrip({}).size());
    EXPECT_EQ(kSzddHeaderSize + 2, CheckRoundTrip({'x'}).size());  // a flag byte and the literal
}

TEST(SzddRoundTrip, RandomInputsNeverGrowPastAllLiterals)
{
    for (size_t n : {2u, 7u, 8u, 9u, 100u, 5000u, 70000u})
        EXPECT_LE(CheckRoundTrip(RandomBytes(n, static_cast<unsigned>(n))).size(), AllLiteralSize(n));
}

TEST(SzddRoundTrip, RepetitiveAndMixedInputs)
{
    Bytes vecZeros(100000, 0);
    // 100000 zeros: one literal, then 5556 references (18 bytes each at most, 2 bytes each).
    EXPECT_EQ(kSzddHeaderSize + 1 + 5556 * 2 + (5557 + 7) / 8, CheckRoundTrip(vecZeros).size());
    CheckRoundTrip(RandomBytes(50000, 3, "ab"));
    CheckRoundTrip(RandomBytes(50000, 4, " \r\nthe quick brown fox"));
    Bytes vecMixed;
    for (unsigned nPart = 0; nPart < 12; ++nPart)
        vecMixed = vecMixed + RandomBytes(3000 + 977 * nPart, nPart, nPart % 2 ? "" : "abc \r\n") +
                   Bytes(nPart * 300, 0);
    CheckRoundTrip(vecMixed);
}

TEST(SzddExpand, HandMadeStreams)
{
    // Data byte p sits in window slot (4080 + p) mod 4096.
    EXPECT_EQ(ToBytes("abcabc"), Expand(CStream().Literals("abc").Reference(4080, 3).File(6)));
    // Nine items: the second group has its own flag byte.
    EXPECT_EQ(ToBytes("012345678"), Expand(CStream().Literals("012345678").File(9)));
    // Overlap: each byte copied is read back at once.
    EXPECT_EQ(Bytes(19, 'x'), Expand(CStream().Literals("x").Reference(4080, 18).File(19)));
    EXPECT_EQ(ToBytes("abababab"), Expand(CStream().Literals("ab").Reference(4080, 6).File(8)));
}

TEST(SzddExpand, ReferencesIntoTheInitialFillDependOnIt)
{
    Bytes vecFile = CStream().Reference(0, 5).File(5);
    EXPECT_EQ(ToBytes("     "), Expand(vecFile));
    EXPECT_EQ(ToBytes("*****"), Expand(vecFile, '*'));
    // Starts in the fill, runs through "ab" and into the slot its own first byte filled.
    vecFile = CStream().Literals("ab").Reference(4078, 5).File(7);
    EXPECT_EQ(ToBytes("ab  ab "), Expand(vecFile));
    EXPECT_EQ(ToBytes("ab**ab*"), Expand(vecFile, '*'));
}

TEST(SzddExpand, WindowWrapsAt4096)
{
    Bytes vecData = RandomBytes(4100, 7);
    // The write slot is now 4084, still holding byte 4: read before it is overwritten.
    // Slots 4094, 4095, 0, 1 hold bytes 14 to 17: the copy wraps round the window.
    Bytes vecFile = CStream().Literals(vecData).Reference(4084, 3).Reference(4094, 4).File(4107);
    Bytes vecExpected = vecData + Bytes(&vecData[4], &vecData[7]) + Bytes(&vecData[14], &vecData[18]);
    EXPECT_EQ(vecExpected, Expand(vecFile));
}

TEST(SzddCompress, UsesTheInitialFill)
{
    // 100 spaces: six references (18 bytes at most each) in one group.
    Bytes vecFile = CheckRoundTrip(Bytes(100, ' '));
    EXPECT_EQ(kSzddHeaderSize + 1 + 6 * 2, vecFile.size());
    EXPECT_EQ(Bytes(100, '*'), Expand(vecFile, '*'));
    // A literal 'x', then 36 spaces in two references: the first reaches 18 bytes into the fill.
    EXPECT_EQ(kSzddHeaderSize + 1 + 1 + 2 * 2, CheckRoundTrip(ToBytes("x") + Bytes(36, ' ')).size());
}

TEST(SzddCompress, MatchesAcrossTheWindowWrap)
{
    Bytes vecBlock = RandomBytes(4096, 11);
    Bytes vecData = vecBlock + Bytes(&vecBlock[0], &vecBlock[200]);
    // The block as literals, then 200 bytes exactly 4096 back: 12 references in two groups.
    EXPECT_LE(CheckRoundTrip(vecData).size(), AllLiteralSize(4096) + 2 + 12 * 2);
    // 4097 back is out of reach and must not be used.
    vecData.insert(vecData.begin() + 4096, 'z');
    CheckRoundTrip(vecData);
    // Random text with its second half repeating stretches from far back.
    Bytes vecLong = RandomBytes(6000, 12, "abcdefgh");
    for (size_t n = 0; n < 3000; ++n)
        vecLong.push_back(vecLong[vecLong.size() - 4000 - (n / 100) % 96]);
    CheckRoundTrip(vecLong);
}

namespace {

// The smallest stream for vecData, found the slow way: a reference may copy any run found 1 to
// 4096 bytes back in 4096 spaces + vecData, and every distance is tried. Then either every
// sequence of items is tried (small inputs only), or the cheapest tail is worked out for each
// position and number of items already in the open group.
class COptimum
{
public:
    explicit COptimum(const Bytes& vecData) : m_vecData(vecData), m_vecLongest(vecData.size(), 0)
    {
        for (size_t nPos = 0; nPos < m_vecData.size(); ++nPos)
            for (ptrdiff_t nDistance = 1; nDistance <= 4096; ++nDistance)
                m_vecLongest[nPos] = std::max(m_vecLongest[nPos], MatchLength(nPos, nDistance));
    }

    size_t ByEnumeration()
    {
        m_nBest = SIZE_MAX;
        Walk(0, 0, 0);
        return m_nBest;
    }

    size_t ByCheapestTails() const
    {
        size_t n = m_vecData.size();
        std::vector<size_t> vecTail((n + 1) * 8, 0);  // [position * 8 + items in the open group]
        for (size_t nPos = n; nPos-- > 0;)
            for (size_t nInGroup = 0; nInGroup < 8; ++nInGroup)
            {
                auto Then = [&](size_t nNext) { return vecTail[nNext * 8 + (nInGroup + 1) % 8]; };
                size_t nBest = 1 + Then(nPos + 1);
                for (size_t nLength = 3; nLength <= m_vecLongest[nPos]; ++nLength)
                    nBest = std::min(nBest, 2 + Then(nPos + nLength));
                vecTail[nPos * 8 + nInGroup] = nBest + (nInGroup == 0 ? 1 : 0);
            }
        return vecTail[0];
    }

private:
    size_t MatchLength(size_t nPos, ptrdiff_t nDistance) const
    {
        size_t n = 0;
        while (n < 18 && nPos + n < m_vecData.size() &&
               HistoryAt(ptrdiff_t(nPos + n) - nDistance) == m_vecData[nPos + n])
            ++n;
        return n;
    }
    unsigned char HistoryAt(ptrdiff_t nIndex) const
    {
        return nIndex < 0 ? ' ' : m_vecData[nIndex];
    }
    void Walk(size_t nPos, size_t nBytes, size_t nItems)
    {
        if (nPos == m_vecData.size())
        {
            m_nBest = std::min(m_nBest, nBytes + (nItems + 7) / 8);
            return;
        }
        Walk(nPos + 1, nBytes + 1, nItems + 1);
        for (size_t nLength = 3; nLength <= m_vecLongest[nPos]; ++nLength)
            Walk(nPos + nLength, nBytes + 2, nItems + 1);
    }

    Bytes m_vecData;
    std::vector<size_t> m_vecLongest;
    size_t m_nBest = SIZE_MAX;
};

}  // namespace

TEST(SzddCompress, SizeEqualsBruteForceOptimum)
{
    std::mt19937 random(2024);
    const char* apszAlphabets[] = {" a", "ab", " ab", "abc", " abcdefghij"};
    for (unsigned nCase = 0; nCase < 4000; ++nCase)
    {
        size_t nSpaces = random() % 4;
        size_t nLength = 1 + random() % 13;
        Bytes vecData = Bytes(nSpaces, ' ') + RandomBytes(nLength, random(), apszAlphabets[nCase % 5]);
        COptimum optimum(vecData);
        size_t nOptimum = optimum.ByEnumeration();
        ASSERT_EQ(nOptimum, optimum.ByCheapestTails());
        ASSERT_EQ(kSzddHeaderSize + nOptimum, CheckRoundTrip(vecData).size())
            << "input \"" << std::string(vecData.begin(), vecData.end()) << "\"";
    }
}

// Catches a match search that misses candidates, which small inputs cannot show.
TEST(SzddCompress, SizeEqualsOptimumOnLargerInputs)
{
    Bytes vecFarRepeats = RandomBytes(9000, 31, " ab\r\n");
    for (size_t n = 4096; n < vecFarRepeats.size(); n += 1 + n % 7)
        vecFarRepeats[n] = vecFarRepeats[n - 4096 + n % 3];
    Bytes vecMixed = RandomBytes(3000, 34) + Bytes(300, 0) + RandomBytes(3000, 35, "xy");
    for (const Bytes& vecData :
         {RandomBytes(9000, 32, "ab"), RandomBytes(9000, 33, "abcd"), vecFarRepeats, vecMixed})
        EXPECT_EQ(kSzddHeaderSize + COptimum(vecData).ByCheapestTails(), CheckRoundTrip(vecData).size());
}

TEST(SzddCompress, FewerItemsWhenThatSavesAFlagByte)
{
    // Six literals, then "cbd" twice by reference: 8 items, 10 bytes and one flag byte.
    // Literals c, b and a reference to "dcbd" also take 10 bytes, but as 9 items in two groups.
    EXPECT_EQ(kSzddHeaderSize + 11, CheckRoundTrip(ToBytes("cbdbcdcbdcbd")).size());
}

namespace {

struct BadInput
{
    const char* pszCase;
    Bytes vecFile;
    const char* pszError;
};

std::vector<BadInput> BadInputs()
{
    Bytes vecWrongMagic = Header(1) + Bytes{1, 'a'};
    vecWrongMagic[3] = 'E';
    Bytes vecCutReference = CStream().Literals("a").Reference(4080, 3).File(4);
    vecCutReference.pop_back();
    return {
        {"empty", {}, "input is empty"},
        {"13-byte header", Bytes(13, 'S'), "truncated header: 13 of 14 bytes"},
        {"wrong magic", vecWrongMagic, "wrong magic"},
        {"mode B", Header(1, 'B') + Bytes{1, 'a'}, "compression mode 0x42"},
        {"no data", Header(1), "ends after 0 of 1 expanded bytes"},
        {"stream ends early", CStream().Literals("abc").File(5), "ends after 3 of 5"},
        {"cut reference", vecCutReference, "ends after 1 of 4"},
        {"huge length", CStream().Literals("a").File(0xFFFFFFFFu), "ends after 1 of 4294967295"},
        {"reference too long", CStream().Literals("a").Reference(4080, 4).File(4),
         "runs past the expanded length of 4"},
        {"trailing byte", CStream().Literals("a").File(1) + Bytes{'b'}, "trailing data after the expanded"},
        {"trailing flag byte", CStream().Literals("12345678").File(8) + Bytes{0}, "trailing data"},
        {"data in empty file", Header(0) + Bytes{0}, "trailing data"},
    };
}

}  // namespace

TEST(SzddExpand, RejectsBadInput)
{
    for (const BadInput& bad : BadInputs())
    {
        Bytes vecOut{'x'};
        std::string strError;
        EXPECT_FALSE(ExpandSzdd(bad.vecFile.data(), bad.vecFile.size(), vecOut, strError)) << bad.pszCase;
        EXPECT_NE(std::string::npos, strError.find(bad.pszError)) << bad.pszCase << ": " << strError;
        EXPECT_TRUE(vecOut.empty()) << bad.pszCase;
    }
}

// Runs the built command-line tool in a directory of its own.
class SzddCli : public ::testing::Test
{
protected:
    void SetUp() override
    {
        // Unique, so that test runs of several build trees can overlap.
        m_dir = std::filesystem::temp_directory_path() /
                ("szdd_cli_" + std::to_string(std::random_device()()) + "_" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(m_dir);
    }
    void TearDown() override { std::filesystem::remove_all(m_dir); }

    std::string PathOf(const char* pszName) const { return (m_dir / pszName).string(); }

    void WriteFile(const char* pszName, const Bytes& vec) const
    {
        std::FILE* pFile = std::fopen(PathOf(pszName).c_str(), "wb");
        ASSERT_TRUE(pFile);
        EXPECT_EQ(vec.size(), std::fwrite(vec.data(), 1, vec.size(), pFile));
        std::fclose(pFile);
    }
    Bytes ReadFile(const char* pszName) const
    {
        Bytes vec;
        std::string strError;
        EXPECT_TRUE(ReadWholeFile(PathOf(pszName).c_str(), vec, strError)) << strError;
        return vec;
    }

    // Exit status of the tool; "-d" is passed as it is, other arguments are names in m_dir.
    // Its standard error goes to m_strStderr.
    int Run(std::initializer_list<const char*> args)
    {
        std::string strCommand = "\"" SZDD_CLI_PATH "\"";
        for (const char* pszArg : args)
            strCommand += std::string(" ") + (*pszArg == '-' ? pszArg : "\"" + PathOf(pszArg) + "\"");
        strCommand += " 2>\"" + PathOf("stderr.txt") + "\"";
#ifdef _WIN32
        int nStatus = std::system(("\"" + strCommand + "\"").c_str());  // cmd.exe drops the outer quotes
#else
        int nStatus = std::system(strCommand.c_str());
        nStatus = WIFEXITED(nStatus) ? WEXITSTATUS(nStatus) : -1;
#endif
        Bytes vecErr = ReadFile("stderr.txt");
        m_strStderr.assign(vecErr.begin(), vecErr.end());
        std::filesystem::remove(PathOf("stderr.txt"));
        return nStatus;
    }

    std::filesystem::path m_dir;
    std::string m_strStderr;
};

TEST_F(SzddCli, CompressesAndExpandsFiles)
{
    Bytes vecData = RandomBytes(30000, 21, "abc \r\n") + Bytes(5000, 0) + RandomBytes(3000, 22);
    WriteFile("in.bin", vecData);
    WriteFile("back.bin", ToBytes("an older copy, to be replaced"));
    EXPECT_EQ(0, Run({"in.bin", "in.szdd"})) << m_strStderr;
    EXPECT_EQ(0, Run({"-d", "in.szdd", "back.bin"})) << m_strStderr;
    EXPECT_EQ(vecData, ReadFile("back.bin"));
    EXPECT_EQ(vecData, Expand(ReadFile("in.szdd")));
    EXPECT_EQ("", m_strStderr);

    WriteFile("empty.bin", {});
    EXPECT_EQ(0, Run({"empty.bin", "empty.szdd"})) << m_strStderr;
    EXPECT_EQ(Header(0), ReadFile("empty.szdd"));
    EXPECT_FALSE(std::filesystem::exists(PathOf("in.szdd.tmp")));
    EXPECT_FALSE(std::filesystem::exists(PathOf("back.bin.tmp")));
}

TEST_F(SzddCli, RejectsBadInputAndKeepsTheOldOutput)
{
    for (const BadInput& bad : BadInputs())
    {
        WriteFile("bad.szdd", bad.vecFile);
        WriteFile("out.bin", ToBytes("old"));
        EXPECT_EQ(1, Run({"-d", "bad.szdd", "out.bin"})) << bad.pszCase;
        EXPECT_NE(std::string::npos, m_strStderr.find(bad.pszError)) << bad.pszCase << ": " << m_strStderr;
        EXPECT_EQ(ToBytes("old"), ReadFile("out.bin")) << bad.pszCase;
        EXPECT_FALSE(std::filesystem::exists(PathOf("out.bin.tmp"))) << bad.pszCase;
    }
}

TEST_F(SzddCli, ReportsUsageAndFileErrors)
{
    EXPECT_EQ(2, Run({}));
    EXPECT_NE(std::string::npos, m_strStderr.find("usage: szdd IN OUT"));
    EXPECT_EQ(2, Run({"-d", "in.szdd"}));
    EXPECT_EQ(2, Run({"a", "b", "c"}));

    EXPECT_EQ(1, Run({"missing.bin", "out.szdd"}));
    EXPECT_NE(std::string::npos, m_strStderr.find("cannot open " + PathOf("missing.bin")));
    EXPECT_FALSE(std::filesystem::exists(PathOf("out.szdd")));

    WriteFile("in.bin", ToBytes("some data"));
    EXPECT_EQ(1, Run({"in.bin", "no-such-dir/out.szdd"}));
    EXPECT_NE(std::string::npos, m_strStderr.find("cannot create"));

    // The temporary file is written, but cannot replace a directory: it must go again.
    std::filesystem::create_directory(PathOf("out.dir"));
    EXPECT_EQ(1, Run({"in.bin", "out.dir"}));
    EXPECT_NE(std::string::npos, m_strStderr.find("cannot write " + PathOf("out.dir")));
    EXPECT_FALSE(std::filesystem::exists(PathOf("out.dir.tmp")));
    EXPECT_TRUE(std::filesystem::is_directory(PathOf("out.dir")));
}
