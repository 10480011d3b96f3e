// Reading a shortcut file through the shell's link component.
#pragma once

#include <string>

struct SLink {
    std::string strTarget;
    std::string strWorkingDir;
    std::string strDescription;
    std::string strIconPath;
    int nIconIndex;
    int nShowCmd;
};

// Nonzero when the file could be loaded as a link.
int ReadLink(const std::string& strPath, SLink& link);
