// Reading a Windows executable's headers on the build host.
//   CPeImage  machine, subsystem and the DLLs a program imports
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
    // File offset of a relative virtual address; 0 when no section holds it.
    size_t OffsetOf(uint32_t nRva) const;
    uint16_t U16(size_t nOffset) const;
    uint32_t U32(size_t nOffset) const;
    bool Fail(const std::string& strWhy);

    std::vector<unsigned char> m_bytes;
    std::vector<Section> m_sections;
};
