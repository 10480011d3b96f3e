// Access lists of the objects that only administrators may change.
//   CSecurityAttributes  security attributes made from a descriptor's text,
//                        freed when they go out of scope
//   ADMINISTRATORS_ONLY  full control to SYSTEM and the Administrators group,
//                        to nobody else, and nothing inherited from above
#pragma once

#include <windows.h>

// For folders, passed on to what is made in them; for other objects the
// inheritance marks are of no account.
extern const char ADMINISTRATORS_ONLY[];

class CSecurityAttributes
{
public:
    CSecurityAttributes(LPCSTR lpszDescriptor, BOOL bInheritable);
    ~CSecurityAttributes();

    // NULL when the system could not make the descriptor.
    LPSECURITY_ATTRIBUTES Get();

private:
    CSecurityAttributes(const CSecurityAttributes&);
    CSecurityAttributes& operator=(const CSecurityAttributes&);

    SECURITY_ATTRIBUTES m_sa;
};
