// help_container.h - the help file's internal file system.
//   BuildSingleLeafBTree: a B+ tree of one leaf page (directory, |CONTEXT).
//   AssembleHelpFile:     header, internal files and their directory.
#pragma once

#include "byte_buffer.h"

#include <cstdint>
#include <string>
#include <vector>

struct InternalFile
{
    std::string m_strName;
    CByteBuffer m_content;
};

const uint16_t kBTreeFlagsDefault = 0x0002;
const uint16_t kBTreeFlagsDirectory = 0x0402;

// vEntries must already be in key order. Nonzero on success; fails when they
// do not fit one page, which the few entries of a small help file always do.
int BuildSingleLeafBTree(const std::string& strStructure, uint16_t nFlags, uint16_t nPageSize,
                         const std::vector<CByteBuffer>& vEntries, CByteBuffer& tree,
                         std::string& strError);

// Lays out the header, the files in name order and the directory last.
int AssembleHelpFile(std::vector<InternalFile> vFiles, CByteBuffer& helpFile, std::string& strError);
