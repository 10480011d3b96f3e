#include "help_container.h"

#include <algorithm>

namespace {

const uint32_t kHelpFileMagic = 0x00035F3F;
const uint32_t kHelpHeaderSize = 16;
const uint32_t kFileHeaderSize = 9;
const uint8_t kFileFlagsNormal = 4;
const uint16_t kBTreeMagic = 0x293B;
const uint16_t kLeafHeaderSize = 8;
const uint16_t kDirectoryPageSize = 0x0400;
const uint16_t kNoPage = 0xFFFF;

void AppendFileHeader(CByteBuffer& helpFile, size_t nContentSize)
{
    helpFile.AppendDword(static_cast<uint32_t>(nContentSize + kFileHeaderSize));
    helpFile.AppendDword(static_cast<uint32_t>(nContentSize));
    helpFile.AppendByte(kFileFlagsNormal);
}

}  // namespace

int BuildSingleLeafBTree(const std::string& strStructure, uint16_t nFlags, uint16_t nPageSize,
                         const std::vector<CByteBuffer>& vEntries, CByteBuffer& tree,
                         std::string& strError)
{
    size_t nEntryBytes = 0;
    for (const CByteBuffer& entry : vEntries)
        nEntryBytes += entry.GetSize();
    if (kLeafHeaderSize + nEntryBytes > nPageSize || vEntries.size() > 0x7FFF) {
        strError = std::to_string(vEntries.size()) + " entries do not fit one " +
                   std::to_string(nPageSize) + "-byte B+ tree page";
        return 0;
    }
    uint16_t nUnused = static_cast<uint16_t>(nPageSize - kLeafHeaderSize - nEntryBytes);
    tree.AppendWord(kBTreeMagic);
    tree.AppendWord(nFlags);
    tree.AppendWord(nPageSize);
    tree.AppendFixedString(strStructure, 16);
    tree.AppendWord(0);       // must be zero
    tree.AppendWord(0);       // page splits
    tree.AppendWord(0);       // root page
    tree.AppendWord(kNoPage); // must be -1
    tree.AppendWord(1);       // total pages
    tree.AppendWord(1);       // levels
    tree.AppendDword(static_cast<uint32_t>(vEntries.size()));

    tree.AppendWord(nUnused);
    tree.AppendWord(static_cast<uint16_t>(vEntries.size()));
    tree.AppendWord(kNoPage);  // previous leaf
    tree.AppendWord(kNoPage);  // next leaf
    for (const CByteBuffer& entry : vEntries)
        tree.AppendBuffer(entry);
    tree.AppendZeros(nUnused);
    return 1;
}

int AssembleHelpFile(std::vector<InternalFile> vFiles, CByteBuffer& helpFile, std::string& strError)
{
    // The directory is searched as a sorted B+ tree.
    std::sort(vFiles.begin(), vFiles.end(), [](const InternalFile& a, const InternalFile& b) {
        return a.m_strName < b.m_strName;
    });
    std::vector<CByteBuffer> vEntries;
    uint32_t nOffset = kHelpHeaderSize;
    for (const InternalFile& file : vFiles) {
        CByteBuffer entry;
        entry.AppendStringZ(file.m_strName);
        entry.AppendDword(nOffset);
        vEntries.push_back(entry);
        nOffset += kFileHeaderSize + static_cast<uint32_t>(file.m_content.GetSize());
    }
    CByteBuffer directory;
    if (!BuildSingleLeafBTree("z4", kBTreeFlagsDirectory, kDirectoryPageSize, vEntries, directory,
                              strError))
        return 0;
    uint32_t nDirectoryStart = nOffset;
    uint32_t nFileSize = nDirectoryStart + kFileHeaderSize + static_cast<uint32_t>(directory.GetSize());

    helpFile = CByteBuffer();
    helpFile.AppendDword(kHelpFileMagic);
    helpFile.AppendDword(nDirectoryStart);
    helpFile.AppendDword(0xFFFFFFFF);  // no free list
    helpFile.AppendDword(nFileSize);
    for (const InternalFile& file : vFiles) {
        AppendFileHeader(helpFile, file.m_content.GetSize());
        helpFile.AppendBuffer(file.m_content);
    }
    AppendFileHeader(helpFile, directory.GetSize());
    helpFile.AppendBuffer(directory);
    return 1;
}
