#include "help_file_reader.h"

namespace {

const uint32_t kNoPosition = 0xFFFFFFFF;
const size_t kTopicBlockSize = 4096;
const size_t kBlockHeaderSize = 12;
const uint32_t kBlockPositionSpan = 0x4000;
const uint32_t kLinkHeaderSize = 21;
const size_t kBTreeHeaderSize = 38;

}  // namespace

uint8_t CByteReader::ReadByte()
{
    if (m_nPos >= m_vData.size()) {
        m_bOverrun = true;
        return 0;
    }
    return m_vData[m_nPos++];
}

uint16_t CByteReader::ReadWord()
{
    uint16_t nLow = ReadByte();
    return static_cast<uint16_t>(nLow | (ReadByte() << 8));
}

uint32_t CByteReader::ReadDword()
{
    uint32_t nLow = ReadWord();
    return nLow | (static_cast<uint32_t>(ReadWord()) << 16);
}

std::string CByteReader::ReadStringZ()
{
    std::string str;
    for (uint8_t ch = ReadByte(); ch != 0 && !m_bOverrun; ch = ReadByte())
        str += static_cast<char>(ch);
    return str;
}

// Even first byte: value/2. Odd: a word, value/2.
uint16_t CByteReader::ReadCompressedUnsignedShort()
{
    if (m_nPos < m_vData.size() && (m_vData[m_nPos] & 1) == 0)
        return static_cast<uint16_t>(ReadByte() / 2);
    return static_cast<uint16_t>(ReadWord() / 2);
}

int16_t CByteReader::ReadCompressedSignedShort()
{
    if (m_nPos < m_vData.size() && (m_vData[m_nPos] & 1) == 0)
        return static_cast<int16_t>(ReadByte() / 2 - 0x40);
    return static_cast<int16_t>(ReadWord() / 2 - 0x4000);
}

int32_t CByteReader::ReadCompressedSignedLong()
{
    if (m_nPos < m_vData.size() && (m_vData[m_nPos] & 1) == 0)
        return static_cast<int32_t>(ReadWord() / 2) - 0x4000;
    return static_cast<int32_t>(ReadDword() / 2) - 0x4000000;
}

int ReadSingleLeafTree(const Bytes& vData, size_t nStart, BTreeHeader& tree, LeafPage& leaf)
{
    CByteReader reader(vData, nStart);
    tree.m_nMagic = reader.ReadWord();
    tree.m_nFlags = reader.ReadWord();
    tree.m_nPageSize = reader.ReadWord();
    for (int i = 0; i < 16; ++i) {
        char ch = static_cast<char>(reader.ReadByte());
        if (ch != 0 && tree.m_strStructure.size() == static_cast<size_t>(i))
            tree.m_strStructure += ch;
    }
    tree.m_nMustBeZero = static_cast<int16_t>(reader.ReadWord());
    reader.ReadWord();  // page splits
    tree.m_nRootPage = static_cast<int16_t>(reader.ReadWord());
    tree.m_nMustBeNegOne = static_cast<int16_t>(reader.ReadWord());
    tree.m_nTotalPages = static_cast<int16_t>(reader.ReadWord());
    tree.m_nLevels = static_cast<int16_t>(reader.ReadWord());
    tree.m_nTotalEntries = reader.ReadDword();

    CByteReader page(vData, nStart + kBTreeHeaderSize +
                                static_cast<size_t>(tree.m_nRootPage) * tree.m_nPageSize);
    leaf.m_nUnused = page.ReadWord();
    leaf.m_nEntries = static_cast<int16_t>(page.ReadWord());
    leaf.m_nPrevious = static_cast<int16_t>(page.ReadWord());
    leaf.m_nNext = static_cast<int16_t>(page.ReadWord());
    leaf.m_nEntriesStart = page.GetPos();
    return !reader.HasOverrun() && !page.HasOverrun();
}

int ReadHelpDirectory(const Bytes& vFile, HelpDirectory& directory)
{
    CByteReader header(vFile, 0);
    directory.m_nMagic = header.ReadDword();
    directory.m_nDirectoryStart = header.ReadDword();
    directory.m_nFreeBlock = header.ReadDword();
    directory.m_nFileSize = header.ReadDword();
    CByteReader fileHeader(vFile, directory.m_nDirectoryStart);
    directory.m_nDirectoryReserved = fileHeader.ReadDword();
    directory.m_nDirectoryUsed = fileHeader.ReadDword();
    fileHeader.ReadByte();
    if (header.HasOverrun() || fileHeader.HasOverrun() ||
        !ReadSingleLeafTree(vFile, fileHeader.GetPos(), directory.m_tree, directory.m_leaf))
        return 0;
    CByteReader entries(vFile, directory.m_leaf.m_nEntriesStart);
    for (int i = 0; i < directory.m_leaf.m_nEntries && !entries.HasOverrun(); ++i) {
        std::string strName = entries.ReadStringZ();
        directory.m_vNames.push_back(strName);
        directory.m_mapOffsets[strName] = entries.ReadDword();
    }
    directory.m_nEntryBytes = entries.GetPos() - directory.m_leaf.m_nEntriesStart;
    return !entries.HasOverrun();
}

Bytes GetInternalFile(const Bytes& vFile, const HelpDirectory& directory, const std::string& strName)
{
    auto it = directory.m_mapOffsets.find(strName);
    if (it == directory.m_mapOffsets.end())
        return Bytes();
    CByteReader reader(vFile, it->second + 4);
    uint32_t nUsed = reader.ReadDword();
    size_t nStart = static_cast<size_t>(it->second) + 9;
    if (reader.HasOverrun() || nStart + nUsed > vFile.size())
        return Bytes();
    return Bytes(vFile.begin() + static_cast<std::ptrdiff_t>(nStart),
                 vFile.begin() + static_cast<std::ptrdiff_t>(nStart + nUsed));
}

// Flag bits from the lowest: 0 copies a byte, 1 takes a word holding a
// 12-bit distance-1 and a 4-bit length-3 into what was already produced.
Bytes DecodeLz77(const uint8_t* pData, size_t nSize)
{
    Bytes vOut;
    size_t i = 0;
    while (i < nSize) {
        uint8_t nFlags = pData[i++];
        for (int nBit = 0; nBit < 8 && i < nSize; ++nBit) {
            if ((nFlags & (1 << nBit)) == 0) {
                vOut.push_back(pData[i++]);
                continue;
            }
            if (i + 1 >= nSize)
                return vOut;
            unsigned nWord = pData[i] | (pData[i + 1] << 8);
            i += 2;
            size_t nDistance = (nWord & 0x0FFF) + 1;
            size_t nLength = (nWord >> 12) + 3;
            if (nDistance > vOut.size())
                return vOut;
            for (size_t n = 0; n < nLength; ++n)
                vOut.push_back(vOut[vOut.size() - nDistance]);
        }
    }
    return vOut;
}

std::vector<TopicBlock> ReadTopicBlocks(const Bytes& vTopicFile)
{
    std::vector<TopicBlock> vBlocks;
    for (size_t nStart = 0; nStart + kBlockHeaderSize <= vTopicFile.size(); nStart += kTopicBlockSize) {
        TopicBlock block;
        CByteReader reader(vTopicFile, nStart);
        block.m_nLastTopicLink = reader.ReadDword();
        block.m_nFirstTopicLink = reader.ReadDword();
        block.m_nLastTopicHeader = reader.ReadDword();
        size_t nEnd = nStart + kTopicBlockSize < vTopicFile.size() ? nStart + kTopicBlockSize
                                                                   : vTopicFile.size();
        block.m_nStoredSize = nEnd - nStart;
        block.m_vData = DecodeLz77(vTopicFile.data() + nStart + kBlockHeaderSize,
                                   nEnd - nStart - kBlockHeaderSize);
        vBlocks.push_back(block);
    }
    return vBlocks;
}

namespace {

int ReadOneLink(const std::vector<TopicBlock>& vBlocks, uint32_t nPos, TopicLinkRecord& link,
                std::string& strError)
{
    link.m_nTopicPos = nPos;
    link.m_nBlock = (nPos - kBlockHeaderSize) / kBlockPositionSpan;
    link.m_nOffset = (nPos - kBlockHeaderSize) % kBlockPositionSpan;
    if (nPos < kBlockHeaderSize || link.m_nBlock >= vBlocks.size()) {
        strError = "TOPICPOS " + std::to_string(nPos) + " is outside |TOPIC";
        return 0;
    }
    const Bytes& vData = vBlocks[link.m_nBlock].m_vData;
    CByteReader reader(vData, link.m_nOffset);
    link.m_nBlockSize = reader.ReadDword();
    link.m_nDataLen2 = reader.ReadDword();
    link.m_nPrevBlock = reader.ReadDword();
    link.m_nNextBlock = reader.ReadDword();
    link.m_nDataLen1 = reader.ReadDword();
    link.m_nRecordType = reader.ReadByte();
    if (reader.HasOverrun() || link.m_nDataLen1 < kLinkHeaderSize ||
        link.m_nBlockSize < link.m_nDataLen1 || link.m_nOffset + link.m_nBlockSize > vData.size()) {
        strError = "link at TOPICPOS " + std::to_string(nPos) + " is malformed or crosses its block";
        return 0;
    }
    auto itStart = vData.begin() + link.m_nOffset;
    link.m_vData1.assign(itStart + kLinkHeaderSize, itStart + link.m_nDataLen1);
    link.m_vData2.assign(itStart + link.m_nDataLen1, itStart + link.m_nBlockSize);
    return 1;
}

}  // namespace

std::vector<TopicLinkRecord> ReadTopicLinks(const std::vector<TopicBlock>& vBlocks, std::string& strError)
{
    std::vector<TopicLinkRecord> vLinks;
    uint32_t nPos = vBlocks.empty() ? kNoPosition : vBlocks[0].m_nFirstTopicLink;
    while (nPos != kNoPosition && nPos != 0) {
        TopicLinkRecord link;
        if (!ReadOneLink(vBlocks, nPos, link, strError))
            break;
        vLinks.push_back(link);
        if (link.m_nNextBlock != kNoPosition && link.m_nNextBlock <= nPos) {
            strError = "link chain does not move forward at TOPICPOS " + std::to_string(nPos);
            break;
        }
        nPos = link.m_nNextBlock;
    }
    return vLinks;
}

namespace {

int SkipParagraphInfo(CByteReader& format)
{
    format.ReadByte();
    format.ReadByte();
    format.ReadWord();  // id
    uint16_t nBits = format.ReadWord();
    if (nBits & 0x0001)
        format.ReadCompressedSignedLong();
    for (uint16_t nMask = 0x0002; nMask <= 0x0040; nMask <<= 1)
        if (nBits & nMask)
            format.ReadCompressedSignedShort();
    if (nBits & 0x0100) {
        format.ReadByte();
        format.ReadWord();
    }
    if (nBits & 0x0200) {
        int nStops = format.ReadCompressedSignedShort();
        for (int i = 0; i < nStops; ++i)
            if (format.ReadCompressedUnsignedShort() & 0x4000)
                format.ReadCompressedUnsignedShort();
    }
    return !format.HasOverrun();
}

}  // namespace

// A string of the text precedes each formatting command.
int DecodeDisplayText(const TopicLinkRecord& link, DisplayText& text, std::string& strError)
{
    CByteReader format(link.m_vData1, 0);
    CByteReader characters(link.m_vData2, 0);
    text.m_nTopicSize = format.ReadCompressedSignedLong();
    text.m_nTopicLength = format.ReadCompressedUnsignedShort();
    if (!SkipParagraphInfo(format)) {
        strError = "paragraph info overruns its record";
        return 0;
    }
    std::string strParagraph;
    for (;;) {
        if (!characters.IsAtEnd())
            strParagraph += characters.ReadStringZ();
        uint8_t nCommand = format.ReadByte();
        if (format.HasOverrun() || characters.HasOverrun()) {
            strError = "record ends without the end command";
            return 0;
        }
        if (nCommand == 0xFF)
            break;
        if (nCommand == 0x80) {
            text.m_vFonts.push_back(format.ReadWord());
        } else if (nCommand == 0x82) {
            text.m_vParagraphs.push_back(strParagraph);
            strParagraph.clear();
        } else if (nCommand == 0xE2 || nCommand == 0xE3 || nCommand == 0xE6 || nCommand == 0xE7) {
            text.m_vJumpHashes.push_back(format.ReadDword());
        } else if (nCommand != 0x81 && nCommand != 0x83 && nCommand != 0x89) {
            strError = "unexpected formatting command " + std::to_string(nCommand);
            return 0;
        }
    }
    if (!strParagraph.empty())
        text.m_vParagraphs.push_back(strParagraph);
    if (!format.IsAtEnd() || !characters.IsAtEnd()) {
        strError = "bytes left over after the end command";
        return 0;
    }
    return 1;
}
