// What the payload extraction tests share.
//   PayloadTest            the fixture: a fresh current folder on T: per test, the version
//                          library loaded as start-up loads it, the install dialog to run in
//   ResourceBytes          an MSZ resource of the test program, as stored
//   StatedLength           the expanded length an SZDD header states
//   ReadFileTimes / LocalTimeText  a file's three times, and one of them as local time text
//   g_expansion / ReplaceVerInstallFile  a VerInstallFileA of the tests' own, which records its
//                          call and then expands for real or fails
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "dialogs/install_dialog.h"
#include "tests/support/driven_dialog.h"
#include "tests/seam/seam.h"
#include "tests/support/file_support.h"

typedef CDriven<CInstallDialog> CDrivenInstall;

Bytes ResourceBytes(UINT nResourceId);
size_t StatedLength(const Bytes& szdd);

struct FileTimes
{
    FILETIME ftCreation, ftLastAccess, ftLastWrite;
};

bool ReadFileTimes(const std::string& strPath, FileTimes* pTimes);
// "YYYY-MM-DD hh:mm:ss.mmm" in local time.
std::string LocalTimeText(const FILETIME& ft);

const char FIXED_STAMP[] = "2001-12-10 01:10:00.000";

class PayloadTest : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    // The real platform, but for the component library: the dialog's set-up
    // initialises it, and it answers S_OK only to a thread's first call.
    // Extraction needs none of it.
    static void ResetSeam();
    // Makes strFolder empty and the current directory.
    void UseFolder(const std::string& strFolder);
    // Runs fnSteps inside the install dialog, as its Install handler would run.
    void RunInDialog(std::function<void(CDrivenInstall&)> fnSteps);
    int Install(UINT nResourceId, LPCSTR lpszFileName);
    // The texts of the boxes shown, each checked to be the dialog's "ERROR"
    // box with the information icon.
    std::vector<std::string> ErrorBoxTexts();

    std::string m_strFolder;
    HWND m_hDialog = NULL;

private:
    HMODULE m_hPreviousLibrary = NULL;
    std::unique_ptr<CCurrentDirectory> m_pCurrentDir;
};

// The call the installer made to VerInstallFileA, and what to answer it.
struct ExpansionRecord
{
    bool bCalled = false;
    DWORD dwFlags = 0;
    std::string strSource, strDest, strSourceDir, strDestDir, strCurrentDir;
    bool bTempBufferZeroed = false;
    UINT nTempLength = 0;
    Bytes compressedCopy;  // LV.MSZ as it stood at the call
    DWORD dwFailure = 0;   // returned without expanding, when nonzero
};

extern ExpansionRecord g_expansion;

enum ExpansionStandIn { EXPANSION_RECORDED, EXPANSION_MISSING };

// Has the installer find VerInstallFileA as the recording stand-in, or not at all.
void ReplaceVerInstallFile(ExpansionStandIn standIn);
