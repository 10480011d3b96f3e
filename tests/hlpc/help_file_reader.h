// help_file_reader.h - a reader of .hlp files for the tests, written from the
// published format description rather than from the writer, so that the two
// do not share mistakes.
//   CByteReader:     bounds-checked little-endian cursor.
//   HelpDirectory:   the internal directory; ReadHelpDirectory.
//   TopicLinkRecord: one link of |TOPIC; ReadTopicLinks walks the chain.
//   DisplayText:     what a text record shows; DecodeDisplayText.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

typedef std::vector<uint8_t> Bytes;

class CByteReader
{
public:
    CByteReader(const Bytes& vData, size_t nPos) : m_vData(vData), m_nPos(nPos) {}
    uint8_t ReadByte();
    uint16_t ReadWord();
    uint32_t ReadDword();
    std::string ReadStringZ();
    uint16_t ReadCompressedUnsignedShort();
    int16_t ReadCompressedSignedShort();
    int32_t ReadCompressedSignedLong();
    size_t GetPos() const { return m_nPos; }
    bool HasOverrun() const { return m_bOverrun; }
    bool IsAtEnd() const { return m_nPos >= m_vData.size(); }

private:
    const Bytes& m_vData;
    size_t m_nPos;
    bool m_bOverrun = false;
};

struct BTreeHeader
{
    uint16_t m_nMagic = 0, m_nFlags = 0, m_nPageSize = 0;
    std::string m_strStructure;
    int16_t m_nMustBeZero = 0, m_nRootPage = 0, m_nMustBeNegOne = 0;
    int16_t m_nTotalPages = 0, m_nLevels = 0;
    uint32_t m_nTotalEntries = 0;
};

struct LeafPage
{
    uint16_t m_nUnused = 0;
    int16_t m_nEntries = 0, m_nPrevious = 0, m_nNext = 0;
    size_t m_nEntriesStart = 0;  // offset of the first entry in the file
};

struct HelpDirectory
{
    uint32_t m_nMagic = 0, m_nDirectoryStart = 0, m_nFreeBlock = 0, m_nFileSize = 0;
    uint32_t m_nDirectoryReserved = 0, m_nDirectoryUsed = 0;
    BTreeHeader m_tree;
    LeafPage m_leaf;
    size_t m_nEntryBytes = 0;
    std::vector<std::string> m_vNames;  // in directory order
    std::map<std::string, uint32_t> m_mapOffsets;
};

// Fills directory; nonzero when every read stayed inside the file.
int ReadHelpDirectory(const Bytes& vFile, HelpDirectory& directory);

// The bytes of an internal file after its 9-byte header; empty when absent.
Bytes GetInternalFile(const Bytes& vFile, const HelpDirectory& directory, const std::string& strName);

// Reads a B+ tree at nStart that has a single leaf page.
int ReadSingleLeafTree(const Bytes& vData, size_t nStart, BTreeHeader& tree, LeafPage& leaf);

Bytes DecodeLz77(const uint8_t* pData, size_t nSize);

struct TopicBlock
{
    uint32_t m_nLastTopicLink = 0, m_nFirstTopicLink = 0, m_nLastTopicHeader = 0;
    size_t m_nStoredSize = 0;
    Bytes m_vData;  // decompressed
};

std::vector<TopicBlock> ReadTopicBlocks(const Bytes& vTopicFile);

struct TopicLinkRecord
{
    uint32_t m_nTopicPos = 0, m_nBlock = 0, m_nOffset = 0;
    uint32_t m_nBlockSize = 0, m_nDataLen2 = 0, m_nPrevBlock = 0, m_nNextBlock = 0, m_nDataLen1 = 0;
    uint8_t m_nRecordType = 0;
    Bytes m_vData1, m_vData2;
};

// Follows NextBlock from the first link; strError says why a walk stopped early.
std::vector<TopicLinkRecord> ReadTopicLinks(const std::vector<TopicBlock>& vBlocks, std::string& strError);

struct DisplayText
{
    int32_t m_nTopicSize = 0;
    uint16_t m_nTopicLength = 0;
    std::vector<std::string> m_vParagraphs;
    std::vector<uint32_t> m_vJumpHashes;
    std::vector<uint16_t> m_vFonts;
};

// Decodes a 0x20 record; nonzero when its data parsed completely.
int DecodeDisplayText(const TopicLinkRecord& link, DisplayText& text, std::string& strError);
