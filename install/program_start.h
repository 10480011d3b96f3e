// Starting the installed program once set-up is done.
//   StartInstalledProgram  as the user who started set-up, not with set-up's
//                          rights, where the shell offers the way
#pragma once

#include <string>

// The shell's own process starts it, on behalf of set-up; only where no shell
// answers does set-up start it itself. Its result is not examined either way.
// The component library must be initialised.
void StartInstalledProgram(const std::string& strProgram, const std::string& strDirectory);
