// GDI font holder.
//   CFont  owns one font handle and deletes it unless it was given up
#pragma once

#include <windows.h>

class CFont
{
public:
    CFont() : m_hObject(NULL) {}
    ~CFont() { DeleteObject(); }

    BOOL Attach(HFONT hFont);
    HFONT Detach();
    BOOL DeleteObject();
    operator HFONT() const { return m_hObject; }

    HFONT m_hObject;

private:
    CFont(const CFont&);
    CFont& operator=(const CFont&);
};
