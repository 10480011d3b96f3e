#include "payload_fixture.h"

#include <algorithm>
#include <cstdio>

#include "app/installer_app.h"
#include "install/payload.h"

extern CInstallerApp theApp;

Bytes ResourceBytes(UINT nResourceId)
{
    HRSRC hResource = ::FindResourceA(NULL, MAKEINTRESOURCEA(nResourceId), "MSZ");
    if (hResource == NULL)
        return Bytes();
    const unsigned char* pBytes = static_cast<const unsigned char*>(::LockResource(::LoadResource(NULL, hResource)));
    return Bytes(pBytes, pBytes + ::SizeofResource(NULL, hResource));
}

size_t StatedLength(const Bytes& szdd)
{
    return szdd.size() < 14 ? 0 : szdd[10] | szdd[11] << 8 | szdd[12] << 16 | static_cast<size_t>(szdd[13]) << 24;
}

bool ReadFileTimes(const std::string& strPath, FileTimes* pTimes)
{
    HANDLE hFile = ::CreateFileA(strPath.c_str(), GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    if (hFile == INVALID_HANDLE_VALUE)
        return false;
    BOOL bRead = ::GetFileTime(hFile, &pTimes->ftCreation, &pTimes->ftLastAccess, &pTimes->ftLastWrite);
    ::CloseHandle(hFile);
    return bRead != FALSE;
}

std::string LocalTimeText(const FILETIME& ft)
{
    FILETIME ftLocal;
    SYSTEMTIME st;
    if (!::FileTimeToLocalFileTime(&ft, &ftLocal) || !::FileTimeToSystemTime(&ftLocal, &st))
        return "(no time)";
    char sz[32];
    std::snprintf(sz, sizeof(sz), "%04u-%02u-%02u %02u:%02u:%02u.%03u", st.wYear, st.wMonth, st.wDay, st.wHour,
                  st.wMinute, st.wSecond, st.wMilliseconds);
    return sz;
}

void PayloadTest::SetUp()
{
    ResetSeam();
    g_expansion = ExpansionRecord();
    m_hPreviousLibrary = g_hVersionLibrary;
    g_hVersionLibrary = ::LoadLibraryA("version.dll");
    ASSERT_TRUE(g_hVersionLibrary != NULL);
    UseFolder("T:\\payload\\" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
}

void PayloadTest::TearDown()
{
    m_pCurrentDir.reset();
    seam::Reset();
    g_hVersionLibrary = m_hPreviousLibrary;
}

void PayloadTest::ResetSeam()
{
    seam::Reset();
    seam::g_hooks.fnCoInitialize = [](LPVOID) { return S_OK; };
}

void PayloadTest::UseFolder(const std::string& strFolder)
{
    m_pCurrentDir.reset();
    ASSERT_TRUE(MakeFreshFolder(strFolder)) << strFolder;
    m_strFolder = strFolder;
    m_pCurrentDir.reset(new CCurrentDirectory(strFolder));
    ASSERT_TRUE(m_pCurrentDir->m_bSet) << strFolder;
}

void PayloadTest::RunInDialog(std::function<void(CDrivenInstall&)> fnSteps)
{
    CDrivenInstall dlg([&](CDrivenInstall& d) {
        m_hDialog = d.m_hWnd;
        fnSteps(d);
        d.EndDialog(0);
    });
    theApp.m_pMainWnd = &dlg;
    INT_PTR nResult = dlg.DoModal();
    theApp.m_pMainWnd = NULL;
    ASSERT_EQ(0, nResult) << "the dialog did not run its steps";
}

int PayloadTest::Install(UINT nResourceId, LPCSTR lpszFileName)
{
    int nResult = -1;
    RunInDialog([&](CDrivenInstall& d) { nResult = d.InstallPayloadFile(nResourceId, lpszFileName); });
    return nResult;
}

std::vector<std::string> PayloadTest::ErrorBoxTexts()
{
    std::vector<std::string> texts;
    for (const seam::BoxRecord& box : seam::g_boxes.m_records) {
        EXPECT_EQ("ERROR", box.strCaption) << box.strText;
        EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONINFORMATION), box.uType) << box.strText;
        EXPECT_EQ(m_hDialog, box.hOwner) << box.strText;
        texts.push_back(box.strText);
    }
    return texts;
}

ExpansionRecord g_expansion;

typedef DWORD(APIENTRY* VerInstallFileProc)(DWORD, LPCSTR, LPCSTR, LPCSTR, LPCSTR, LPCSTR, LPSTR, PUINT);

// Taken before any test replaces it; the seam is not in the way then.
static VerInstallFileProc RealVerInstallFile()
{
    static FARPROC s_pfnReal = ::GetProcAddress(::LoadLibraryA("version.dll"), "VerInstallFileA");
    return reinterpret_cast<VerInstallFileProc>(reinterpret_cast<void (*)()>(s_pfnReal));
}

static DWORD APIENTRY RecordingVerInstallFile(DWORD dwFlags, LPCSTR pszSource, LPCSTR pszDest, LPCSTR pszSourceDir,
                                              LPCSTR pszDestDir, LPCSTR pszCurrentDir, LPSTR pszTemp,
                                              PUINT pnTempLength)
{
    g_expansion.bCalled = true;
    g_expansion.dwFlags = dwFlags;
    g_expansion.strSource = pszSource;
    g_expansion.strDest = pszDest;
    g_expansion.strSourceDir = pszSourceDir;
    g_expansion.strDestDir = pszDestDir;
    g_expansion.strCurrentDir = pszCurrentDir;
    g_expansion.nTempLength = *pnTempLength;
    g_expansion.bTempBufferZeroed = std::all_of(pszTemp, pszTemp + *pnTempLength, [](char c) { return c == '\0'; });
    g_expansion.compressedCopy = ReadFileBytes(pszSource);
    if (g_expansion.dwFailure != 0)
        return g_expansion.dwFailure;
    return RealVerInstallFile()(dwFlags, pszSource, pszDest, pszSourceDir, pszDestDir, pszCurrentDir, pszTemp,
                                pnTempLength);
}

void ReplaceVerInstallFile(ExpansionStandIn standIn)
{
    RealVerInstallFile();
    seam::g_hooks.fnGetProcAddress = [standIn](HMODULE hModule, LPCSTR pszName) -> FARPROC {
        bool bAsked = hModule == g_hVersionLibrary && !IS_INTRESOURCE(pszName) &&
                      std::string(pszName) == "VerInstallFileA";
        if (!bAsked || standIn == EXPANSION_MISSING)
            return NULL;
        return reinterpret_cast<FARPROC>(reinterpret_cast<void (*)()>(RecordingVerInstallFile));
    };
}
