// context_hash.h - context ids and the hash the help viewer looks them up by.
//   IsValidContextId: only the characters a 3.1-format help file allows.
//   HashContextId:    the 32-bit hash stored in |CONTEXT and in jump hot spots.
#pragma once

#include <cstdint>
#include <string>

int IsValidContextId(const std::string& strId);

// Case-insensitive; the result is meant to be read as a signed 32-bit value.
uint32_t HashContextId(const std::string& strId);
