// The exits before the install dialog: each ends the process with code 0,
// its boxes and nothing else.
#include <gmock/gmock.h>
#include <shlwapi.h>

#include <cstring>

#include "app/installer_app.h"
#include "common/library_search.h"
#include "common/setup_mutex.h"
#include "dialogs/install_dialog.h"
#include "res/resource.h"
#include "tests/support/support.h"

extern CInstallerApp theApp;

namespace {

const char NOTICE_TEXT[] =
    "A version of Lumivane is currently running\r\nand must be closed before installation can continue.\r\n\r\n"
    "This installation program will attempt to close it,\r\n"
    "but it may be necessary to close Lumivane manually before continuing.";
const char STILL_RUNNING_TEXT[] =
    "An instance of Lumivane is currently running:\r\nPlease close Lumivane before attempting this installation.";
const char OTHER_SETUP_TEXT[] =
    "Another installation or removal of Lumivane is in progress; please let it finish first.";
const char NO_VERSION_LIBRARY_TEXT[] =
    "Cannot install Lumivane!\r\n\r\nVERSION.DLL is not available on your system.\r\n"
    "See your system administrator to enable version control.";

const char NO_RIGHTS_TEXT[] =
    "Installing Lumivane needs administrator rights; please start the installation again as an administrator.";

// The private namespace's calls as Windows has them (Wine has none), the
// namespace refused with this error.
DWORD s_dwNamespaceError = 0;
HANDLE WINAPI CreateBoundary(LPCWSTR, ULONG) { return reinterpret_cast<HANDLE>(1); }
BOOL WINAPI AddSidToBoundary(HANDLE*, PSID) { return TRUE; }
VOID WINAPI DeleteBoundary(HANDLE) {}
HANDLE WINAPI RefuseNamespace(LPVOID, LPVOID, LPCWSTR)
{
    ::SetLastError(s_dwNamespaceError);
    return NULL;
}

template <typename T> FARPROC Export(T pfn)
{
    return reinterpret_cast<FARPROC>(reinterpret_cast<void*>(pfn));
}

void RefuseNamespaceWith(DWORD dwError)
{
    s_dwNamespaceError = dwError;
    seam::g_hooks.fnGetProcAddress = [](HMODULE hModule, LPCSTR pszName) {
        const std::pair<const char*, FARPROC> rgCalls[] = {
            { "CreateBoundaryDescriptorW", Export(&CreateBoundary) },
            { "AddSIDToBoundaryDescriptor", Export(&AddSidToBoundary) },
            { "DeleteBoundaryDescriptor", Export(&DeleteBoundary) },
            { "CreatePrivateNamespaceW", Export(&RefuseNamespace) },
            { "OpenPrivateNamespaceW", Export(&RefuseNamespace) },
        };
        for (const auto& [pszCall, pfn] : rgCalls) {
            if (HIWORD(reinterpret_cast<ULONG_PTR>(pszName)) != 0 && std::strcmp(pszName, pszCall) == 0)
                return pfn;
        }
        return seam::RealGetProcAddress(hModule, pszName);
    };
}

class StartupTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        seam::Reset();
        // The welcome and the licence are accepted without being shown.
        seam::g_hooks.fnDialogBoxParamA = [](HINSTANCE, LPCSTR, HWND, DLGPROC, LPARAM) { return INT_PTR(IDOK); };
        // What a running product holds.
        m_hProductMutex = ::CreateMutexA(NULL, TRUE, "Orvel_LV_Mutex");
    }
    void TearDown() override
    {
        seam::Reset();
        ::CloseHandle(m_hProductMutex);
    }

    HANDLE m_hProductMutex = NULL;
};

}  // namespace

TEST_F(StartupTest, EachRefusalBeforeTheInstallDialogEndsTheProcessWithItsBoxes)
{
    CTopLevelWindow product("Lumivane");
    // Another set-up, or an object of another kind on its name (Wine has no private namespaces).
    for (HANDLE (*pfnHold)() : { +[] { return CreateSetupMutex(FALSE); },
                                 +[] { return ::CreateEventA(NULL, FALSE, FALSE, g_szSetupMutex); } }) {
        HANDLE hHolder = pfnHold();
        EXPECT_EXIT(theApp.InitApplication(), ::testing::ExitedWithCode(0),
                    ShowsBoxes({ Box(OTHER_SETUP_TEXT, "Install Lumivane", 0x40) }));
        ::CloseHandle(hHolder);
    }
    // A namespace refused, for want of rights or otherwise, lets no set-up through.
    for (const auto& [dwError, box] : { std::make_pair(DWORD(ERROR_ACCESS_DENIED), Box(NO_RIGHTS_TEXT, "Install Lumivane", 0x30)),
                                        std::make_pair(DWORD(ERROR_INVALID_PARAMETER), Box(OTHER_SETUP_TEXT, "Install Lumivane", 0x40)) })
        EXPECT_EXIT((RefuseNamespaceWith(dwError), theApp.InitApplication()), ::testing::ExitedWithCode(0), ShowsBoxes({ box }));
    EXPECT_EXIT(
        {
            seam::g_hooks.fnLoadLibraryA = [](LPCSTR pszName) {
                return StrStrIA(pszName, "\\version.dll") != NULL ? NULL : seam::RealLoadLibraryA(pszName);
            };
            theApp.InitApplication();
        },
        ::testing::ExitedWithCode(0), ShowsBoxes({ Box(NO_VERSION_LIBRARY_TEXT, "installer_tests", 0x10) }));
    EXPECT_EXIT(
        {
            seam::g_boxes.m_answers.push_back(IDCANCEL);
            theApp.InitApplication();
        },
        ::testing::ExitedWithCode(0), ShowsBoxes({ Box(NOTICE_TEXT, "NOTICE", 0x31) }));
    // The title right after the one found: the re-check must begin there.
    CTopLevelWindow secondCopy("Lumivane BETA 1");
    EXPECT_EXIT(theApp.InitApplication(), ::testing::ExitedWithCode(0),
                ShowsBoxes({ Box(NOTICE_TEXT, "NOTICE", 0x31), Box(STILL_RUNNING_TEXT, "Install Lumivane", 0x40) }));
    EXPECT_EXIT(
        {
            seam::g_hooks.fnDialogBoxParamA = nullptr;
            seam::g_hooks.fnCoInitialize = [](LPVOID) { return E_OUTOFMEMORY; };
            CInstallDialog dlg;
            dlg.DoModal();
        },
        ::testing::ExitedWithCode(0),
        ShowsBoxes({ Box("Can't initialize Component Object Module - aborting installation", "ERROR", 0x30) }));
}

// The program's own folder is left out of the search: what lies beside a
// downloaded installer is anybody's. A library there loads by its path only.
TEST(LibrarySearchTest, ALibraryBesideTheProgramIsNotFoundByName)
{
    char szProgram[MAX_PATH];
    ::GetModuleFileNameA(NULL, szProgram, MAX_PATH);
    std::string strBeside = std::string(szProgram, std::strrchr(szProgram, '\\') + 1) + "lv_beside.dll";
    ASSERT_TRUE(::CopyFileA(LV_BESIDE_LIBRARY, strBeside.c_str(), FALSE));
    RestrictLibrarySearch();
    HMODULE hByName = ::LoadLibraryA("lv_beside.dll");
    HMODULE hByPath = ::LoadLibraryA(strBeside.c_str());
    EXPECT_TRUE(hByName == NULL && hByPath != NULL) << hByName << " " << hByPath;
    for (HMODULE hLoaded : { hByName, hByPath })
        ::FreeLibrary(hLoaded);
    ::DeleteFileA(strBeside.c_str());
    ::DeleteFileA((strBeside + ".loaded").c_str());
}
