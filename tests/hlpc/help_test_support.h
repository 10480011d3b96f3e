// help_test_support.h - shared pieces of the hlpc tests.
//   kSampleSource and its hand-derived context hashes.
//   CompileSource:   source text to .hlp bytes through the library.
//   ReadTopics:      topics as a reader sees them, with offsets counted the
//                    way the format describes.
//   ReadContext:     the |CONTEXT entries in stored order.
//   MakeLargeSource: a source that fills several topic blocks.
#pragma once

#include "help_file_reader.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

extern const char kSampleSource[];

// Hashes worked out from the published character table, not from context_hash.cpp.
const uint32_t kHashIntro = 87923292;
const uint32_t kHashDetails = 789895322;
const uint32_t kHashSetup2x = 1334591138;

struct TopicView
{
    std::string m_strTitle;
    uint32_t m_nTopicOffset = 0;  // counted the way the format describes
    uint32_t m_nBlock = 0;
    std::vector<std::string> m_vParagraphs;
    std::vector<uint32_t> m_vJumpHashes;
    std::vector<uint16_t> m_vFonts;
};

Bytes CompileSource(const std::string& strSource);
std::vector<TopicLinkRecord> ReadAllLinks(const Bytes& vFile);
std::vector<TopicView> ReadTopics(const Bytes& vFile);
std::vector<std::pair<int32_t, uint32_t>> ReadContext(const Bytes& vFile);
std::string ReadTextFile(const char* pszPath);
std::string MakeLargeSource(int nTopics, int nParagraphs);
