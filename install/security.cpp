#include "install/security.h"

#include <sddl.h>

const char ADMINISTRATORS_ONLY[] = "D:P(A;OICI;GA;;;SY)(A;OICI;GA;;;BA)";

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
