// Starting the installed program once set-up is done.
//   StartInstalledProgram  as the user who started set-up, not with set-up's
//                          rights, where the shell offers the way
#pragma once

#include <string>

// The shell's own process starts it, on behalf of set-up, asked from a
// thread of its own and waited for a few seconds at most. Where no shell
// answers in time, set-up starts it itself, unless set-up was elevated from
// the user's own rights: then it is not started. Its result is not examined.
void StartInstalledProgram(const std::string& strProgram, const std::string& strDirectory);
