// Access lists of the objects that only administrators may change.
//   CSecurityAttributes  security attributes made from a descriptor's text,
//                        freed when they go out of scope
//   ADMINISTRATORS_ONLY  full control to SYSTEM and the Administrators group,
//                        to nobody else, and nothing inherited from above
//   OWNED_BY_ADMINISTRATORS  the same, with the Administrators group as owner
#pragma once

#include <windows.h>

// For folders, passed on to what is made in them; for other objects the
// inheritance marks are of no account.
extern const char ADMINISTRATORS_ONLY[];
// An owner named, not left to the system's default for the maker: an owner
// may always change the access list.
extern const char OWNED_BY_ADMINISTRATORS[];

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
