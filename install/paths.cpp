#include "paths.h"

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
