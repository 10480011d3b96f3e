// help_file.h - turns a parsed help document into the bytes of a .hlp file.
//   BuildHelpFile: |SYSTEM, |FONT, |TOPIC and |CONTEXT in one help file.
#pragma once

#include "byte_buffer.h"
#include "help_source.h"

#include <string>

// Nonzero on success; otherwise strError says why.
int BuildHelpFile(const HelpDocument& document, CByteBuffer& helpFile, std::string& strError);
