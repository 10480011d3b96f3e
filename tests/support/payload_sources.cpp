#include "payload_sources.h"

#include <gtest/gtest.h>

// Written by the build from its payload table (tests/CMakeLists.txt).
const PayloadSource g_rgPayloadSources[] = {
#include "payload_sources.inc"
};
const size_t PAYLOAD_SOURCE_COUNT = sizeof(g_rgPayloadSources) / sizeof(g_rgPayloadSources[0]);

std::string BuiltFile(UINT nResourceId)
{
    for (const PayloadSource& row : g_rgPayloadSources) {
        if (row.nResourceId == nResourceId)
            return row.pszBuiltFile;
    }
    ADD_FAILURE() << "no payload row " << nResourceId;
    return std::string();
}
