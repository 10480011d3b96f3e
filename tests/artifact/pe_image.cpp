#include "pe_image.h"

#include <cstdio>

bool CPeImage::Fail(const std::string& strWhy)
{
    m_strError = strWhy;
    return false;
}

uint16_t CPeImage::U16(size_t nOffset) const
{
    return nOffset + 2 <= m_bytes.size() ? static_cast<uint16_t>(m_bytes[nOffset] | (m_bytes[nOffset + 1] << 8)) : 0;
}

uint32_t CPeImage::U32(size_t nOffset) const
{
    return static_cast<uint32_t>(U16(nOffset)) | (static_cast<uint32_t>(U16(nOffset + 2)) << 16);
}

size_t CPeImage::OffsetOf(uint32_t nRva) const
{
    for (const Section& section : m_sections) {
        if (nRva >= section.nVirtualAddress && nRva < section.nVirtualAddress + section.nRawSize)
            return section.nRawOffset + (nRva - section.nVirtualAddress);
    }
    return 0;
}

int CPeImage::Load(const std::string& strPath)
{
    FILE* pFile = std::fopen(strPath.c_str(), "rb");
    if (pFile == NULL)
        return Fail("cannot open " + strPath);
    unsigned char buffer[65536];
    size_t nRead;
    while ((nRead = std::fread(buffer, 1, sizeof(buffer), pFile)) > 0)
        m_bytes.insert(m_bytes.end(), buffer, buffer + nRead);
    std::fclose(pFile);
    m_nFileSize = m_bytes.size();
    return ReadHeaders() ? 1 : 0;
}

bool CPeImage::ReadHeaders()
{
    if (m_bytes.size() < 64 || m_bytes[0] != 'M' || m_bytes[1] != 'Z')
        return Fail("no MZ header");
    size_t nPe = U32(0x3C);
    if (nPe + 24 > m_bytes.size() || U32(nPe) != 0x00004550)
        return Fail("no PE signature");
    m_nMachine = U16(nPe + 4);
    uint16_t nSections = U16(nPe + 6);
    uint16_t nOptionalSize = U16(nPe + 20);
    size_t nOptional = nPe + 24;
    m_nMagic = U16(nOptional);
    if (m_nMagic != 0x10B && m_nMagic != 0x20B)
        return Fail("unknown optional header");
    m_nSubsystem = U16(nOptional + 68);
    size_t nDirectories = nOptional + (m_nMagic == 0x10B ? 96 : 112);
    size_t nSectionTable = nOptional + nOptionalSize;
    if (nSectionTable + 40u * nSections > m_bytes.size())
        return Fail("section table past the end of the file");
    for (uint16_t i = 0; i < nSections; ++i) {
        size_t n = nSectionTable + 40u * i;
        Section section = { U32(n + 12), U32(n + 8), U32(n + 20), U32(n + 16) };
        if (section.nRawOffset + static_cast<uint64_t>(section.nRawSize) > m_bytes.size())
            return Fail("section past the end of the file");
        m_sections.push_back(section);
    }
    return ReadImports(U32(nDirectories + 8)) && ReadResources(U32(nDirectories + 16));
}

std::vector<std::pair<uint32_t, uint32_t>> CPeImage::DirectoryEntries(size_t nDirectory) const
{
    std::vector<std::pair<uint32_t, uint32_t>> entries;
    size_t nCount = static_cast<size_t>(U16(nDirectory + 12)) + U16(nDirectory + 14);
    for (size_t i = 0; i < nCount && nDirectory + 16 + 8 * (i + 1) <= m_bytes.size(); ++i)
        entries.push_back(std::make_pair(U32(nDirectory + 16 + 8 * i), U32(nDirectory + 20 + 8 * i)));
    return entries;
}

std::string CPeImage::ResourceName(size_t nBase, uint32_t nName) const
{
    if (!(nName & 0x80000000u))
        return "#" + std::to_string(nName);
    size_t nString = nBase + (nName & 0x7FFFFFFFu);
    std::string strName;
    for (uint16_t i = 0, n = U16(nString); i < n; ++i)
        strName += static_cast<char>(U16(nString + 2 + 2u * i));  // the names used here are ASCII
    return strName;
}

// Three levels: type, name, language.
bool CPeImage::ReadResources(uint32_t nResourceRva)
{
    if (nResourceRva == 0)
        return true;
    size_t nBase = OffsetOf(nResourceRva);
    if (nBase == 0)
        return Fail("resources outside every section");
    for (const auto& type : DirectoryEntries(nBase)) {
        if (!(type.second & 0x80000000u))
            return Fail("resource type without a directory");
        for (const auto& name : DirectoryEntries(nBase + (type.second & 0x7FFFFFFFu))) {
            if (!(name.second & 0x80000000u))
                return Fail("resource name without a directory");
            for (const auto& language : DirectoryEntries(nBase + (name.second & 0x7FFFFFFFu))) {
                size_t nData = nBase + (language.second & 0x7FFFFFFFu);
                Resource resource = { ResourceName(nBase, type.first), ResourceName(nBase, name.first),
                                      static_cast<uint16_t>(language.first), U32(nData + 4), "" };
                size_t nOffset = OffsetOf(U32(nData));
                if (nOffset != 0 && nOffset + resource.nSize <= m_bytes.size())
                    resource.strData.assign(m_bytes.begin() + nOffset, m_bytes.begin() + nOffset + resource.nSize);
                m_resources.push_back(resource);
            }
        }
    }
    return true;
}

bool CPeImage::ReadImports(uint32_t nImportRva)
{
    if (nImportRva == 0)
        return true;
    size_t nDescriptor = OffsetOf(nImportRva);
    if (nDescriptor == 0)
        return Fail("import table outside every section");
    for (;; nDescriptor += 20) {
        if (nDescriptor + 20 > m_bytes.size())
            return Fail("import table runs past the end of the file");
        uint32_t nNameRva = U32(nDescriptor + 12);
        if (nNameRva == 0)
            return true;
        size_t nName = OffsetOf(nNameRva);
        if (nName == 0)
            return Fail("import name outside every section");
        std::string strName;
        while (nName < m_bytes.size() && m_bytes[nName] != 0)
            strName += static_cast<char>(m_bytes[nName++]);
        m_importedDlls.push_back(strName);
    }
}
