// What a complete installation leaves, checked and told from outside.
//   ExpectInstalled  the four files as the build made them with the fixed time
//                    stamp, the four links, and the three keys with their
//                    values; the install time between the two given times
//   PrintAccount     the files with sizes and times, the links with their
//                    targets and the registry entries, as they stand
#pragma once

#include <ctime>
#include <string>

void ExpectInstalled(const std::string& strTargetDir, time_t nNotBefore, time_t nNotAfter);
void PrintAccount(const std::string& strTargetDir);
