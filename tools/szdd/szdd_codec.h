// SZDD (compression mode A) files, whole in memory:
//   CompressSzdd          - the smallest SZDD file the format allows for the input
//   ExpandSzdd            - checks and expands an SZDD file
//   ExpandSzddWithFill    - the same, with another initial window fill (for tests)
//   ReadWholeFile         - a file into memory, for the tools around the codec
#pragma once

#include <cstddef>
#include <string>
#include <vector>

constexpr size_t kSzddHeaderSize = 14;
constexpr unsigned char kSzddWindowFill = 0x20;

std::vector<unsigned char> CompressSzdd(const unsigned char* pData, size_t nData);

// Nonzero on success; on failure strError says what is wrong with the input.
int ExpandSzdd(const unsigned char* pFile, size_t nFile, std::vector<unsigned char>& vecOut,
               std::string& strError);
int ExpandSzddWithFill(const unsigned char* pFile, size_t nFile, unsigned char bFill,
                       std::vector<unsigned char>& vecOut, std::string& strError);

// Nonzero on success; on failure strError names the file and the reason.
int ReadWholeFile(const char* pszPath, std::vector<unsigned char>& vecData, std::string& strError);
