// The installer's application object and its start-up (the check of the
// program file comes before it, in app/setup_entry.cpp).
//   CInstallerApp      one set-up at a time, the version library, the
//                      backdrop, the welcome and the licence, the
//                      running-instance guard, the install dialog
// Start-up loads the version library into g_hVersionLibrary (install/payload.h).
#pragma once

#include "framework/framework.h"
#include "install/payload.h"

class CBackdropDialog;

class CInstallerApp : public CWinApp
{
public:
    CInstallerApp();

    BOOL InitInstance() override;
    BOOL InitApplication() override;

    CBackdropDialog* m_pBackdrop;

private:
    void LoadVersionLibrary();
    void TakeSetupTurn();
    void RunLicenceDialog();
    void EndWithoutInstalling();
    void GuardAgainstRunningProduct(HANDLE hMutex);
};
