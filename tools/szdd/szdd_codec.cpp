#include "szdd_codec.h"

#include <algorithm>
#include <cerrno>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstring>

namespace {

const unsigned char kMagic[8] = {0x53, 0x5A, 0x44, 0x44, 0x88, 0xF0, 0x27, 0x33};
constexpr unsigned char kModeA = 0x41;
constexpr size_t kWindowSize = 4096;
constexpr size_t kWindowMask = kWindowSize - 1;
constexpr size_t kFirstWritePos = kWindowSize - 16;
constexpr size_t kMinMatch = 3;
constexpr size_t kMaxMatch = 18;
constexpr unsigned kItemsPerGroup = 8;
constexpr size_t kHashSize = 1 << 15;

struct Match
{
    size_t nLength;    // 0 when no match of kMinMatch bytes or more exists
    size_t nDistance;  // 1..kWindowSize bytes back
};

// ---- Match finding ----
// The decoder's history is kWindowSize fill bytes followed by the data. A match that starts
// kMaxMatch or more fill bytes back reads nothing but fill, so it matches exactly as far as
// one starting kMaxMatch back; only that last stretch of fill needs to be searched.
//
// Positions with the same hash form a binary search tree ordered by their next kMaxMatch
// bytes. Each insertion splits the tree around the new string and makes it the root, so
// every node is newer than all below it: a node beyond the window ends its whole subtree.
// The new string's neighbours in sorted order lie on the search path, so the longest
// match is always found.
class CMatchFinder
{
public:
    CMatchFinder(const unsigned char* pData, size_t nData);
    Match FindLongestAndInsert(size_t nPos);

private:
    size_t HashAt(size_t nIndex) const;
    Match SearchAndInsert(size_t nIndex);

    std::vector<unsigned char> m_vecHistory;  // kMaxMatch fill bytes, then the data
    std::vector<ptrdiff_t> m_vecRoot;         // per hash: newest position, -1 for none
    std::vector<ptrdiff_t> m_vecChildren;     // per position: smaller subtree, greater subtree
};

CMatchFinder::CMatchFinder(const unsigned char* pData, size_t nData)
    : m_vecHistory(kMaxMatch, kSzddWindowFill), m_vecRoot(kHashSize, -1),
      m_vecChildren(2 * (kMaxMatch + nData), -1)
{
    m_vecHistory.insert(m_vecHistory.end(), pData, pData + nData);
    for (size_t nIndex = 0; nIndex < kMaxMatch; ++nIndex)
        SearchAndInsert(nIndex);
}

Match CMatchFinder::FindLongestAndInsert(size_t nPos)
{
    Match best = SearchAndInsert(kMaxMatch + nPos);
    return best.nLength >= kMinMatch ? best : Match{0, 0};
}

size_t CMatchFinder::HashAt(size_t nIndex) const
{
    const unsigned char* p = &m_vecHistory[nIndex];
    return ((p[0] << 10) ^ (p[1] << 5) ^ p[2]) & (kHashSize - 1);
}

Match CMatchFinder::SearchAndInsert(size_t nIndex)
{
    Match best = {0, 0};
    size_t nLimit = std::min(kMaxMatch, m_vecHistory.size() - nIndex);
    if (nLimit < kMinMatch)
        return best;  // no later position can match this one either
    size_t nHash = HashAt(nIndex);
    ptrdiff_t nNode = m_vecRoot[nHash];
    m_vecRoot[nHash] = static_cast<ptrdiff_t>(nIndex);
    ptrdiff_t* pSmaller = &m_vecChildren[2 * nIndex];  // where the next smaller node goes
    ptrdiff_t* pGreater = &m_vecChildren[2 * nIndex + 1];
    size_t nSmallerCommon = 0;  // prefix shared with everything still to the smaller side
    size_t nGreaterCommon = 0;
    const unsigned char* pNew = &m_vecHistory[nIndex];
    while (nNode >= 0 && nIndex - static_cast<size_t>(nNode) <= kWindowSize)
    {
        const unsigned char* pOld = &m_vecHistory[nNode];
        ptrdiff_t* pChildren = &m_vecChildren[2 * nNode];
        size_t nLength = std::min(nSmallerCommon, nGreaterCommon);
        while (nLength < nLimit && pOld[nLength] == pNew[nLength])
            ++nLength;
        if (nLength > best.nLength)
            best = {nLength, nIndex - static_cast<size_t>(nNode)};
        if (nLength == nLimit)
        {
            // As good as the old node for every later search, and nearer: take its place.
            *pSmaller = pChildren[0];
            *pGreater = pChildren[1];
            return best;
        }
        if (pOld[nLength] < pNew[nLength])
        {
            *pSmaller = nNode;
            pSmaller = &pChildren[1];
            nSmallerCommon = nLength;
            nNode = *pSmaller;
        }
        else
        {
            *pGreater = nNode;
            pGreater = &pChildren[0];
            nGreaterCommon = nLength;
            nNode = *pGreater;
        }
    }
    *pSmaller = -1;
    *pGreater = -1;
    return best;
}

// ---- Optimal parse ----
// Size = literals + 2 * references + one flag byte per started group of eight items, so the
// cheapest tail from a position also depends on how many items the current group holds.
// Every length from kMinMatch up to the longest match is available at the same distance.
// Returns the item length chosen at each (position, items in group) state; 1 is a literal.
std::vector<unsigned char> ChooseItemLengths(const std::vector<Match>& vecMatches)
{
    size_t nData = vecMatches.size();
    std::vector<uint32_t> vecCost((nData + 1) * kItemsPerGroup, 0);
    std::vector<unsigned char> vecChoice(nData * kItemsPerGroup, 1);
    for (size_t nPos = nData; nPos-- > 0;)
    {
        for (unsigned nFilled = 0; nFilled < kItemsPerGroup; ++nFilled)
        {
            unsigned nNext = (nFilled + 1) % kItemsPerGroup;
            uint32_t nBest = 1 + vecCost[(nPos + 1) * kItemsPerGroup + nNext];
            size_t nBestLength = 1;
            for (size_t nLength = kMinMatch; nLength <= vecMatches[nPos].nLength; ++nLength)
            {
                uint32_t nCost = 2 + vecCost[(nPos + nLength) * kItemsPerGroup + nNext];
                if (nCost < nBest)
                {
                    nBest = nCost;
                    nBestLength = nLength;
                }
            }
            vecCost[nPos * kItemsPerGroup + nFilled] = nBest + (nFilled == 0 ? 1 : 0);
            vecChoice[nPos * kItemsPerGroup + nFilled] = static_cast<unsigned char>(nBestLength);
        }
    }
    return vecChoice;
}

void AppendHeader(std::vector<unsigned char>& vecOut, size_t nExpanded)
{
    vecOut.assign(kMagic, kMagic + sizeof(kMagic));
    vecOut.push_back(kModeA);
    vecOut.push_back(0);  // last character of the file name: none recorded
    for (int nShift = 0; nShift < 32; nShift += 8)
        vecOut.push_back(static_cast<unsigned char>((nExpanded >> nShift) & 0xFF));
}

// ---- Expansion ----
int Fail(std::string& strError, const char* pszFormat, ...)
{
    char szText[160];
    va_list args;
    va_start(args, pszFormat);
    std::vsnprintf(szText, sizeof(szText), pszFormat, args);
    va_end(args);
    strError = szText;
    return 0;
}

class CWindow
{
public:
    explicit CWindow(unsigned char bFill) : m_vecRing(kWindowSize, bFill) {}

    void Put(unsigned char b, std::vector<unsigned char>& vecOut)
    {
        m_vecRing[m_nWrite] = b;
        m_nWrite = (m_nWrite + 1) & kWindowMask;
        vecOut.push_back(b);
    }

    // One byte at a time, read before write: a reference may overlap what it writes,
    // down to the very slot it is about to overwrite.
    void Copy(size_t nRead, size_t nLength, std::vector<unsigned char>& vecOut)
    {
        for (size_t n = 0; n < nLength; ++n)
            Put(m_vecRing[(nRead + n) & kWindowMask], vecOut);
    }

private:
    std::vector<unsigned char> m_vecRing;
    size_t m_nWrite = kFirstWritePos;
};

int ReadHeader(const unsigned char* pFile, size_t nFile, uint32_t& nExpanded, std::string& strError)
{
    if (nFile == 0)
        return Fail(strError, "input is empty");
    if (nFile < kSzddHeaderSize)
        return Fail(strError, "truncated header: %zu of %zu bytes", nFile, kSzddHeaderSize);
    if (!std::equal(kMagic, kMagic + sizeof(kMagic), pFile))
        return Fail(strError, "not an SZDD file (wrong magic)");
    if (pFile[8] != kModeA)
        return Fail(strError, "unsupported compression mode 0x%02X (only 'A' is known)", pFile[8]);
    nExpanded = pFile[10] | (pFile[11] << 8) | (pFile[12] << 16) | (uint32_t(pFile[13]) << 24);
    return 1;
}

int ExpandStream(const unsigned char* pFile, size_t nFile, uint32_t nExpanded, unsigned char bFill,
                 std::vector<unsigned char>& vecOut, std::string& strError)
{
    const unsigned char* p = pFile + kSzddHeaderSize;
    const unsigned char* pEnd = pFile + nFile;
    // A 17-byte group expands to at most 144 bytes; a larger claim is caught as truncation.
    vecOut.reserve(std::min<size_t>(nExpanded, (pEnd - p) * 9));
    CWindow window(bFill);
    unsigned nFlags = 0;
    for (unsigned nItem = 0; vecOut.size() < nExpanded; nItem = (nItem + 1) % kItemsPerGroup)
    {
        if (nItem == 0 && p < pEnd)
            nFlags = *p++;
        bool bLiteral = (nFlags >> nItem) & 1;
        if (pEnd - p < (bLiteral ? 1 : 2))
            return Fail(strError, "compressed data ends after %zu of %lu expanded bytes",
                        vecOut.size(), static_cast<unsigned long>(nExpanded));
        if (bLiteral)
        {
            window.Put(*p++, vecOut);
            continue;
        }
        size_t nRead = p[0] | ((p[1] & 0xF0) << 4);
        size_t nLength = (p[1] & 0x0F) + kMinMatch;
        if (nLength > nExpanded - vecOut.size())
            return Fail(strError, "reference at offset %zu runs past the expanded length of %lu bytes",
                        static_cast<size_t>(p - pFile), static_cast<unsigned long>(nExpanded));
        window.Copy(nRead, nLength, vecOut);
        p += 2;
    }
    if (p != pEnd)
        return Fail(strError, "trailing data after the expanded length (%zu bytes)",
                    static_cast<size_t>(pEnd - p));
    return 1;
}

}  // namespace

std::vector<unsigned char> CompressSzdd(const unsigned char* pData, size_t nData)
{
    CMatchFinder finder(pData, nData);
    std::vector<Match> vecMatches(nData);
    for (size_t nPos = 0; nPos < nData; ++nPos)
        vecMatches[nPos] = finder.FindLongestAndInsert(nPos);
    std::vector<unsigned char> vecChoice = ChooseItemLengths(vecMatches);

    std::vector<unsigned char> vecOut;
    AppendHeader(vecOut, nData);
    size_t nFlagIndex = 0;
    unsigned nFilled = 0;
    for (size_t nPos = 0; nPos < nData; nFilled = (nFilled + 1) % kItemsPerGroup)
    {
        if (nFilled == 0)
        {
            nFlagIndex = vecOut.size();
            vecOut.push_back(0);
        }
        size_t nLength = vecChoice[nPos * kItemsPerGroup + nFilled];
        if (nLength == 1)
        {
            vecOut[nFlagIndex] |= static_cast<unsigned char>(1u << nFilled);
            vecOut.push_back(pData[nPos]);
        }
        else
        {
            // Data byte nPos lands in window slot (kFirstWritePos + nPos) mod kWindowSize.
            size_t nSlot = (kFirstWritePos + nPos - vecMatches[nPos].nDistance) & kWindowMask;
            vecOut.push_back(static_cast<unsigned char>(nSlot & 0xFF));
            vecOut.push_back(static_cast<unsigned char>(((nSlot >> 4) & 0xF0) | (nLength - kMinMatch)));
        }
        nPos += nLength;
    }
    return vecOut;
}

int ExpandSzdd(const unsigned char* pFile, size_t nFile, std::vector<unsigned char>& vecOut,
               std::string& strError)
{
    return ExpandSzddWithFill(pFile, nFile, kSzddWindowFill, vecOut, strError);
}

int ExpandSzddWithFill(const unsigned char* pFile, size_t nFile, unsigned char bFill,
                       std::vector<unsigned char>& vecOut, std::string& strError)
{
    vecOut.clear();
    uint32_t nExpanded = 0;
    if (ReadHeader(pFile, nFile, nExpanded, strError) &&
        ExpandStream(pFile, nFile, nExpanded, bFill, vecOut, strError))
        return 1;
    vecOut.clear();
    return 0;
}

int ReadWholeFile(const char* pszPath, std::vector<unsigned char>& vecData, std::string& strError)
{
    vecData.clear();
    std::FILE* pFile = std::fopen(pszPath, "rb");
    if (!pFile)
        return Fail(strError, "cannot open %s: %s", pszPath, std::strerror(errno));
    unsigned char abBuffer[65536];
    size_t nRead = 0;
    while ((nRead = std::fread(abBuffer, 1, sizeof(abBuffer), pFile)) > 0)
        vecData.insert(vecData.end(), abBuffer, abBuffer + nRead);
    bool bFailed = std::ferror(pFile) != 0;
    std::fclose(pFile);
    return bFailed ? Fail(strError, "cannot read %s", pszPath) : 1;
}
