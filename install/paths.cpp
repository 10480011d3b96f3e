#include "paths.h"

std::string g_strDefaultDir;
std::string g_strStartMenuGroup;

int AppendProductFolder(const std::string& strFolder, const std::string& strProduct, std::string& strTarget)
{
    std::string strResult = strFolder;
    if (strResult.find(strProduct) == std::string::npos) {
        if (strResult.empty() || strResult[strResult.size() - 1] != '\\')
            strResult += '\\';
        strResult += strProduct;
    }
    if (strResult.size() > MAX_PATH_TEXT)
        return 0;
    strTarget = strResult;
    return 1;
}

std::vector<std::string> SplitLevels(const std::string& strPath)
{
    std::vector<std::string> levels;
    std::string strRest = strPath.size() > 2 ? strPath.substr(2) + "\\" : "\\";
    for (;;) {
        if (!strRest.empty() && strRest[0] == '\\')
            strRest.erase(0, 1);
        size_t nSlash = strRest.find('\\');
        if (nSlash == std::string::npos)
            return levels;
        levels.push_back(strRest.substr(0, nSlash));
        if (nSlash == 0)
            return levels;  // an empty level ends every walk
        strRest.erase(0, nSlash);
    }
}
