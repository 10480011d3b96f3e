#include "links.h"

#include <windows.h>

#include <shlobj.h>

int ReadLink(const std::string& strPath, SLink& link)
{
    IShellLinkA* pLink = NULL;
    if (FAILED(::CoCreateInstance(CLSID_ShellLink, NULL, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                  reinterpret_cast<void**>(&pLink))))
        return 0;
    IPersistFile* pFile = NULL;
    WCHAR wszPath[MAX_PATH];
    int nLoaded = SUCCEEDED(pLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&pFile))) &&
                  ::MultiByteToWideChar(CP_ACP, 0, strPath.c_str(), -1, wszPath, MAX_PATH) != 0 &&
                  SUCCEEDED(pFile->Load(wszPath, STGM_READ));
    if (nLoaded) {
        char szText[MAX_PATH] = "";
        pLink->GetPath(szText, MAX_PATH, NULL, SLGP_RAWPATH);
        link.strTarget = szText;
        szText[0] = '\0';
        pLink->GetWorkingDirectory(szText, MAX_PATH);
        link.strWorkingDir = szText;
        szText[0] = '\0';
        pLink->GetDescription(szText, MAX_PATH);
        link.strDescription = szText;
        szText[0] = '\0';
        link.nIconIndex = -1;
        pLink->GetIconLocation(szText, MAX_PATH, &link.nIconIndex);
        link.strIconPath = szText;
        link.nShowCmd = 0;
        pLink->GetShowCmd(&link.nShowCmd);
    }
    if (pFile != NULL)
        pFile->Release();
    pLink->Release();
    return nLoaded;
}
