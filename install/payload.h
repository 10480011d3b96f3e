// Payload extraction: the product's files, carried as SZDD-compressed resources of type "MSZ".
//   g_hVersionLibrary   the version library, loaded once at start-up and kept; it expands the payload
// The extraction itself is CInstallDialog::InstallPayloadFile (dialogs/install_dialog.h),
// defined in payload.cpp.
#pragma once

#include <windows.h>

extern HMODULE g_hVersionLibrary;

