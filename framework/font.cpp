#include "font.h"

BOOL CFont::Attach(HFONT hFont)
{
    if (hFont == NULL)
        return FALSE;
    DeleteObject();
    m_hObject = hFont;
    return TRUE;
}

HFONT CFont::Detach()
{
    HFONT hFont = m_hObject;
    m_hObject = NULL;
    return hFont;
}

BOOL CFont::DeleteObject()
{
    if (m_hObject == NULL)
        return FALSE;
    BOOL bDeleted = ::DeleteObject(m_hObject);
    m_hObject = NULL;
    return bDeleted;
}
