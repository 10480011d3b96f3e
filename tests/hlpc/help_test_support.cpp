#include "help_test_support.h"

#include "byte_buffer.h"
#include "help_file.h"
#include "help_source.h"

#include <gtest/gtest.h>

#include <cstdio>

const char kSampleSource[] =
    "; sample help\n"
    "= Sample Help\n"
    "# intro Introduction\n"
    "First paragraph\n"
    "continues here.\n"
    "\n"
    "See [[details|the details]] or [[Setup_2.x|setup]].\n"
    "\n"
    "# details Details\r\n"
    "Second topic text with a paragraph longer than one hundred and twenty-seven characters,\r\n"
    "so that its length needs the two-byte form of the compressed count.\r\n"
    "\r\n"
    "Back to [[intro|the start]].\r\n"
    "# Setup_2.x Setting up\n"
    "\tNothing to set up.\n";

Bytes CompileSource(const std::string& strSource)
{
    HelpDocument document;
    std::string strError;
    CByteBuffer helpFile;
    EXPECT_TRUE(ParseHelpSource(strSource, "sample.hls", document, strError)) << strError;
    EXPECT_TRUE(BuildHelpFile(document, helpFile, strError)) << strError;
    return helpFile.GetBytes();
}

std::vector<TopicLinkRecord> ReadAllLinks(const Bytes& vFile)
{
    HelpDirectory directory;
    EXPECT_TRUE(ReadHelpDirectory(vFile, directory));
    std::string strError;
    std::vector<TopicLinkRecord> vLinks =
        ReadTopicLinks(ReadTopicBlocks(GetInternalFile(vFile, directory, "|TOPIC")), strError);
    EXPECT_EQ("", strError);
    return vLinks;
}

// Topic offsets count the characters of the text records before a point, from the block's start.
std::vector<TopicView> ReadTopics(const Bytes& vFile)
{
    std::vector<TopicView> vTopics;
    uint32_t nBlock = 0, nCharacters = 0;
    for (const TopicLinkRecord& link : ReadAllLinks(vFile)) {
        if (link.m_nBlock != nBlock)
            nBlock = link.m_nBlock, nCharacters = 0;
        if (link.m_nRecordType == 0x02) {
            TopicView topic;
            topic.m_strTitle = std::string(link.m_vData2.begin(), link.m_vData2.end()).c_str();
            topic.m_nTopicOffset = (nBlock << 15) + nCharacters;
            topic.m_nBlock = nBlock;
            vTopics.push_back(topic);
            continue;
        }
        DisplayText text;
        std::string strError;
        EXPECT_EQ(0x20, link.m_nRecordType);
        EXPECT_TRUE(DecodeDisplayText(link, text, strError)) << strError;
        EXPECT_EQ(link.m_vData2.size(), text.m_nTopicLength);
        nCharacters += text.m_nTopicLength;
        if (vTopics.empty())
            continue;
        TopicView& topic = vTopics.back();
        topic.m_vParagraphs.insert(topic.m_vParagraphs.end(), text.m_vParagraphs.begin(), text.m_vParagraphs.end());
        topic.m_vJumpHashes.insert(topic.m_vJumpHashes.end(), text.m_vJumpHashes.begin(), text.m_vJumpHashes.end());
        topic.m_vFonts.insert(topic.m_vFonts.end(), text.m_vFonts.begin(), text.m_vFonts.end());
    }
    return vTopics;
}

// |CONTEXT as pairs of (hash read as signed, topic offset), in stored order.
std::vector<std::pair<int32_t, uint32_t>> ReadContext(const Bytes& vFile)
{
    HelpDirectory directory;
    EXPECT_TRUE(ReadHelpDirectory(vFile, directory));
    Bytes vContext = GetInternalFile(vFile, directory, "|CONTEXT");
    BTreeHeader tree;
    LeafPage leaf;
    EXPECT_TRUE(ReadSingleLeafTree(vContext, 0, tree, leaf));
    EXPECT_EQ(0x293B, tree.m_nMagic);
    EXPECT_EQ("L4", tree.m_strStructure);
    EXPECT_EQ(1, tree.m_nLevels);
    EXPECT_EQ(tree.m_nTotalEntries, static_cast<uint32_t>(leaf.m_nEntries));
    EXPECT_EQ(vContext.size(), 38u + tree.m_nPageSize);
    std::vector<std::pair<int32_t, uint32_t>> vEntries;
    CByteReader reader(vContext, leaf.m_nEntriesStart);
    for (int i = 0; i < leaf.m_nEntries; ++i) {
        int32_t nHash = static_cast<int32_t>(reader.ReadDword());
        vEntries.emplace_back(nHash, reader.ReadDword());
    }
    EXPECT_FALSE(reader.HasOverrun());
    EXPECT_EQ(leaf.m_nUnused, tree.m_nPageSize - 8 - 8 * leaf.m_nEntries);
    return vEntries;
}

std::string ReadTextFile(const char* pszPath)
{
    std::string strText;
    std::FILE* pFile = std::fopen(pszPath, "rb");
    EXPECT_NE(nullptr, pFile) << pszPath;
    if (!pFile)
        return strText;
    char buffer[4096];
    size_t nRead;
    while ((nRead = std::fread(buffer, 1, sizeof(buffer), pFile)) > 0)
        strText.append(buffer, nRead);
    std::fclose(pFile);
    return strText;
}

// Many topics of many paragraphs, enough to fill several topic blocks.
std::string MakeLargeSource(int nTopics, int nParagraphs)
{
    std::string strSource = "= Large\n";
    for (int t = 0; t < nTopics; ++t) {
        strSource += "# topic" + std::to_string(t) + " Topic " + std::to_string(t) + "\n";
        for (int p = 0; p < nParagraphs; ++p)
            strSource += "Marker T" + std::to_string(t) + "P" + std::to_string(p) +
                         " lorem ipsum dolor sit amet, consectetur adipiscing elit, sed do eiusmod.\n\n";
        strSource += "Next: [[topic" + std::to_string((t + 1) % nTopics) + "|onwards]]\n\n";
    }
    return strSource;
}
