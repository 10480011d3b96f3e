// The application object.
//   CWinApp                the one application: start-up hooks, main window,
//                          application message box
//   AfxGetApp              that object
//   AfxGetResourceHandle   the module whose resources the dialogs use
//   AfxWinMain             the program's start: InitApplication, InitInstance,
//                          then a message loop only when InitInstance asks for one
#pragma once

#include <windows.h>

#include <string>

class CWnd;

class CWinApp
{
public:
    CWinApp();
    virtual ~CWinApp();

    virtual BOOL InitApplication();
    virtual BOOL InitInstance();
    virtual int Run();
    virtual int ExitInstance();

    // A message box without owner, captioned with the application name.
    int DoMessageBox(LPCSTR lpszPrompt, UINT nType);
    // Three-dimensional controls are what dialogs draw on every 32-bit
    // Windows; kept so start-up reads as it always has.
    BOOL Enable3dControlsStatic();

    CWnd* m_pMainWnd;
    // The base name of the running program: there is no title string resource.
    std::string m_strAppName;

private:
    CWinApp* m_pPrevApp;  // an application made while another lives stands in for it until it ends

    CWinApp(const CWinApp&);
    CWinApp& operator=(const CWinApp&);
};

CWinApp* AfxGetApp();
HINSTANCE AfxGetResourceHandle();
void AfxSetResourceHandle(HINSTANCE hResource);
int AfxWinMain();
