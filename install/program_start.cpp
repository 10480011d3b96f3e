#include "install/program_start.h"

#include <windows.h>

#include <exdisp.h>
#include <shellapi.h>
#include <shldisp.h>
#include <shlobj.h>

#include "common/com_ptr.h"

// The identities used, held here as for the links (install/shortcuts.cpp).
static const CLSID s_clsidShellWindows = {
    0x9BA05972, 0xF6A8, 0x11CF, { 0xA4, 0x42, 0x00, 0xA0, 0xC9, 0x0A, 0x8F, 0x39 }
};
static const IID s_iidShellWindows = { 0x85CB6900, 0x4D95, 0x11CF, { 0x96, 0x0C, 0x00, 0x80, 0xC7, 0xF4, 0xEE, 0x85 } };
static const IID s_iidServiceProvider = {
    0x6D5140C1, 0x7436, 0x11CE, { 0x80, 0x34, 0x00, 0xAA, 0x00, 0x60, 0x09, 0xFA }
};
static const GUID s_sidTopLevelBrowser = {
    0x4C96BE40, 0x915C, 0x11CF, { 0x99, 0xD3, 0x00, 0xAA, 0x00, 0x4A, 0xE8, 0x37 }
};
static const IID s_iidShellBrowser = { 0x000214E2, 0x0000, 0x0000, { 0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46 } };
static const IID s_iidDispatch = { 0x00020400, 0x0000, 0x0000, { 0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46 } };
static const IID s_iidShellFolderViewDual = {
    0xE7A1AF80, 0x4D96, 0x11CF, { 0x96, 0x0C, 0x00, 0x80, 0xC7, 0xF4, 0xEE, 0x85 }
};
static const IID s_iidShellDispatch2 = {
    0xA4C6892C, 0x3BA9, 0x11D2, { 0x9D, 0xEA, 0x00, 0xC0, 0x4F, 0xB1, 0x61, 0x62 }
};

// A text for the shell, freed when it goes out of scope.
class CShellText
{
public:
    explicit CShellText(const std::string& strText) : m_bstr(NULL)
    {
        int nLength = ::MultiByteToWideChar(CP_ACP, 0, strText.c_str(), -1, NULL, 0);
        if (nLength > 0 && (m_bstr = ::SysAllocStringLen(NULL, nLength - 1)) != NULL)
            ::MultiByteToWideChar(CP_ACP, 0, strText.c_str(), -1, m_bstr, nLength);
    }
    ~CShellText() { ::SysFreeString(m_bstr); }

    BSTR Get() const { return m_bstr; }
    VARIANT AsVariant() const
    {
        VARIANT v;
        ::VariantInit(&v);
        v.vt = VT_BSTR;
        v.bstrVal = m_bstr;
        return v;
    }

private:
    CShellText(const CShellText&);
    CShellText& operator=(const CShellText&);

    BSTR m_bstr;
};

// The view of the desktop window, which the shell runs in its own process as
// the user who logged on.
static int FindDesktopView(CComPtr<IShellView>& pView)
{
    CComPtr<IShellWindows> pWindows;
    HRESULT hr =
        ::CoCreateInstance(s_clsidShellWindows, NULL, CLSCTX_LOCAL_SERVER, s_iidShellWindows, pWindows.Receive());
    if (hr != S_OK)
        return 0;
    VARIANT vLocation, vRoot;
    ::VariantInit(&vLocation);
    vLocation.vt = VT_I4;
    vLocation.lVal = CSIDL_DESKTOP;
    ::VariantInit(&vRoot);
    long nWindow = 0;
    CComPtr<IDispatch> pDesktop;
    // S_FALSE: no desktop window.
    hr = pWindows->FindWindowSW(&vLocation, &vRoot, SWC_DESKTOP, &nWindow, SWFO_NEEDDISPATCH, pDesktop.ReceiveTyped());
    if (hr != S_OK)
        return 0;
    CComPtr<IServiceProvider> pServices;
    CComPtr<IShellBrowser> pBrowser;
    return pDesktop->QueryInterface(s_iidServiceProvider, pServices.Receive()) == S_OK &&
           pServices->QueryService(s_sidTopLevelBrowser, s_iidShellBrowser, pBrowser.Receive()) == S_OK &&
           pBrowser->QueryActiveShellView(pView.ReceiveTyped()) == S_OK;
}

// The shell's own scripting object, as that view hands it out.
static int FindShellDispatch(CComPtr<IShellDispatch2>& pShell)
{
    CComPtr<IShellView> pView;
    CComPtr<IDispatch> pBackground;
    CComPtr<IShellFolderViewDual> pFolderView;
    CComPtr<IDispatch> pApplication;
    return FindDesktopView(pView) &&
           pView->GetItemObject(SVGIO_BACKGROUND, s_iidDispatch, pBackground.Receive()) == S_OK &&
           pBackground->QueryInterface(s_iidShellFolderViewDual, pFolderView.Receive()) == S_OK &&
           pFolderView->get_Application(pApplication.ReceiveTyped()) == S_OK &&
           pApplication->QueryInterface(s_iidShellDispatch2, pShell.Receive()) == S_OK;
}

// A shell that has not answered by then is not waited for: the installation
// is done and the completion box has said where Lumivane is. A busy machine's
// shell may take a few seconds to answer the first time.
static const DWORD SHELL_ANSWER_TIMEOUT_MS = 10000;

// Who may still start the program: whichever of the asking thread and set-up
// changes the state from ASK_PENDING first.
enum { ASK_PENDING, ASK_ASKED, ASK_NO_SHELL, ASK_GIVEN_UP };

// Shared by set-up and the asking thread, which may outlive set-up's wait:
// the last of the two to let go of it frees it.
struct SShellRequest
{
    SShellRequest(const std::string& strProgram, const std::string& strDirectory)
        : nState(ASK_PENDING), nHolders(2), program(strProgram), directory(strDirectory)
    {
    }

    volatile LONG nState;
    volatile LONG nHolders;
    CShellText program;
    CShellText directory;
};

static void LetGoOf(SShellRequest* pRequest)
{
    if (::InterlockedDecrement(&pRequest->nHolders) == 0)
        delete pRequest;
}

static void AskShell(SShellRequest* pRequest)
{
    CComPtr<IShellDispatch2> pShell;
    CShellText verb("open");
    if (!FindShellDispatch(pShell) || pRequest->program.Get() == NULL || pRequest->directory.Get() == NULL ||
        verb.Get() == NULL)
        return;
    // Set-up may have given up on the shell meanwhile, and started the program itself.
    if (::InterlockedCompareExchange(&pRequest->nState, ASK_ASKED, ASK_PENDING) != ASK_PENDING)
        return;
    VARIANT vArguments, vShow;
    ::VariantInit(&vArguments);
    ::VariantInit(&vShow);
    vShow.vt = VT_I4;
    vShow.lVal = SW_SHOWNORMAL;
    pShell->ShellExecute(pRequest->program.Get(), vArguments, pRequest->directory.AsVariant(), verb.AsVariant(), vShow);
}

// The calls into the shell's process have no time limit of their own: made
// here, in an apartment of this thread's own, they keep nobody waiting.
static DWORD WINAPI AskShellThread(LPVOID pParameter)
{
    SShellRequest* pRequest = static_cast<SShellRequest*>(pParameter);
    if (SUCCEEDED(::CoInitializeEx(NULL, COINIT_APARTMENTTHREADED))) {
        AskShell(pRequest);
        ::CoUninitialize();
    }
    ::InterlockedCompareExchange(&pRequest->nState, ASK_NO_SHELL, ASK_PENDING);
    LetGoOf(pRequest);
    return 0;
}

// Elevated through UAC: the user's own token, without the administrators'
// rights, stands beside this process's. Older systems have no such pair.
static int HasSplitToken()
{
    HANDLE hToken = NULL;
    TOKEN_ELEVATION_TYPE eType = TokenElevationTypeDefault;
    DWORD nSize = 0;
    if (::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &hToken)) {
        if (!::GetTokenInformation(hToken, TokenElevationType, &eType, sizeof(eType), &nSize))
            eType = TokenElevationTypeDefault;
        ::CloseHandle(hToken);
    }
    return eType != TokenElevationTypeDefault;
}

void StartInstalledProgram(const std::string& strProgram, const std::string& strDirectory)
{
    SShellRequest* pRequest = new SShellRequest(strProgram, strDirectory);
    HANDLE hThread = ::CreateThread(NULL, 0, AskShellThread, pRequest, 0, NULL);
    if (hThread == NULL) {
        LetGoOf(pRequest);  // the thread's share
    } else {
        ::WaitForSingleObject(hThread, SHELL_ANSWER_TIMEOUT_MS);
        ::CloseHandle(hThread);
    }
    LONG nState = ::InterlockedCompareExchange(&pRequest->nState, ASK_GIVEN_UP, ASK_PENDING);
    LetGoOf(pRequest);
    // Asked: whether the shell ever answers is its own affair.
    if (nState == ASK_ASKED)
        return;
    // No shell answered (none runs, it lets no other user in, or it hangs).
    // Set-up's own rights are the administrators' where the user's stand
    // beside them: then the program is not started at all.
    if (HasSplitToken())
        return;
    ::ShellExecuteA(NULL, "open", strProgram.c_str(), NULL, strDirectory.c_str(), SW_SHOWNORMAL);
}
