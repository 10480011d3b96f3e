// topic_file.h - builds the |TOPIC internal file of a 3.1-format help file.
//   CTopicFileBuilder: lays the topics out as a chain of topic links in
//   4 KB LZ77 topic blocks and reports where each topic starts.
#pragma once

#include "byte_buffer.h"
#include "help_source.h"

#include <cstdint>
#include <string>
#include <vector>

// Fonts the topic text refers to, by their index in |FONT.
enum HelpFontIndex : uint16_t
{
    kFontBody = 0,
    kFontHeading = 1,
};

class CTopicFileBuilder
{
public:
    // Nonzero on success; fails when there are no topics or a paragraph cannot fit a topic block.
    int Build(const HelpDocument& document, std::string& strError);

    const CByteBuffer& GetTopicFile() const { return m_topicFile; }
    // The position jumps and |CONTEXT use to reach topic nTopic.
    uint32_t GetTopicOffset(size_t nTopic) const { return m_vTopicOffsets[nTopic]; }

private:
    struct TopicLink
    {
        uint8_t m_nRecordType = 0;
        size_t m_nTopic = 0;
        int m_nLine = 0;
        CByteBuffer m_data1;  // record data after the fixed link header
        CByteBuffer m_data2;  // NUL-separated text
        uint32_t m_nBlock = 0;
        uint32_t m_nOffset = 0;  // in the block's decompressed data
        uint32_t GetSize() const;
        uint32_t GetTopicPos() const;
    };

    void AddTopicLinks(const HelpTopic& topic, size_t nTopic);
    void AddDisplayLink(size_t nTopic, int nLine, const HelpParagraph& paragraph, uint16_t nFont);
    void AddEndLink(size_t nLastTopic);
    int LayOutLinks(std::string& strError);
    void ComputeTopicOffsets();
    void FillTopicHeaders();
    size_t FindNextHeader(size_t nLink) const;
    void WriteLinkHeader(CByteBuffer& block, size_t nLink) const;
    void WriteBlockHeader(CByteBuffer& block, uint32_t nBlock) const;
    CByteBuffer CollectBlockData(uint32_t nBlock, size_t& nLink) const;
    void WriteBlocks();

    std::vector<TopicLink> m_vLinks;
    std::vector<uint32_t> m_vTopicOffsets;
    CByteBuffer m_topicFile;
};
