#include "common/security.h"

#include <sddl.h>

#define ADMINISTRATORS_ONLY_DACL "D:P(A;OICI;GA;;;SY)(A;OICI;GA;;;BA)"
const char ADMINISTRATORS_ONLY[] = ADMINISTRATORS_ONLY_DACL;
const char OWNED_BY_ADMINISTRATORS[] = "O:BA" ADMINISTRATORS_ONLY_DACL;

CSecurityAttributes::CSecurityAttributes(LPCSTR lpszDescriptor, BOOL bInheritable)
{
    m_sa.nLength = sizeof(m_sa);
    m_sa.lpSecurityDescriptor = NULL;
    m_sa.bInheritHandle = bInheritable;
    if (!::ConvertStringSecurityDescriptorToSecurityDescriptorA(lpszDescriptor, SDDL_REVISION_1,
                                                                &m_sa.lpSecurityDescriptor, NULL))
        m_sa.lpSecurityDescriptor = NULL;
}

CSecurityAttributes::~CSecurityAttributes()
{
    ::LocalFree(m_sa.lpSecurityDescriptor);
}

LPSECURITY_ATTRIBUTES CSecurityAttributes::Get()
{
    return m_sa.lpSecurityDescriptor != NULL ? &m_sa : NULL;
}
