#include "setup_mutex.h"

#include "common/library_search.h"
#include "common/security.h"

// Where the system has no private namespaces. Global: another user's session
// installing into Program Files and HKLM works on the same installation.
const char g_szSetupMutex[] = "Global\\InstallLV_Lumivane_Setup";

// Any logged-on user may make objects under "Global\", first and of any kind.
// A private namespace bounded by the Administrators group can be made and
// opened only by a process that holds that group, so no other user can take
// the name or shut set-up out.
static const WCHAR NAMESPACE_BOUNDARY[] = L"InstallLV_Lumivane";
static const WCHAR NAMESPACE_ALIAS[] = L"InstallLV_Lumivane";
static const WCHAR NAMESPACE_MUTEX[] = L"InstallLV_Lumivane\\Setup";
// Two set-ups making the namespace at once: the one that finds it made opens
// it, unless the other has ended in between and taken it with it.
static const int NAMESPACE_ATTEMPTS = 3;

// From Windows Vista on; looked up, as XP lacks them.
typedef HANDLE(WINAPI* PFN_CREATEBOUNDARYDESCRIPTORW)(LPCWSTR, ULONG);
typedef BOOL(WINAPI* PFN_ADDSIDTOBOUNDARYDESCRIPTOR)(HANDLE*, PSID);
typedef HANDLE(WINAPI* PFN_CREATEPRIVATENAMESPACEW)(LPSECURITY_ATTRIBUTES, LPVOID, LPCWSTR);
typedef HANDLE(WINAPI* PFN_OPENPRIVATENAMESPACEW)(LPVOID, LPCWSTR);
typedef VOID(WINAPI* PFN_DELETEBOUNDARYDESCRIPTOR)(HANDLE);

enum ENamespace { NAMESPACE_OPEN, NAMESPACE_REFUSED, NAMESPACE_NO_RIGHTS, NAMESPACE_UNSUPPORTED };

// Only a process that holds the Administrators group may make or open it.
static ENamespace RefusedFor(DWORD dwError)
{
    return dwError == ERROR_ACCESS_DENIED ? NAMESPACE_NO_RIGHTS : NAMESPACE_REFUSED;
}

// Whether a failure says that the system has the calls in name only.
static int IsUnsupportedError(DWORD dwError)
{
    return dwError == ERROR_CALL_NOT_IMPLEMENTED || dwError == ERROR_NOT_SUPPORTED;
}

// An inheritable namespace handle passes with the mutex's to the programs
// this process starts: the namespace then lasts while any of them runs.
static ENamespace OpenNamespaceWithin(HANDLE hBoundary, BOOL bInheritable)
{
    PFN_CREATEPRIVATENAMESPACEW pfnCreate = FindKernelFunction<PFN_CREATEPRIVATENAMESPACEW>("CreatePrivateNamespaceW");
    PFN_OPENPRIVATENAMESPACEW pfnOpen = FindKernelFunction<PFN_OPENPRIVATENAMESPACEW>("OpenPrivateNamespaceW");
    if (pfnCreate == NULL || pfnOpen == NULL)
        return NAMESPACE_UNSUPPORTED;
    CSecurityAttributes administratorsOnly(ADMINISTRATORS_ONLY, bInheritable);
    for (int i = 0; i < NAMESPACE_ATTEMPTS && administratorsOnly.Get() != NULL; ++i) {
        // The handle is never closed: the namespace lasts while a set-up runs.
        if (pfnCreate(administratorsOnly.Get(), hBoundary, NAMESPACE_ALIAS) != NULL)
            return NAMESPACE_OPEN;
        DWORD dwError = ::GetLastError();
        if (IsUnsupportedError(dwError))
            return NAMESPACE_UNSUPPORTED;
        if (dwError != ERROR_ALREADY_EXISTS)
            return RefusedFor(dwError);
        HANDLE hNamespace = pfnOpen(hBoundary, NAMESPACE_ALIAS);
        if (hNamespace != NULL) {
            if (bInheritable)
                ::SetHandleInformation(hNamespace, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT);
            return NAMESPACE_OPEN;
        }
        if (::GetLastError() == ERROR_ACCESS_DENIED)
            return NAMESPACE_NO_RIGHTS;
    }
    return NAMESPACE_REFUSED;
}

static ENamespace OpenSetupNamespace(BOOL bInheritable)
{
    PFN_CREATEBOUNDARYDESCRIPTORW pfnCreateBoundary =
        FindKernelFunction<PFN_CREATEBOUNDARYDESCRIPTORW>("CreateBoundaryDescriptorW");
    PFN_ADDSIDTOBOUNDARYDESCRIPTOR pfnAddSid =
        FindKernelFunction<PFN_ADDSIDTOBOUNDARYDESCRIPTOR>("AddSIDToBoundaryDescriptor");
    PFN_DELETEBOUNDARYDESCRIPTOR pfnDeleteBoundary =
        FindKernelFunction<PFN_DELETEBOUNDARYDESCRIPTOR>("DeleteBoundaryDescriptor");
    if (pfnCreateBoundary == NULL || pfnAddSid == NULL || pfnDeleteBoundary == NULL)
        return NAMESPACE_UNSUPPORTED;
    HANDLE hBoundary = pfnCreateBoundary(NAMESPACE_BOUNDARY, 0);
    if (hBoundary == NULL)
        return IsUnsupportedError(::GetLastError()) ? NAMESPACE_UNSUPPORTED : NAMESPACE_REFUSED;
    SID_IDENTIFIER_AUTHORITY ntAuthority = SECURITY_NT_AUTHORITY;
    PSID pAdministrators = NULL;
    ENamespace eResult = NAMESPACE_REFUSED;
    if (::AllocateAndInitializeSid(&ntAuthority, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0, 0,
                                   0, 0, &pAdministrators)) {
        if (pfnAddSid(&hBoundary, pAdministrators))
            eResult = OpenNamespaceWithin(hBoundary, bInheritable);
        else if (IsUnsupportedError(::GetLastError()))
            eResult = NAMESPACE_UNSUPPORTED;
        ::FreeSid(pAdministrators);
    }
    pfnDeleteBoundary(hBoundary);
    return eResult;
}

static HANDLE CreateSetupMutexIn(ENamespace eNamespace, BOOL bInheritable)
{
    SECURITY_ATTRIBUTES sa = { sizeof(sa), NULL, bInheritable };
    switch (eNamespace) {
    case NAMESPACE_OPEN:
        return ::CreateMutexW(&sa, FALSE, NAMESPACE_MUTEX);
    case NAMESPACE_UNSUPPORTED:
        return ::CreateMutexA(&sa, FALSE, g_szSetupMutex);
    default:
        return NULL;
    }
}

HANDLE CreateSetupMutex(BOOL bInheritable)
{
    return CreateSetupMutexIn(OpenSetupNamespace(bInheritable), bInheritable);
}

ESetupTurn TakeSetupMutex(BOOL bInheritable)
{
    ENamespace eNamespace = OpenSetupNamespace(bInheritable);
    if (eNamespace == NAMESPACE_NO_RIGHTS)
        return SETUP_TURN_NO_RIGHTS;
    // Holding is having it open, so no ownership is asked for; the handle is
    // never closed, and the process end lets go.
    HANDLE hMutex = CreateSetupMutexIn(eNamespace, bInheritable);
    // Whatever else keeps us from it refuses: the name taken by an object of
    // another kind, a mutex whose security shuts us out, no namespace.
    if (hMutex == NULL)
        return SETUP_TURN_BUSY;
    if (::GetLastError() != ERROR_ALREADY_EXISTS)
        return SETUP_TURN_TAKEN;
    ::CloseHandle(hMutex);
    return SETUP_TURN_BUSY;
}
