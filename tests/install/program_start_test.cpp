// Lumivane started once set-up is done: by the shell's own process, so not
// with set-up's rights (end to end: each installation's look at Lumivane
// checks who started it); by set-up itself only where no shell answers.
#include <gmock/gmock.h>

#include "install/program_start.h"
#include "tests/dialogs/install_run.h"

static const std::tuple<int, const char*, const char*> s_rgPayload[] = {
#include "payload_sources.inc"
};
static const CLSID CLSID_SHELL_WINDOWS = { 0x9BA05972, 0xF6A8, 0x11CF, { 0xA4, 0x42, 0x00, 0xA0, 0xC9, 0x0A, 0x8F, 0x39 } };

typedef InstallRunTest ProgramStartTest;

TEST_F(ProgramStartTest, TheShellIsAskedFirstAndSetUpStartsTheProgramOnlyWhereNoneAnswers)
{
    const std::string strProgram = std::string(RUN_ROOT) + "\\Lumivane.exe";
    ASSERT_TRUE(::CopyFileA(std::get<2>(s_rgPayload[0]), strProgram.c_str(), FALSE));
    std::vector<bool> askedForShell;
    seam::g_hooks.fnCoCreateInstance = [&](REFCLSID clsid, LPUNKNOWN, DWORD, REFIID, LPVOID* ppv) {
        askedForShell.push_back(::IsEqualCLSID(clsid, CLSID_SHELL_WINDOWS) != FALSE);
        *ppv = NULL;
        return REGDB_E_CLASSNOTREG;
    };
    StartInstalledProgram(strProgram, RUN_ROOT);
    HWND hProgram = NULL;
    for (int i = 0; i < 200 && (hProgram = ::FindWindowA(NULL, "Lumivane")) == NULL; ++i)
        ::Sleep(50);
    EXPECT_EQ(std::vector<bool>{ true }, askedForShell);
    ASSERT_NE(static_cast<HWND>(NULL), hProgram) << "set-up did not start the program itself";
    DWORD nProgram = 0;
    ::GetWindowThreadProcessId(hProgram, &nProgram);
    HANDLE hProcess = ::OpenProcess(SYNCHRONIZE, FALSE, nProgram);
    ::PostMessageA(hProgram, WM_USER + 0x101, 0, 0);  // the product's close request
    ::WaitForSingleObject(hProcess, 10000);
    ::CloseHandle(hProcess);
}
