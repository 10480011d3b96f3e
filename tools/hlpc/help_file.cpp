#include "help_file.h"

#include "context_hash.h"
#include "help_container.h"
#include "topic_file.h"

#include <algorithm>
#include <cstdint>
#include <utility>

namespace {

const uint16_t kSystemMagic = 0x036C;
// Version 3.1: topics are reached by the hash of their context id.
const uint16_t kSystemMinor = 21;
const uint16_t kSystemMajor = 1;
// LZ77 topic blocks of 4 KB, the layout CTopicFileBuilder writes.
const uint16_t kSystemFlagsLz77Blocks4k = 4;
const uint16_t kRecordTitle = 1;
const uint16_t kRecordContents = 3;

const uint16_t kContextPageSize = 0x0800;
const size_t kFaceNameSize = 20;
const uint8_t kFamilySwiss = 3;
const uint8_t kAttributeBold = 0x01;

void AppendSystemRecord(CByteBuffer& system, uint16_t nType, const CByteBuffer& data)
{
    system.AppendWord(nType);
    system.AppendWord(static_cast<uint16_t>(data.GetSize()));
    system.AppendBuffer(data);
}

// No creation time is stored, so the same source always gives the same bytes.
CByteBuffer BuildSystemFile(const std::string& strTitle, uint32_t nContentsOffset)
{
    CByteBuffer system;
    system.AppendWord(kSystemMagic);
    system.AppendWord(kSystemMinor);
    system.AppendWord(kSystemMajor);
    system.AppendDword(0);
    system.AppendWord(kSystemFlagsLz77Blocks4k);
    CByteBuffer title;
    title.AppendStringZ(strTitle);
    AppendSystemRecord(system, kRecordTitle, title);
    CByteBuffer contents;
    contents.AppendDword(nContentsOffset);
    AppendSystemRecord(system, kRecordContents, contents);
    return system;
}

void AppendFontDescriptor(CByteBuffer& font, uint8_t nAttributes, uint8_t nHalfPoints)
{
    font.AppendByte(nAttributes);
    font.AppendByte(nHalfPoints);
    font.AppendByte(kFamilySwiss);
    font.AppendWord(0);  // the only face name
    font.AppendZeros(3); // black text
    font.AppendByte(0xFF);
    font.AppendByte(0xFF);
    font.AppendByte(0xFF);
}

// Descriptors in the order of HelpFontIndex: 10 pt body text, 13 pt bold headings.
CByteBuffer BuildFontFile()
{
    const uint16_t nFaceNames = 1;
    const uint16_t nDescriptors = 2;
    const uint16_t nFaceNamesOffset = 8;
    CByteBuffer font;
    font.AppendWord(nFaceNames);
    font.AppendWord(nDescriptors);
    font.AppendWord(nFaceNamesOffset);
    font.AppendWord(static_cast<uint16_t>(nFaceNamesOffset + nFaceNames * kFaceNameSize));
    font.AppendFixedString("Arial", kFaceNameSize);
    AppendFontDescriptor(font, 0, 20);
    AppendFontDescriptor(font, kAttributeBold, 26);
    return font;
}

// Entries sorted by hash read as a signed value.
int BuildContextFile(const HelpDocument& document, const CTopicFileBuilder& topics,
                     CByteBuffer& context, std::string& strError)
{
    std::vector<std::pair<int32_t, uint32_t>> vPairs;
    for (size_t i = 0; i < document.m_vTopics.size(); ++i)
        vPairs.emplace_back(static_cast<int32_t>(HashContextId(document.m_vTopics[i].m_strContextId)),
                            topics.GetTopicOffset(i));
    std::sort(vPairs.begin(), vPairs.end());
    std::vector<CByteBuffer> vEntries;
    for (const auto& pair : vPairs) {
        CByteBuffer entry;
        entry.AppendDword(static_cast<uint32_t>(pair.first));
        entry.AppendDword(pair.second);
        vEntries.push_back(entry);
    }
    if (!BuildSingleLeafBTree("L4", kBTreeFlagsDefault, kContextPageSize, vEntries, context, strError)) {
        strError = "too many topics for the context table: " + strError;
        return 0;
    }
    return 1;
}

}  // namespace

int BuildHelpFile(const HelpDocument& document, CByteBuffer& helpFile, std::string& strError)
{
    CTopicFileBuilder topics;
    if (!topics.Build(document, strError))
        return 0;
    std::vector<InternalFile> vFiles(4);
    vFiles[0].m_strName = "|SYSTEM";
    vFiles[0].m_content = BuildSystemFile(document.m_strTitle, topics.GetTopicOffset(0));
    vFiles[1].m_strName = "|FONT";
    vFiles[1].m_content = BuildFontFile();
    vFiles[2].m_strName = "|TOPIC";
    vFiles[2].m_content = topics.GetTopicFile();
    vFiles[3].m_strName = "|CONTEXT";
    if (!BuildContextFile(document, topics, vFiles[3].m_content, strError))
        return 0;
    return AssembleHelpFile(vFiles, helpFile, strError);
}
