#include "install_run.h"

#include <memory>

#include "install/payload.h"
#include "res/resource.h"

static void CleanMachine()
{
    ::SetCurrentDirectoryA("T:\\");
    RemoveTree(RUN_ROOT);
    ::CreateDirectoryA(RUN_ROOT, NULL);
    RemoveTree(ProductGroup());
    ::DeleteFileA(DesktopLink().c_str());
    RemoveProductEntries();
    g_bDirCreated = g_bExeInstalled = g_bHelpInstalled = g_bUninstallerInstalled = FALSE;
    g_bReadmeInstalled = g_bShortcutsCreated = g_bRegistryWritten = FALSE;
}

void InstallRunTest::SetUp()
{
    seam::Reset();
    // What start-up does before the dialog: the payload is expanded through it.
    g_hVersionLibrary = ::LoadLibraryA("version.dll");
    CleanMachine();
}

void InstallRunTest::TearDown()
{
    seam::Reset();
    CleanMachine();
}

INT_PTR InstallRunTest::Run(const std::function<void(CDrivenInstall&)>& fnSteps)
{
    CDrivenInstall dlg([&](CDrivenInstall& d) {
        fnSteps(d);
        if (::IsWindow(d.m_hWnd) && ::IsWindowVisible(d.m_hWnd))
            d.EndDialog(-1);
    });
    INT_PTR nResult = dlg.DoModal();
    // The installer opens the component library once per process and never
    // closes it; the next dialog of the test program needs it closed.
    ::CoUninitialize();
    return nResult;
}

std::vector<bool> InstallRunTest::Flags()
{
    return { g_bDirCreated != 0,     g_bExeInstalled != 0,    g_bHelpInstalled != 0,  g_bUninstallerInstalled != 0,
             g_bReadmeInstalled != 0, g_bShortcutsCreated != 0, g_bRegistryWritten != 0 };
}

static void ListTree(const std::string& strFolder, const std::string& strPrefix, std::vector<std::string>& list)
{
    DWORD dwAttributes = ::GetFileAttributesA(strFolder.c_str());
    if (dwAttributes == INVALID_FILE_ATTRIBUTES || !(dwAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return;
    for (const std::string& strName : NamesIn(strFolder)) {
        list.push_back(strPrefix + strName);
        ListTree(strFolder + "\\" + strName, strPrefix + strName + "\\", list);
    }
}

std::vector<std::string> InstallRunTest::Leftovers()
{
    std::vector<std::string> left;
    ListTree(RUN_ROOT, "", left);
    if (PathExists(DesktopLink()))
        left.push_back("desktop link");
    if (PathExists(ProductGroup())) {
        left.push_back("group");
        ListTree(ProductGroup(), "group\\", left);
    }
    for (const char* pszKey : { PRODUCT_KEY, APP_PATH_KEY, UNINSTALL_KEY }) {
        if (KeyExists(pszKey))
            left.push_back(pszKey);
    }
    return left;
}

void TypeTarget(CDrivenInstall& dlg, const std::string& strTarget)
{
    ::SetDlgItemTextA(dlg.m_hWnd, IDC_TARGET_DIR, strTarget.c_str());
}

void FailResource(UINT nId)
{
    seam::g_hooks.fnFindResourceA = [nId](HMODULE hModule, LPCSTR pszName, LPCSTR pszType) {
        return pszName == MAKEINTRESOURCEA(nId) ? NULL : seam::RealFindResourceA(hModule, pszName, pszType);
    };
}

void FailLink(int nFailing)
{
    auto pnMade = std::make_shared<int>(0);
    seam::g_hooks.fnCoCreateInstance = [pnMade, nFailing](REFCLSID c, LPUNKNOWN u, DWORD x, REFIID i, LPVOID* ppv) {
        if (++*pnMade == nFailing) {
            *ppv = NULL;
            return REGDB_E_CLASSNOTREG;
        }
        return seam::RealCoCreateInstance(c, u, x, i, ppv);
    };
}

void ReplaceExport(const char* pszName, FARPROC pfn)
{
    std::string strName = pszName;
    seam::g_hooks.fnGetProcAddress = [strName, pfn](HMODULE hModule, LPCSTR pszProc) {
        if (HIWORD(reinterpret_cast<ULONG_PTR>(pszProc)) != 0 && strName == pszProc)
            return pfn;
        return seam::RealGetProcAddress(hModule, pszProc);
    };
}
