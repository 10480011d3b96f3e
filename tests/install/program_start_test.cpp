// Lumivane started once set-up is done: by the shell's own process where a
// shell answers, so not with set-up's rights; by set-up itself only where
// none does.
#include <gmock/gmock.h>
#include <tlhelp32.h>

#include "install/program_start.h"
#include "tests/dialogs/install_run.h"

static const std::tuple<int, const char*, const char*> s_rgPayload[] = {
#include "payload_sources.inc"
};

typedef InstallRunTest ProgramStartTest;

TEST_F(ProgramStartTest, TheShellStartsTheProgramWhereOneAnswersAndSetUpOnlyWhereNone)
{
    const std::string strProgram = std::string(RUN_ROOT) + "\\Lumivane.exe";
    ASSERT_TRUE(::CopyFileA(std::get<2>(s_rgPayload[0]), strProgram.c_str(), FALSE));
    for (bool bShellAnswers : { true, false }) {
        if (!bShellAnswers)
            seam::g_hooks.fnCoCreateInstance = [](REFCLSID, LPUNKNOWN, DWORD, REFIID, LPVOID* ppv) {
                *ppv = NULL;
                return REGDB_E_CLASSNOTREG;
            };
        ::CoInitialize(NULL);
        StartInstalledProgram(strProgram, RUN_ROOT);
        ::CoUninitialize();
        HWND hProgram = NULL;
        for (int i = 0; i < 200 && (hProgram = ::FindWindowA(NULL, "Lumivane")) == NULL; ++i)
            ::Sleep(50);
        DWORD nProgram = 0;
        ::GetWindowThreadProcessId(hProgram, &nProgram);
        HANDLE hSnapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
        PROCESSENTRY32 entry;
        entry.dwSize = sizeof(entry);
        BOOL bFound = ::Process32First(hSnapshot, &entry);
        while (bFound && entry.th32ProcessID != nProgram)
            bFound = ::Process32Next(hSnapshot, &entry);
        ::CloseHandle(hSnapshot);
        EXPECT_TRUE(hProgram && bFound && (entry.th32ParentProcessID == ::GetCurrentProcessId()) != bShellAnswers);
        HANDLE hProcess = ::OpenProcess(SYNCHRONIZE, FALSE, nProgram);
        ::PostMessageA(hProgram, WM_USER + 0x101, 0, 0);  // the product's close request
        ::WaitForSingleObject(hProcess, 10000);
        ::CloseHandle(hProcess);
    }
}
