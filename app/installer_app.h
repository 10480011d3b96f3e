// The installer's application object and its start-up.
//   CInstallerApp      start-up checks, the backdrop, the welcome and the licence,
//                      the running-instance guard, the install dialog
//   g_hVersionLibrary  the version library, loaded once at start-up and kept
#pragma once

#include "framework/framework.h"

class CBackdropDialog;

extern HMODULE g_hVersionLibrary;

class CInstallerApp : public CWinApp
{
public:
    CInstallerApp();

    BOOL InitInstance() override;
    BOOL InitApplication() override;

    CBackdropDialog* m_pBackdrop;

private:
    void LoadVersionLibrary();
    void RunLicenceDialog();
    void EndWithoutInstalling();
    void GuardAgainstRunningProduct(HANDLE hMutex);
};
