#include "topic_file.h"

#include "context_hash.h"

namespace {

const uint32_t kBlockHeaderSize = 12;
// Bytes a 4 KB topic block stores after its header.
const uint32_t kBlockStoredSize = 4096 - kBlockHeaderSize;
// With LZ77 blocks every block owns 16 KB of topic positions; all readers
// agree on that layout, unlike that of uncompressed blocks.
const uint32_t kBlockPositionSpan = 0x4000;
const uint32_t kLinkHeaderSize = 21;
const uint32_t kTopicHeaderSize = 28;
const uint32_t kNoPosition = 0xFFFFFFFF;
// A topic offset keeps the block number above its low 15 bits.
const uint32_t kOffsetBlockShift = 15;

const uint8_t kRecordTopicHeader = 0x02;
const uint8_t kRecordDisplay = 0x20;

const uint8_t kCommandFont = 0x80;
const uint8_t kCommandEndParagraph = 0x82;
const uint8_t kCommandEndHotspot = 0x89;
const uint8_t kCommandTopicJump = 0xE3;
const uint8_t kCommandEnd = 0xFF;

const uint16_t kParagraphSpacingAbove = 0x0002;
const uint16_t kParagraphSpacingBelow = 0x0004;

// Spacing in half points, the unit paired with the plain font descriptors of |FONT.
const int16_t kBodySpacingAbove = 12;
const int16_t kHeadingSpacingBelow = 8;

// Block data is stored as LZ77 literals only: a flag byte of 0 before every
// 8 bytes. Its stored size is then known before the block is packed, which
// real matching could not promise, as the data holds the positions being decided.
uint32_t GetLiteralStreamSize(uint32_t nSize)
{
    return nSize + (nSize + 7) / 8;
}

void AppendLiteralStream(CByteBuffer& block, const CByteBuffer& data)
{
    for (size_t i = 0; i < data.GetSize(); i += 8) {
        size_t nChunk = data.GetSize() - i < 8 ? data.GetSize() - i : 8;
        block.AppendByte(0);
        block.AppendBytes(data.GetData() + i, nChunk);
    }
}

// Opening bytes of a paragraph's formatting: nothing but its spacing varies here.
void AppendParagraphInfo(CByteBuffer& data1, uint16_t nFont)
{
    data1.AppendByte(0x00);
    data1.AppendByte(0x80);
    data1.AppendWord(0);
    if (nFont == kFontHeading) {
        data1.AppendWord(kParagraphSpacingBelow);
        data1.AppendCompressedSignedShort(kHeadingSpacingBelow);
    } else {
        data1.AppendWord(kParagraphSpacingAbove);
        data1.AppendCompressedSignedShort(kBodySpacingAbove);
    }
}

}  // namespace

uint32_t CTopicFileBuilder::TopicLink::GetSize() const
{
    return kLinkHeaderSize + static_cast<uint32_t>(m_data1.GetSize() + m_data2.GetSize());
}

uint32_t CTopicFileBuilder::TopicLink::GetTopicPos() const
{
    return m_nBlock * kBlockPositionSpan + kBlockHeaderSize + m_nOffset;
}

int CTopicFileBuilder::Build(const HelpDocument& document, std::string& strError)
{
    m_vLinks.clear();
    m_vTopicOffsets.assign(document.m_vTopics.size(), 0);
    m_topicFile = CByteBuffer();
    if (document.m_vTopics.empty()) {
        strError = "the help file has no topics";
        return 0;
    }
    for (size_t i = 0; i < document.m_vTopics.size(); ++i)
        AddTopicLinks(document.m_vTopics[i], i);
    AddEndLink(document.m_vTopics.size() - 1);
    if (!LayOutLinks(strError))
        return 0;
    ComputeTopicOffsets();
    FillTopicHeaders();
    WriteBlocks();
    return 1;
}

// A topic is its header record, its title shown as a heading, then one record per paragraph.
void CTopicFileBuilder::AddTopicLinks(const HelpTopic& topic, size_t nTopic)
{
    TopicLink header;
    header.m_nRecordType = kRecordTopicHeader;
    header.m_nTopic = nTopic;
    header.m_nLine = topic.m_nLine;
    header.m_data1.AppendZeros(kTopicHeaderSize);  // filled once positions are known
    header.m_data2.AppendStringZ(topic.m_strTitle);
    m_vLinks.push_back(header);

    HelpParagraph heading;
    heading.m_vRuns.push_back(HelpRun{topic.m_strTitle, "", topic.m_nLine});
    AddDisplayLink(nTopic, topic.m_nLine, heading, kFontHeading);
    for (const HelpParagraph& paragraph : topic.m_vParagraphs)
        AddDisplayLink(nTopic, paragraph.m_vRuns.front().m_nLine, paragraph, kFontBody);
}

// Each formatting command is preceded by one NUL-terminated string of the text.
void CTopicFileBuilder::AddDisplayLink(size_t nTopic, int nLine, const HelpParagraph& paragraph,
                                       uint16_t nFont)
{
    CByteBuffer commands;
    CByteBuffer text;
    text.AppendStringZ("");
    commands.AppendByte(kCommandFont);
    commands.AppendWord(nFont);
    std::string strPending;
    for (const HelpRun& run : paragraph.m_vRuns) {
        if (run.m_strTarget.empty()) {
            strPending += run.m_strText;
            continue;
        }
        text.AppendStringZ(strPending);
        commands.AppendByte(kCommandTopicJump);
        commands.AppendDword(HashContextId(run.m_strTarget));
        text.AppendStringZ(run.m_strText);
        commands.AppendByte(kCommandEndHotspot);
        strPending.clear();
    }
    text.AppendStringZ(strPending);
    commands.AppendByte(kCommandEndParagraph);
    commands.AppendByte(kCommandEnd);

    TopicLink link;
    link.m_nRecordType = kRecordDisplay;
    link.m_nTopic = nTopic;
    link.m_nLine = nLine;
    // Every character of the text, NULs included, advances the topic offset.
    uint32_t nTextSize = static_cast<uint32_t>(text.GetSize());
    link.m_data1.AppendCompressedSignedLong(static_cast<int32_t>(nTextSize));
    link.m_data1.AppendCompressedUnsignedShort(static_cast<uint16_t>(nTextSize));
    AppendParagraphInfo(link.m_data1, nFont);
    link.m_data1.AppendBuffer(commands);
    link.m_data2 = text;
    m_vLinks.push_back(link);
}

// Some readers take the last link of the chain for an end mark and skip it,
// so the chain ends with a record that holds no text.
void CTopicFileBuilder::AddEndLink(size_t nLastTopic)
{
    TopicLink link;
    link.m_nRecordType = kRecordDisplay;
    link.m_nTopic = nLastTopic;
    link.m_data1.AppendCompressedSignedLong(0);
    link.m_data1.AppendCompressedUnsignedShort(0);
    AppendParagraphInfo(link.m_data1, kFontBody);
    link.m_data1.AppendByte(kCommandEnd);
    m_vLinks.push_back(link);
}

// No link crosses a block boundary, so a reader never has to stitch blocks together.
int CTopicFileBuilder::LayOutLinks(std::string& strError)
{
    uint32_t nBlock = 0;
    uint32_t nOffset = 0;
    for (TopicLink& link : m_vLinks) {
        uint32_t nSize = link.GetSize();
        if (GetLiteralStreamSize(nSize) > kBlockStoredSize) {
            strError = "line " + std::to_string(link.m_nLine) + ": paragraph needs " +
                       std::to_string(nSize) + " bytes, more than one topic block holds; split it";
            return 0;
        }
        if (GetLiteralStreamSize(nOffset + nSize) > kBlockStoredSize) {
            ++nBlock;
            nOffset = 0;
        }
        link.m_nBlock = nBlock;
        link.m_nOffset = nOffset;
        nOffset += nSize;
    }
    return 1;
}

// Characters are counted from the first link of each block.
void CTopicFileBuilder::ComputeTopicOffsets()
{
    uint32_t nBlock = 0;
    uint32_t nCharacters = 0;
    for (const TopicLink& link : m_vLinks) {
        if (link.m_nBlock != nBlock) {
            nBlock = link.m_nBlock;
            nCharacters = 0;
        }
        if (link.m_nRecordType == kRecordTopicHeader)
            m_vTopicOffsets[link.m_nTopic] = (nBlock << kOffsetBlockShift) + nCharacters;
        else
            nCharacters += static_cast<uint32_t>(link.m_data2.GetSize());
    }
}

size_t CTopicFileBuilder::FindNextHeader(size_t nLink) const
{
    for (size_t i = nLink + 1; i < m_vLinks.size(); ++i)
        if (m_vLinks[i].m_nRecordType == kRecordTopicHeader)
            return i;
    return m_vLinks.size();
}

void CTopicFileBuilder::FillTopicHeaders()
{
    for (size_t i = 0; i < m_vLinks.size(); ++i) {
        TopicLink& header = m_vLinks[i];
        if (header.m_nRecordType != kRecordTopicHeader)
            continue;
        size_t nNext = FindNextHeader(i);
        uint32_t nTopicSize = 0;
        for (size_t j = i; j < nNext; ++j)
            nTopicSize += m_vLinks[j].GetSize();
        header.m_data1.PatchDword(0, nTopicSize);
        header.m_data1.PatchDword(4, kNoPosition);  // no browse sequence
        header.m_data1.PatchDword(8, kNoPosition);
        header.m_data1.PatchDword(12, static_cast<uint32_t>(header.m_nTopic));
        header.m_data1.PatchDword(16, kNoPosition);  // no non-scrolling region
        header.m_data1.PatchDword(20, i + 1 < nNext ? m_vLinks[i + 1].GetTopicPos() : kNoPosition);
        header.m_data1.PatchDword(24, nNext < m_vLinks.size() ? m_vLinks[nNext].GetTopicPos()
                                                              : kNoPosition);
    }
}

void CTopicFileBuilder::WriteLinkHeader(CByteBuffer& block, size_t nLink) const
{
    const TopicLink& link = m_vLinks[nLink];
    block.AppendDword(link.GetSize());
    block.AppendDword(static_cast<uint32_t>(link.m_data2.GetSize()));
    block.AppendDword(nLink > 0 ? m_vLinks[nLink - 1].GetTopicPos() : kNoPosition);
    block.AppendDword(nLink + 1 < m_vLinks.size() ? m_vLinks[nLink + 1].GetTopicPos()
                                                  : kNoPosition);
    block.AppendDword(kLinkHeaderSize + static_cast<uint32_t>(link.m_data1.GetSize()));
    block.AppendByte(link.m_nRecordType);
}

// Tells a reader landing in block nBlock where the previous link and topic header are.
void CTopicFileBuilder::WriteBlockHeader(CByteBuffer& block, uint32_t nBlock) const
{
    uint32_t nLastLink = kNoPosition;
    uint32_t nFirstLink = kNoPosition;
    uint32_t nLastHeader = kNoPosition;
    for (const TopicLink& link : m_vLinks) {
        if (link.m_nBlock < nBlock) {
            nLastLink = link.GetTopicPos();
            if (link.m_nRecordType == kRecordTopicHeader)
                nLastHeader = link.GetTopicPos();
        } else if (link.m_nBlock == nBlock && nFirstLink == kNoPosition) {
            nFirstLink = link.GetTopicPos();
        }
    }
    block.AppendDword(nLastLink);
    block.AppendDword(nFirstLink);
    block.AppendDword(nLastHeader);
}

// The links of one block, back to back, as the reader sees them after decompression.
CByteBuffer CTopicFileBuilder::CollectBlockData(uint32_t nBlock, size_t& nLink) const
{
    CByteBuffer data;
    for (; nLink < m_vLinks.size() && m_vLinks[nLink].m_nBlock == nBlock; ++nLink) {
        WriteLinkHeader(data, nLink);
        data.AppendBuffer(m_vLinks[nLink].m_data1);
        data.AppendBuffer(m_vLinks[nLink].m_data2);
    }
    return data;
}

// Every block but the last is padded with zeros to its full size, which
// decompress to harmless zeros behind the block's last link.
void CTopicFileBuilder::WriteBlocks()
{
    uint32_t nBlockCount = m_vLinks.empty() ? 1 : m_vLinks.back().m_nBlock + 1;
    size_t nLink = 0;
    for (uint32_t nBlock = 0; nBlock < nBlockCount; ++nBlock) {
        CByteBuffer block;
        WriteBlockHeader(block, nBlock);
        AppendLiteralStream(block, CollectBlockData(nBlock, nLink));
        if (nBlock + 1 < nBlockCount)
            block.AppendZeros(kBlockHeaderSize + kBlockStoredSize - block.GetSize());
        m_topicFile.AppendBuffer(block);
    }
}
