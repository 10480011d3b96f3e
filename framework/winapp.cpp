#include "winapp.h"

#include "common/paths.h"

static CWinApp* s_pApp = NULL;
static HINSTANCE s_hResource = NULL;

static std::string GetProgramBaseName()
{
    char szPath[MAX_PATH];
    DWORD nLength = ::GetModuleFileNameA(NULL, szPath, MAX_PATH);
    if (nLength == 0 || nLength >= MAX_PATH)
        return std::string();
    std::string strName = FileNamePart(std::string(szPath, nLength));
    size_t nDot = strName.rfind('.');  // no code page's second byte is a dot
    if (nDot != std::string::npos)
        strName.erase(nDot);
    return strName;
}

CWinApp::CWinApp() : m_pMainWnd(NULL), m_strAppName(GetProgramBaseName()), m_pPrevApp(s_pApp)
{
    s_pApp = this;
}

CWinApp::~CWinApp()
{
    if (s_pApp == this)
        s_pApp = m_pPrevApp;
}

BOOL CWinApp::InitApplication() { return TRUE; }
BOOL CWinApp::InitInstance() { return TRUE; }
int CWinApp::ExitInstance() { return 0; }
BOOL CWinApp::Enable3dControlsStatic() { return TRUE; }

int CWinApp::Run()
{
    MSG msg;
    while (::GetMessageA(&msg, NULL, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    return ExitInstance();
}

int CWinApp::DoMessageBox(LPCSTR lpszPrompt, UINT nType)
{
    return ::MessageBoxA(NULL, lpszPrompt, m_strAppName.c_str(), nType);
}

CWinApp* AfxGetApp() { return s_pApp; }

HINSTANCE AfxGetResourceHandle()
{
    return s_hResource != NULL ? s_hResource : ::GetModuleHandleA(NULL);
}

void AfxSetResourceHandle(HINSTANCE hResource) { s_hResource = hResource; }

int AfxWinMain()
{
    CWinApp* pApp = AfxGetApp();
    if (pApp == NULL || !pApp->InitApplication())
        return -1;
    if (!pApp->InitInstance())
        return pApp->ExitInstance();
    return pApp->Run();
}
