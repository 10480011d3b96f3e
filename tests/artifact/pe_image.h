// Reading a Windows executable's headers on the build host.
//   CPeImage  machine, subsystem, the DLLs a program imports and its resources
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class CPeImage
{
public:
    // Nonzero when the file is a PE image whose headers and import table
    // lie inside it; m_strError says what is wrong otherwise.
    int Load(const std::string& strPath);

    uint16_t m_nMachine = 0;    // 0x14C for i386, 0x8664 for x86-64
    uint16_t m_nMagic = 0;      // 0x10B for PE32, 0x20B for PE32+
    uint16_t m_nSubsystem = 0;  // 2 for a GUI program
    std::vector<std::string> m_importedDlls;
    struct Resource
    {
        std::string strType;  // a name, or "#" and the number of a standard type
        std::string strName;  // likewise
        uint16_t nLanguage;
        uint32_t nSize;
        std::string strData;  // empty when it lies outside the file
    };
    std::vector<Resource> m_resources;
    size_t m_nFileSize = 0;
    std::string m_strError;

private:
    struct Section
    {
        uint32_t nVirtualAddress;
        uint32_t nVirtualSize;
        uint32_t nRawOffset;
        uint32_t nRawSize;
    };

    bool ReadHeaders();
    bool ReadImports(uint32_t nImportRva);
    bool ReadResources(uint32_t nResourceRva);
    std::string ResourceName(size_t nBase, uint32_t nName) const;
    // The entries of one resource directory: (name, offset of what it leads to).
    std::vector<std::pair<uint32_t, uint32_t>> DirectoryEntries(size_t nDirectory) const;
    // File offset of a relative virtual address; 0 when no section holds it.
    size_t OffsetOf(uint32_t nRva) const;
    uint16_t U16(size_t nOffset) const;
    uint32_t U32(size_t nOffset) const;
    bool Fail(const std::string& strWhy);

    std::vector<unsigned char> m_bytes;
    std::vector<Section> m_sections;
};
