// Whether the installer's own file, and each payload it carries, is as built.
// SZDD carries no checksum, and a download may arrive cut short or damaged.
//   Crc32         the CRC-32 of a block of bytes (the zlib polynomial)
//   SealImage     stores in an executable the CRC-32 and length of its bytes
//                 as built; a host tool does this after linking
//   IsFileSizeSealed  whether a file of that size can match the seal in its
//                 headers, before the rest is read
//   IsImageWhole  whether an executable's bytes match its seal
// The seal skips what signing the file changes afterwards: the checksum of
// the optional header, the certificate table's directory entry, and the
// certificate table with its alignment padding at the end of the file.
// Pure byte work, shared by the program and its build tools.
#pragma once

#include <cstddef>
#include <cstdint>

uint32_t Crc32(const unsigned char* pBytes, size_t nSize);

// Nonzero when the bytes are an unsigned PE image and the seal was stored.
int SealImage(unsigned char* pImage, size_t nSize);
// pHeaders: the file's first nHeaders bytes, enough to hold its PE headers.
int IsFileSizeSealed(const unsigned char* pHeaders, size_t nHeaders, uint64_t nFileSize);
int IsImageWhole(const unsigned char* pImage, size_t nSize);
