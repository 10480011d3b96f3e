// Payload extraction: the product's files, carried as SZDD-compressed resources of type "MSZ".
//   g_hVersionLibrary   the version library, loaded once at start-up and kept; it expands the payload
//   PayloadFile         one row of the payload table: resource id and installed name
//   g_rgPayloadFiles    the payload table, in install order
// The extraction itself is CInstallDialog::InstallPayloadFile (dialogs/install_dialog.h),
// defined in payload.cpp.
#pragma once

#include <windows.h>

extern HMODULE g_hVersionLibrary;

struct PayloadFile
{
    UINT nResourceId;
    LPCSTR lpszFileName;
};

const int PAYLOAD_FILE_COUNT = 4;
extern const PayloadFile g_rgPayloadFiles[PAYLOAD_FILE_COUNT];
