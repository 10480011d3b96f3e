#include "installer_app.h"

#include <cstdlib>
#include <string>

#include "app/backdrop_dialog.h"
#include "app/licence_dialog.h"
#include "app/welcome_dialog.h"
#include "common/library_search.h"
#include "common/running_product.h"
#include "common/setup_mutex.h"
#include "dialogs/install_dialog.h"
#include "res/resource.h"

CInstallerApp::CInstallerApp() : m_pBackdrop(NULL) {}

static void LetGoOfMutex(HANDLE hMutex)
{
    ::ReleaseMutex(hMutex);
    ::CloseHandle(hMutex);
}

BOOL CInstallerApp::InitApplication()
{
    TakeSetupTurn();
    LoadVersionLibrary();

    m_pBackdrop = new CBackdropDialog;
    m_pBackdrop->Create(IDD_BACKDROP);

    CWelcomeDialog dlgWelcome;
    if (dlgWelcome.DoModal() != IDOK)
        EndWithoutInstalling();
    RunLicenceDialog();

    // Only a probe: a running product holds this mutex. It is let go at once,
    // so it does not guard the installation itself.
    HANDLE hMutex = ::CreateMutexA(NULL, TRUE, g_szProductMutex);
    if (::GetLastError() == ERROR_ALREADY_EXISTS)
        GuardAgainstRunningProduct(hMutex);
    LetGoOfMutex(hMutex);

    return CWinApp::InitApplication();
}

// The payload is expanded by the version library, so nothing can be installed
// without it. It is loaded here rather than imported: an import would stop
// the program before it could say why. Only the system's own will do.
void CInstallerApp::LoadVersionLibrary()
{
    g_hVersionLibrary = LoadSystemLibrary("version.dll");
    if (g_hVersionLibrary != NULL)
        return;
    std::string strText = "Cannot install Lumivane!\r\n\r\n";
    strText += "VERSION.DLL is not available on your system.\r\n";
    strText += "See your system administrator to enable version control.";
    DoMessageBox(strText.c_str(), MB_OK | MB_ICONHAND);
    exit(0);
}

// Two set-ups at once work on the same temporary files in the target, and
// one's rollback deletes what the other installed. The hold is not inherited:
// the product started at the end must not keep it.
void CInstallerApp::TakeSetupTurn()
{
    switch (TakeSetupMutex(FALSE)) {
    case SETUP_TURN_TAKEN:
        return;
    case SETUP_TURN_NO_RIGHTS:
        ::MessageBoxA(NULL, "Installing Lumivane needs administrator rights; please start the installation again "
                            "as an administrator.",
                      "Install Lumivane", MB_OK | MB_ICONEXCLAMATION);
        break;
    default:
        ::MessageBoxA(NULL, "Another installation or removal of Lumivane is in progress; please let it finish first.",
                      "Install Lumivane", MB_OK | MB_ICONINFORMATION);
        break;
    }
    exit(0);
}

// Its own scope: the licence dialog object lives only for its run.
void CInstallerApp::RunLicenceDialog()
{
    CLicenceDialog dlgLicence;
    if (dlgLicence.DoModal() != IDOK)
        EndWithoutInstalling();
}

// The welcome or the licence was refused: nothing has been done yet, so
// there is nothing to undo.
void CInstallerApp::EndWithoutInstalling()
{
    m_pBackdrop->DestroyWindow();
    exit(0);
}

void CInstallerApp::GuardAgainstRunningProduct(HANDLE hMutex)
{
    HWND hProduct = NULL;
    int nFound = FindProductWindow(0, &hProduct);
    if (nFound < 0)
        return;

    std::string strNotice = "A version of Lumivane is currently running\r\n";
    strNotice += "and must be closed before installation can continue.\r\n\r\n";
    strNotice += "This installation program will attempt to close it,\r\n";
    strNotice += "but it may be necessary to close Lumivane manually before continuing.";
    if (::MessageBoxA(NULL, strNotice.c_str(), "NOTICE", MB_OKCANCEL | MB_ICONEXCLAMATION) == IDCANCEL) {
        LetGoOfMutex(hMutex);
        exit(0);
    }

    ::PostMessageA(hProduct, WM_PRODUCT_CLOSE_REQUEST, 0, 0);

    HWND hOther = NULL;
    if (FindProductWindow(nFound + 1, &hOther) >= 0) {
        std::string strRunning = "An instance of Lumivane is currently running:\r\n";
        strRunning += "Please close Lumivane before attempting this installation.";
        ::MessageBoxA(NULL, strRunning.c_str(), "Install Lumivane", MB_OK | MB_ICONINFORMATION);
        LetGoOfMutex(hMutex);
        exit(0);
    }
    ::MessageBoxA(NULL, "Lumivane has been closed, installation can continue", "OK", MB_OK);
}

BOOL CInstallerApp::InitInstance()
{
    Enable3dControlsStatic();

    CInstallDialog dlg;
    m_pMainWnd = &dlg;
    dlg.DoModal();
    m_pMainWnd = NULL;
    return FALSE;
}
