// byte_buffer.h - a growing little-endian byte buffer for building help files.
//   CByteBuffer: append bytes, words, dwords, strings and the help format's
//   variable-length ("compressed") integers; patch a dword in place.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class CByteBuffer
{
public:
    void AppendByte(uint8_t nValue);
    void AppendWord(uint16_t nValue);
    void AppendDword(uint32_t nValue);
    void AppendBytes(const uint8_t* pData, size_t nSize);
    void AppendBuffer(const CByteBuffer& other);
    // The string followed by its NUL terminator.
    void AppendStringZ(const std::string& str);
    // The string padded with NULs (or cut) to exactly nWidth bytes.
    void AppendFixedString(const std::string& str, size_t nWidth);
    void AppendZeros(size_t nCount);

    // One byte for 0..127, else two bytes; the low bit tells which.
    void AppendCompressedUnsignedShort(uint16_t nValue);
    // Biased by 64 (one byte) or 16384 (two bytes).
    void AppendCompressedSignedShort(int16_t nValue);
    // Two bytes for 0..32767, else four bytes.
    void AppendCompressedUnsignedLong(uint32_t nValue);
    // Biased by 16384 (two bytes) or 67108864 (four bytes).
    void AppendCompressedSignedLong(int32_t nValue);

    void PatchDword(size_t nOffset, uint32_t nValue);

    size_t GetSize() const { return m_vBytes.size(); }
    const uint8_t* GetData() const { return m_vBytes.data(); }
    const std::vector<uint8_t>& GetBytes() const { return m_vBytes; }

private:
    std::vector<uint8_t> m_vBytes;
};
