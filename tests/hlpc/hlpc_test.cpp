// Structure of the help files hlpc writes, checked with the independent
// reader in HelpFileReader: container and directory, |SYSTEM, |FONT,
// context hashes and jump targets, and the shipped help source.
#include "help_test_support.h"

#include "byte_buffer.h"
#include "context_hash.h"
#include "help_file.h"
#include "help_source.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <set>

namespace {

void ExpectContainerIsConsistent(const Bytes& vFile)
{
    HelpDirectory directory;
    ASSERT_TRUE(ReadHelpDirectory(vFile, directory));
    EXPECT_EQ(0x00035F3Fu, directory.m_nMagic);
    EXPECT_EQ(vFile.size(), directory.m_nFileSize);
    EXPECT_EQ(0xFFFFFFFFu, directory.m_nFreeBlock);

    const BTreeHeader& tree = directory.m_tree;
    EXPECT_EQ(0x293B, tree.m_nMagic);
    EXPECT_EQ(0x0402, tree.m_nFlags & 0x0402);
    EXPECT_EQ(0x0400, tree.m_nPageSize);
    EXPECT_EQ("z4", tree.m_strStructure);
    EXPECT_EQ(0, tree.m_nMustBeZero);
    EXPECT_EQ(-1, tree.m_nMustBeNegOne);
    EXPECT_EQ(1, tree.m_nTotalPages);
    EXPECT_EQ(1, tree.m_nLevels);
    EXPECT_EQ(0, tree.m_nRootPage);
    EXPECT_EQ(38u + tree.m_nPageSize, directory.m_nDirectoryUsed);
    EXPECT_EQ(tree.m_nTotalEntries, static_cast<uint32_t>(directory.m_leaf.m_nEntries));
    EXPECT_EQ(-1, directory.m_leaf.m_nPrevious);
    EXPECT_EQ(-1, directory.m_leaf.m_nNext);
    EXPECT_EQ(tree.m_nPageSize - 8u - directory.m_nEntryBytes, directory.m_leaf.m_nUnused);

    std::vector<std::string> vExpected = {"|CONTEXT", "|FONT", "|SYSTEM", "|TOPIC"};
    EXPECT_EQ(vExpected, directory.m_vNames);
    for (size_t i = 1; i < directory.m_vNames.size(); ++i)
        EXPECT_LT(std::strcmp(directory.m_vNames[i - 1].c_str(), directory.m_vNames[i].c_str()), 0);

    // Header, every internal file and the directory occupy disjoint ranges inside the file.
    std::vector<std::pair<uint32_t, uint32_t>> vRanges = {{0, 16}};
    vRanges.emplace_back(directory.m_nDirectoryStart, directory.m_nDirectoryStart + directory.m_nDirectoryReserved);
    EXPECT_GE(directory.m_nDirectoryReserved, directory.m_nDirectoryUsed + 9);
    for (const auto& entry : directory.m_mapOffsets) {
        CByteReader reader(vFile, entry.second);
        uint32_t nReserved = reader.ReadDword();
        uint32_t nUsed = reader.ReadDword();
        ASSERT_FALSE(reader.HasOverrun()) << entry.first;
        EXPECT_GE(nReserved, nUsed + 9) << entry.first;
        vRanges.emplace_back(entry.second, entry.second + nReserved);
    }
    std::sort(vRanges.begin(), vRanges.end());
    for (size_t i = 1; i < vRanges.size(); ++i)
        EXPECT_LE(vRanges[i - 1].second, vRanges[i].first);
    EXPECT_LE(vRanges.back().second, vFile.size());
}

}  // namespace

TEST(HlpcContainer, HeaderDirectoryAndFileRangesAreConsistent)
{
    ExpectContainerIsConsistent(CompileSource(kSampleSource));
    ExpectContainerIsConsistent(CompileSource(MakeLargeSource(12, 30)));
}

TEST(HlpcSystem, RecordsGiveTitleAndContentsTopic)
{
    Bytes vFile = CompileSource(kSampleSource);
    HelpDirectory directory;
    ASSERT_TRUE(ReadHelpDirectory(vFile, directory));
    Bytes vSystem = GetInternalFile(vFile, directory, "|SYSTEM");
    CByteReader reader(vSystem, 0);
    EXPECT_EQ(0x036C, reader.ReadWord());
    EXPECT_EQ(21, reader.ReadWord());
    EXPECT_EQ(1, reader.ReadWord());
    reader.ReadDword();
    EXPECT_EQ(4, reader.ReadWord());  // LZ77 topic blocks of 4 KB
    std::string strTitle;
    uint32_t nContents = 0xFFFFFFFF;
    while (!reader.IsAtEnd() && !reader.HasOverrun()) {
        uint16_t nType = reader.ReadWord();
        size_t nEnd = reader.ReadWord() + reader.GetPos();
        if (nType == 1)
            strTitle = reader.ReadStringZ();
        else if (nType == 3)
            nContents = reader.ReadDword();
        EXPECT_EQ(nEnd, reader.GetPos()) << "record type " << nType;
        while (reader.GetPos() < nEnd)
            reader.ReadByte();
    }
    EXPECT_FALSE(reader.HasOverrun());
    EXPECT_EQ("Sample Help", strTitle);
    std::vector<TopicView> vTopics = ReadTopics(vFile);
    ASSERT_FALSE(vTopics.empty());
    EXPECT_EQ(vTopics[0].m_nTopicOffset, nContents);
}

TEST(HlpcFont, DescriptorsAreWellFormedAndCoverUsedFonts)
{
    Bytes vFile = CompileSource(kSampleSource);
    HelpDirectory directory;
    ASSERT_TRUE(ReadHelpDirectory(vFile, directory));
    Bytes vFont = GetInternalFile(vFile, directory, "|FONT");
    CByteReader reader(vFont, 0);
    uint16_t nFaceNames = reader.ReadWord(), nDescriptors = reader.ReadWord();
    uint16_t nFaceNamesOffset = reader.ReadWord(), nDescriptorsOffset = reader.ReadWord();
    ASSERT_GT(nFaceNames, 0);
    EXPECT_LT(nFaceNamesOffset, 12);  // the plain descriptor layout
    EXPECT_EQ(0, (nDescriptorsOffset - nFaceNamesOffset) % nFaceNames);
    EXPECT_EQ(vFont.size(), nDescriptorsOffset + 11u * nDescriptors);
    for (uint16_t i = 0; i < nDescriptors; ++i) {
        CByteReader descriptor(vFont, nDescriptorsOffset + 11u * i + 3);
        EXPECT_LT(descriptor.ReadWord(), nFaceNames);
    }
    for (const TopicView& topic : ReadTopics(vFile))
        for (uint16_t nFont : topic.m_vFonts)
            EXPECT_LT(nFont, nDescriptors) << topic.m_strTitle;
}

TEST(HlpcContext, HashFollowsThePublishedAlgorithm)
{
    // Single characters weigh what the published table says; longer ids are
    // hash * 43 + weight per character, wrapping at 32 bits.
    EXPECT_EQ(17u, HashContextId("a"));
    EXPECT_EQ(17u, HashContextId("A"));
    EXPECT_EQ(10u, HashContextId("0"));
    EXPECT_EQ(9u, HashContextId("9"));
    EXPECT_EQ(13u, HashContextId("_"));
    EXPECT_EQ(12u, HashContextId("."));
    EXPECT_EQ(749u, HashContextId("ab"));  // 17 * 43 + 18
    EXPECT_EQ(kHashIntro, HashContextId("intro"));
    EXPECT_EQ(kHashSetup2x, HashContextId("Setup_2.x"));
    EXPECT_EQ(636769674u, HashContextId("contents"));
    EXPECT_EQ(636769674u, HashContextId("CONTENTS"));
    EXPECT_EQ(static_cast<uint32_t>(-1640648680), HashContextId("uninstalling"));
    EXPECT_EQ(static_cast<uint32_t>(-834242909), HashContextId("support"));
    EXPECT_EQ(1u, HashContextId(""));
}

TEST(HlpcContext, EntriesAreSortedAndPointAtTheirTopics)
{
    Bytes vFile = CompileSource(kSampleSource);
    std::vector<TopicView> vTopics = ReadTopics(vFile);
    ASSERT_EQ(3u, vTopics.size());
    std::vector<std::pair<int32_t, uint32_t>> vExpected = {
        {static_cast<int32_t>(kHashIntro), vTopics[0].m_nTopicOffset},
        {static_cast<int32_t>(kHashDetails), vTopics[1].m_nTopicOffset},
        {static_cast<int32_t>(kHashSetup2x), vTopics[2].m_nTopicOffset}};
    EXPECT_EQ(vExpected, ReadContext(vFile));

    // Hand-derived hashes; read as signed values their order differs from the unsigned one.
    std::vector<std::pair<int32_t, uint32_t>> vSigned =
        ReadContext(CompileSource("= T\n# contents C\n# window W\n# starting S\n"
                                  "# closing X\n# uninstalling U\n# support P\n"));
    std::vector<int32_t> vHashes;
    for (const auto& entry : vSigned)
        vHashes.push_back(entry.first);
    EXPECT_EQ((std::vector<int32_t>{-1640648680, -1442043560, -834242909, -223104135, 636769674,
                                    1526255568}),
              vHashes);
}

TEST(HlpcJumps, HotspotsCarryTheTargetsHash)
{
    std::vector<TopicView> vTopics = ReadTopics(CompileSource(kSampleSource));
    ASSERT_EQ(3u, vTopics.size());
    EXPECT_EQ((std::vector<uint32_t>{kHashDetails, kHashSetup2x}), vTopics[0].m_vJumpHashes);
    EXPECT_EQ((std::vector<uint32_t>{kHashIntro}), vTopics[1].m_vJumpHashes);
    EXPECT_TRUE(vTopics[2].m_vJumpHashes.empty());
}

TEST(HlpcShippedHelp, EveryTopicIsReachableFromTheContents)
{
    Bytes vFile = CompileSource(ReadTextFile(HLPC_HELP_SOURCE));
    ExpectContainerIsConsistent(vFile);
    std::vector<TopicView> vTopics = ReadTopics(vFile);
    ASSERT_GE(vTopics.size(), 5u);
    std::vector<std::pair<int32_t, uint32_t>> vContext = ReadContext(vFile);
    ASSERT_EQ(vTopics.size(), vContext.size());
    std::set<uint32_t> setReached = {vTopics[0].m_nTopicOffset};
    std::vector<size_t> vPending = {0};
    while (!vPending.empty()) {
        const TopicView& topic = vTopics[vPending.back()];
        vPending.pop_back();
        for (uint32_t nHash : topic.m_vJumpHashes) {
            auto itEntry = std::find_if(vContext.begin(), vContext.end(), [nHash](const std::pair<int32_t, uint32_t>& e) {
                return static_cast<uint32_t>(e.first) == nHash;
            });
            ASSERT_NE(vContext.end(), itEntry) << "jump from " << topic.m_strTitle;
            for (size_t i = 0; i < vTopics.size(); ++i)
                if (vTopics[i].m_nTopicOffset == itEntry->second && setReached.insert(itEntry->second).second)
                    vPending.push_back(i);
        }
    }
    EXPECT_EQ(vTopics.size(), setReached.size());
}

TEST(HlpcByteBuffer, CompressedIntegersUseTheDocumentedForms)
{
    // Expected bytes worked out by hand from the format description.
    CByteBuffer buffer;
    buffer.AppendCompressedUnsignedShort(5);      // 5*2
    buffer.AppendCompressedUnsignedShort(200);    // 200*2+1 = 0x0191
    buffer.AppendCompressedSignedShort(12);       // (12+64)*2 = 0x98
    buffer.AppendCompressedSignedShort(-100);     // (-100+16384)*2+1 = 0x7F39
    buffer.AppendCompressedSignedLong(300);       // (300+16384)*2 = 0x8258
    buffer.AppendCompressedSignedLong(20000);     // (20000+67108864)*2+1 = 0x08009C41
    buffer.AppendCompressedUnsignedLong(40000);   // 40000*2+1 = 0x00013881
    Bytes vExpected = {0x0A, 0x91, 0x01, 0x98, 0x39, 0x7F, 0x58, 0x82,
                       0x41, 0x9C, 0x00, 0x08, 0x81, 0x38, 0x01, 0x00};
    EXPECT_EQ(vExpected, buffer.GetBytes());
}
