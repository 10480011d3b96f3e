// The payload table as the build embedded it, with the file each row was made from.
//   PayloadSource          one row: resource id, installed name, the built file (a path Wine reads)
//   g_rgPayloadSources     the rows, in install order
//   BuiltFile              the built file of a resource id
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>

struct PayloadSource
{
    UINT nResourceId;
    const char* pszFileName;
    const char* pszBuiltFile;
};

extern const PayloadSource g_rgPayloadSources[];
extern const size_t PAYLOAD_SOURCE_COUNT;

std::string BuiltFile(UINT nResourceId);
