// |TOPIC as hlpc writes it, read back with the independent reader: the text
// of every topic, the link chain and block headers across several blocks,
// topic headers, topic offsets, and the limit on one paragraph.
#include "help_test_support.h"

#include "byte_buffer.h"
#include "context_hash.h"
#include "help_file.h"
#include "help_source.h"

#include <gtest/gtest.h>

#include <algorithm>

TEST(HlpcTopics, EveryTitleAndParagraphIsPresentInOrder)
{
    std::vector<TopicView> vTopics = ReadTopics(CompileSource(kSampleSource));
    ASSERT_EQ(3u, vTopics.size());
    EXPECT_EQ("Introduction", vTopics[0].m_strTitle);
    EXPECT_EQ((std::vector<std::string>{"Introduction", "First paragraph continues here.",
                                        "See the details or setup."}),
              vTopics[0].m_vParagraphs);
    EXPECT_EQ("Details", vTopics[1].m_strTitle);
    EXPECT_EQ((std::vector<std::string>{
                  "Details",
                  "Second topic text with a paragraph longer than one hundred and twenty-seven "
                  "characters, so that its length needs the two-byte form of the compressed count.",
                  "Back to the start."}),
              vTopics[1].m_vParagraphs);
    EXPECT_EQ("Setting up", vTopics[2].m_strTitle);
    EXPECT_EQ((std::vector<std::string>{"Setting up", "Nothing to set up."}), vTopics[2].m_vParagraphs);
}

TEST(HlpcTopics, LinkChainAndBlockHeadersAgreeAcrossBlocks)
{
    Bytes vFile = CompileSource(MakeLargeSource(12, 30));
    HelpDirectory directory;
    ASSERT_TRUE(ReadHelpDirectory(vFile, directory));
    std::vector<TopicBlock> vBlocks = ReadTopicBlocks(GetInternalFile(vFile, directory, "|TOPIC"));
    ASSERT_GT(vBlocks.size(), 3u);
    std::vector<TopicLinkRecord> vLinks = ReadAllLinks(vFile);
    ASSERT_FALSE(vLinks.empty());
    EXPECT_EQ(0xFFFFFFFFu, vLinks.back().m_nNextBlock);
    // Some readers drop the last link of the chain; it must hold no text.
    DisplayText endText;
    std::string strError;
    EXPECT_EQ(0x20, vLinks.back().m_nRecordType);
    EXPECT_TRUE(DecodeDisplayText(vLinks.back(), endText, strError)) << strError;
    EXPECT_EQ(0u, vLinks.back().m_nDataLen2);
    EXPECT_TRUE(endText.m_vParagraphs.empty());
    for (size_t i = 0; i < vLinks.size(); ++i)
        EXPECT_EQ(i == 0 ? 0xFFFFFFFFu : vLinks[i - 1].m_nTopicPos, vLinks[i].m_nPrevBlock);

    for (size_t b = 0; b < vBlocks.size(); ++b) {
        SCOPED_TRACE("block " + std::to_string(b));
        uint32_t nFirst = 0xFFFFFFFF, nLastBefore = 0xFFFFFFFF, nHeaderBefore = 0xFFFFFFFF;
        for (const TopicLinkRecord& link : vLinks) {
            if (link.m_nBlock < b) {
                nLastBefore = link.m_nTopicPos;
                if (link.m_nRecordType == 0x02)
                    nHeaderBefore = link.m_nTopicPos;
            } else if (link.m_nBlock == b && nFirst == 0xFFFFFFFF) {
                nFirst = link.m_nTopicPos;
            }
        }
        EXPECT_NE(0xFFFFFFFFu, nFirst);
        EXPECT_EQ(nFirst, vBlocks[b].m_nFirstTopicLink);
        EXPECT_EQ(nLastBefore, vBlocks[b].m_nLastTopicLink);
        EXPECT_EQ(nHeaderBefore, vBlocks[b].m_nLastTopicHeader);
        EXPECT_LE(vBlocks[b].m_vData.size(), 0x4000u);
        // Readers find block b at b * 4096, so only the last block may be short.
        if (b + 1 < vBlocks.size()) {
            EXPECT_EQ(4096u, vBlocks[b].m_nStoredSize);
        }
    }
}

TEST(HlpcTopics, TopicHeadersPointAtTheirRegionAndTheNextTopic)
{
    std::vector<TopicLinkRecord> vLinks = ReadAllLinks(CompileSource(MakeLargeSource(12, 30)));
    std::vector<size_t> vHeaders;
    for (size_t i = 0; i < vLinks.size(); ++i)
        if (vLinks[i].m_nRecordType == 0x02)
            vHeaders.push_back(i);
    ASSERT_EQ(12u, vHeaders.size());
    for (size_t h = 0; h < vHeaders.size(); ++h) {
        const TopicLinkRecord& header = vLinks[vHeaders[h]];
        ASSERT_EQ(28u, header.m_vData1.size());
        CByteReader reader(header.m_vData1, 12);
        EXPECT_EQ(h, reader.ReadDword());                                   // topic number
        EXPECT_EQ(0xFFFFFFFFu, reader.ReadDword());                         // no non-scrolling region
        EXPECT_EQ(vLinks[vHeaders[h] + 1].m_nTopicPos, reader.ReadDword()); // scrolling region
        uint32_t nNextTopic = h + 1 < vHeaders.size() ? vLinks[vHeaders[h + 1]].m_nTopicPos : 0xFFFFFFFF;
        EXPECT_EQ(nNextTopic, reader.ReadDword());
    }
}

TEST(HlpcTopics, LargeHelpKeepsEveryParagraphAndReachesLaterBlocks)
{
    Bytes vFile = CompileSource(MakeLargeSource(12, 30));
    std::vector<TopicView> vTopics = ReadTopics(vFile);
    ASSERT_EQ(12u, vTopics.size());
    EXPECT_GT(vTopics.back().m_nBlock, 2u);
    for (int t = 0; t < 12; ++t) {
        const std::vector<std::string>& vParagraphs = vTopics[t].m_vParagraphs;
        ASSERT_EQ(32u, vParagraphs.size()) << "topic " << t;
        for (int p = 0; p < 30; ++p)
            EXPECT_EQ(0u, vParagraphs[p + 1].find("Marker T" + std::to_string(t) + "P" + std::to_string(p) + " "));
    }
    std::vector<std::pair<int32_t, uint32_t>> vContext = ReadContext(vFile);
    for (int t = 0; t < 12; ++t) {
        int32_t nHash = static_cast<int32_t>(HashContextId("topic" + std::to_string(t)));
        auto it = std::find_if(vContext.begin(), vContext.end(),
                               [nHash](const std::pair<int32_t, uint32_t>& e) { return e.first == nHash; });
        ASSERT_NE(vContext.end(), it) << "topic " << t;
        EXPECT_EQ(vTopics[t].m_nTopicOffset, it->second) << "topic " << t;
    }
}

TEST(HlpcTopics, OverlongParagraphIsRejectedWithItsLine)
{
    HelpDocument document;
    std::string strError;
    ASSERT_TRUE(ParseHelpSource("= T\n# a A\n" + std::string(5000, 'x') + "\n", "big.hls", document, strError));
    CByteBuffer helpFile;
    EXPECT_FALSE(BuildHelpFile(document, helpFile, strError));
    EXPECT_NE(std::string::npos, strError.find("line 3")) << strError;
    EXPECT_NE(std::string::npos, strError.find("split")) << strError;
}

TEST(HlpcTopics, DocumentWithoutTopicsIsRefused)
{
    HelpDocument document;
    document.m_strTitle = "No topics";
    CByteBuffer helpFile;
    std::string strError;
    EXPECT_FALSE(BuildHelpFile(document, helpFile, strError));
    EXPECT_EQ("the help file has no topics", strError);
    EXPECT_EQ(0u, helpFile.GetSize());
}
