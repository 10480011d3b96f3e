#include "byte_buffer.h"

void CByteBuffer::AppendByte(uint8_t nValue)
{
    m_vBytes.push_back(nValue);
}

void CByteBuffer::AppendWord(uint16_t nValue)
{
    AppendByte(static_cast<uint8_t>(nValue & 0xFF));
    AppendByte(static_cast<uint8_t>(nValue >> 8));
}

void CByteBuffer::AppendDword(uint32_t nValue)
{
    AppendWord(static_cast<uint16_t>(nValue & 0xFFFF));
    AppendWord(static_cast<uint16_t>(nValue >> 16));
}

void CByteBuffer::AppendBytes(const uint8_t* pData, size_t nSize)
{
    m_vBytes.insert(m_vBytes.end(), pData, pData + nSize);
}

void CByteBuffer::AppendBuffer(const CByteBuffer& other)
{
    AppendBytes(other.GetData(), other.GetSize());
}

void CByteBuffer::AppendStringZ(const std::string& str)
{
    AppendBytes(reinterpret_cast<const uint8_t*>(str.c_str()), str.size() + 1);
}

void CByteBuffer::AppendFixedString(const std::string& str, size_t nWidth)
{
    size_t nCopied = str.size() < nWidth ? str.size() : nWidth;
    AppendBytes(reinterpret_cast<const uint8_t*>(str.data()), nCopied);
    AppendZeros(nWidth - nCopied);
}

void CByteBuffer::AppendZeros(size_t nCount)
{
    m_vBytes.insert(m_vBytes.end(), nCount, 0);
}

void CByteBuffer::AppendCompressedUnsignedShort(uint16_t nValue)
{
    if (nValue < 0x80)
        AppendByte(static_cast<uint8_t>(nValue * 2));
    else
        AppendWord(static_cast<uint16_t>(nValue * 2 + 1));
}

void CByteBuffer::AppendCompressedSignedShort(int16_t nValue)
{
    if (nValue >= -0x40 && nValue < 0x40)
        AppendByte(static_cast<uint8_t>((nValue + 0x40) * 2));
    else
        AppendWord(static_cast<uint16_t>((nValue + 0x4000) * 2 + 1));
}

void CByteBuffer::AppendCompressedUnsignedLong(uint32_t nValue)
{
    if (nValue < 0x8000)
        AppendWord(static_cast<uint16_t>(nValue * 2));
    else
        AppendDword(nValue * 2 + 1);
}

void CByteBuffer::AppendCompressedSignedLong(int32_t nValue)
{
    if (nValue >= -0x4000 && nValue < 0x4000)
        AppendWord(static_cast<uint16_t>((nValue + 0x4000) * 2));
    else
        AppendDword(static_cast<uint32_t>(nValue + 0x4000000) * 2 + 1);
}

void CByteBuffer::PatchDword(size_t nOffset, uint32_t nValue)
{
    for (int i = 0; i < 4; ++i)
        m_vBytes[nOffset + i] = static_cast<uint8_t>(nValue >> (8 * i));
}
