#include "integrity.h"

// The seal stands in reserved words of the DOS header, which loaders ignore:
// the CRC-32, then the length the image had when it was sealed.
static const size_t SEAL_OFFSET = 0x28;
static const size_t SEAL_SIZE = 8;
static const size_t CERTIFICATE_ENTRY = 4;  // data directory index of the certificate table

static uint32_t ReadU32(const unsigned char* p)
{
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

static void WriteU32(unsigned char* p, uint32_t n)
{
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<unsigned char>(n >> (8 * i));
}

static uint32_t UpdateCrc(uint32_t nCrc, const unsigned char* pBytes, size_t nSize)
{
    for (size_t i = 0; i < nSize; ++i) {
        nCrc ^= pBytes[i];
        for (int nBit = 0; nBit < 8; ++nBit)
            nCrc = (nCrc >> 1) ^ (0xEDB88320u & (0u - (nCrc & 1)));
    }
    return nCrc;
}

uint32_t Crc32(const unsigned char* pBytes, size_t nSize)
{
    return ~UpdateCrc(0xFFFFFFFFu, pBytes, nSize);
}

// Where signing writes into the headers; zero when the headers do not lie
// within the first nSize bytes.
struct SignedFields
{
    size_t nChecksum;          // the optional header's checksum
    size_t nCertificateEntry;  // the certificate table's offset and size
};

static int FindSignedFields(const unsigned char* pImage, size_t nSize, SignedFields* pFields)
{
    if (nSize < 0x40 || pImage[0] != 'M' || pImage[1] != 'Z')
        return 0;
    size_t nPe = ReadU32(pImage + 0x3C);
    if (nPe > nSize || nSize - nPe < 24 + 2 || ReadU32(pImage + nPe) != 0x00004550)  // "PE\0\0"
        return 0;
    size_t nOptional = nPe + 24;
    unsigned nMagic = pImage[nOptional] | (pImage[nOptional + 1] << 8);
    size_t nDirectories = nMagic == 0x20B ? 112 : nMagic == 0x10B ? 96 : 0;
    size_t nEntry = nOptional + nDirectories + 8 * CERTIFICATE_ENTRY;
    if (nDirectories == 0 || nEntry + 8 > nSize || ReadU32(pImage + nOptional + nDirectories - 4) <= CERTIFICATE_ENTRY)
        return 0;
    pFields->nChecksum = nOptional + 64;
    pFields->nCertificateEntry = nEntry;
    return 1;
}

// The CRC of the first nLength bytes, passing over the seal and what signing changes.
static uint32_t SealedCrc(const unsigned char* pImage, size_t nLength, const SignedFields& fields)
{
    const size_t rgSkips[][2] = { { SEAL_OFFSET, SEAL_SIZE }, { fields.nChecksum, 4 }, { fields.nCertificateEntry, 8 } };
    static const unsigned char rgZeros[8] = { 0 };
    uint32_t nCrc = 0xFFFFFFFFu;
    size_t nDone = 0;
    for (const size_t* pSkip : rgSkips) {
        nCrc = UpdateCrc(nCrc, pImage + nDone, pSkip[0] - nDone);
        nCrc = UpdateCrc(nCrc, rgZeros, pSkip[1]);
        nDone = pSkip[0] + pSkip[1];
    }
    return ~UpdateCrc(nCrc, pImage + nDone, nLength - nDone);
}

int SealImage(unsigned char* pImage, size_t nSize)
{
    SignedFields fields;
    if (!FindSignedFields(pImage, nSize, &fields) || ReadU32(pImage + fields.nCertificateEntry + 4) != 0 ||
        nSize > 0xFFFFFFFFu)
        return 0;
    WriteU32(pImage + SEAL_OFFSET, SealedCrc(pImage, nSize, fields));
    WriteU32(pImage + SEAL_OFFSET + 4, static_cast<uint32_t>(nSize));
    return 1;
}

// A signature's certificate table is a few kilobytes; a tail far larger is
// something else stuck on, and is refused unread.
static const size_t MAX_CERTIFICATE_TABLE = 1024 * 1024;

// Past the sealed length there may be only a certificate table, which starts
// on the next multiple of eight and ends the file. Its size is in the headers,
// so the file's size alone tells whether one can follow.
static int IsSizeSealed(const unsigned char* pHeaders, uint64_t nFileSize, size_t nLength, size_t nEntry)
{
    uint64_t nOffset = ReadU32(pHeaders + nEntry);
    uint64_t nTableSize = ReadU32(pHeaders + nEntry + 4);
    if (nTableSize == 0)
        return nFileSize == nLength;
    return nOffset >= nLength && nOffset - nLength < 8 && nTableSize <= MAX_CERTIFICATE_TABLE &&
           nFileSize == nOffset + nTableSize;
}

// The sealed length and the certificate entry, when the headers lie within
// the first nSize bytes and the seal's length is not past the file's end.
static int ReadSeal(const unsigned char* pImage, size_t nSize, uint64_t nFileSize, size_t* pnLength,
                    SignedFields* pFields)
{
    if (!FindSignedFields(pImage, nSize, pFields))
        return 0;
    *pnLength = ReadU32(pImage + SEAL_OFFSET + 4);
    return *pnLength <= nFileSize && *pnLength >= pFields->nCertificateEntry + 8 &&
           IsSizeSealed(pImage, nFileSize, *pnLength, pFields->nCertificateEntry);
}

int IsFileSizeSealed(const unsigned char* pHeaders, size_t nHeaders, uint64_t nFileSize)
{
    SignedFields fields;
    size_t nLength = 0;
    return ReadSeal(pHeaders, nHeaders, nFileSize, &nLength, &fields);
}

int IsImageWhole(const unsigned char* pImage, size_t nSize)
{
    SignedFields fields;
    size_t nLength = 0;
    if (!ReadSeal(pImage, nSize, nSize, &nLength, &fields) ||
        SealedCrc(pImage, nLength, fields) != ReadU32(pImage + SEAL_OFFSET))
        return 0;
    for (size_t i = nLength; i < nSize && i < ReadU32(pImage + fields.nCertificateEntry); ++i) {
        if (pImage[i] != 0)  // the certificate table's alignment padding
            return 0;
    }
    return 1;
}
