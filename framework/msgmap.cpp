#include "msgmap.h"

static bool MatchesEntry(const MessageMapEntry& entry, UINT nMsg, WPARAM wParam)
{
    if (nMsg == WM_COMMAND)
        return entry.nMessage == WM_COMMAND && entry.nCode == HIWORD(wParam) && entry.nID == LOWORD(wParam);
    if (IsCtlColorMessage(nMsg))
        return entry.nMessage == WM_CTLCOLOR;
    return entry.nMessage == nMsg;
}

const MessageMapEntry* FindMessageMapEntry(const MessageMapEntry* pMap, UINT nMsg, WPARAM wParam)
{
    for (; pMap != NULL && pMap->pfnHandler != NULL; ++pMap) {
        if (MatchesEntry(*pMap, nMsg, wParam))
            return pMap;
    }
    return NULL;
}
