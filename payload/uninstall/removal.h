// Removing what an installation put on the machine, and nothing else.
//   RemoveInstallation  the installed files, the shortcuts, the registry
//                       entries and the emptied folders; one line for each
//                       item that stayed
#pragma once

#include <string>
#include <vector>

// g_strStartMenuGroup names the group folder. Whatever cannot be removed is
// passed over and the rest still goes.
std::vector<std::string> RemoveInstallation(const std::string& strDirectory);
