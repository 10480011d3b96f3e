// Payload extraction that fails: each failure's box, and what it leaves in the
// current directory.
#include <gmock/gmock.h>

#include "install/payload.h"
#include "payload_fixture.h"
#include "res/resource.h"
#include "tests/res/test_resource.h"
#include "tests/support/payload_sources.h"

using ::testing::ElementsAre;

namespace {

const UINT NO_SUCH_RESOURCE = 999;

// Gives the small drive back its room, whatever the test left there.
struct CSmallDriveCleanup
{
    ~CSmallDriveCleanup()
    {
        ::DeleteFileA("F:\\payload\\LV.MSZ");
        ::DeleteFileA("F:\\filler");
    }
};

}  // namespace

TEST_F(PayloadTest, EarlyFailuresShowOneBoxAndTouchNothing)
{
    struct Case
    {
        const char* pszName;
        UINT nResourceId;
        std::function<HANDLE()> fnArrange;  // a handle to hold during the installation, or NULL
        const char* pszText;
    };
    const Case rgCases[] = {
        { "no current directory", IDR_PAYLOAD_EXE,
          [] {
              seam::g_hooks.fnGetCurrentDirectoryA = [](DWORD, LPSTR) -> DWORD { return 0; };
              return HANDLE(NULL);
          },
          "Can't retrieve current directory" },
        { "current directory longer than the buffer", IDR_PAYLOAD_EXE,
          [] {
              seam::g_hooks.fnGetCurrentDirectoryA = [](DWORD, LPSTR) -> DWORD { return MAX_PATH + 1; };
              return HANDLE(NULL);
          },
          "Can't retrieve current directory" },
        { "no such resource", NO_SUCH_RESOURCE, [] { return HANDLE(NULL); }, "Setup file appears to be corrupted!" },
        { "empty resource", IDR_TEST_EMPTY_MSZ, [] { return HANDLE(NULL); }, "Setup file is corrupted!" },
        // Wine run by root writes read-only files all the same, so the
        // temporary file is also held open without sharing, as Windows
        // would refuse either.
        { "read-only temporary file", IDR_PAYLOAD_EXE,
          [] {
              WriteFileBytes("LV.MSZ", BytesOf("left by an earlier run"));
              ::SetFileAttributesA("LV.MSZ", FILE_ATTRIBUTE_READONLY);
              return ::CreateFileA("LV.MSZ", GENERIC_READ, 0, NULL, OPEN_EXISTING, 0, NULL);
          },
          "Can't overwrite temporary file \"LV.MSZ\"" },
    };
    for (const Case& c : rgCases) {
        UseFolder(m_strFolder);
        ResetSeam();
        ASSERT_TRUE(WriteFileBytes("Lumivane.exe", BytesOf("an earlier copy")));
        ASSERT_TRUE(WriteFileBytes("LV.XXX", BytesOf("left by an earlier run")));
        HANDLE hHeld = c.fnArrange();
        bool bHadCompressedCopy = FileExists("LV.MSZ");

        EXPECT_EQ(0, Install(c.nResourceId, "Lumivane.exe")) << c.pszName;
        if (hHeld != NULL && hHeld != INVALID_HANDLE_VALUE)
            ::CloseHandle(hHeld);
        EXPECT_THAT(ErrorBoxTexts(), ElementsAre(c.pszText)) << c.pszName;
        EXPECT_TRUE(ReadFileBytes("Lumivane.exe") == BytesOf("an earlier copy")) << c.pszName;
        EXPECT_TRUE(ReadFileBytes("LV.XXX") == BytesOf("left by an earlier run")) << c.pszName;
        EXPECT_EQ(bHadCompressedCopy, FileExists("LV.MSZ")) << c.pszName;
        if (bHadCompressedCopy) {
            EXPECT_TRUE(ReadFileBytes("LV.MSZ") == BytesOf("left by an earlier run")) << c.pszName;
        }
    }
}

TEST_F(PayloadTest, FailedExpansionWithoutResultShowsTwoBoxesAndLeavesNoCopy)
{
    for (bool bAvailable : { true, false }) {
        const char* pszCase = bAvailable ? "VerInstallFileA fails" : "VerInstallFileA missing";
        UseFolder(m_strFolder);
        ResetSeam();
        g_expansion.dwFailure = VIF_CANNOTREADSRC;
        ReplaceVerInstallFile(bAvailable ? EXPANSION_RECORDED : EXPANSION_MISSING);
        ASSERT_TRUE(WriteFileBytes("Lumivane.exe", BytesOf("an earlier copy")));
        ASSERT_TRUE(::SetFileAttributesA("Lumivane.exe", FILE_ATTRIBUTE_READONLY));

        EXPECT_EQ(0, Install(IDR_PAYLOAD_EXE, "Lumivane.exe")) << pszCase;
        EXPECT_THAT(ErrorBoxTexts(), ElementsAre("Can't expand installation file Lumivane.exe",
                                                 "Can't rename installation file Lumivane.exe"))
            << pszCase;
        EXPECT_FALSE(FileExists("Lumivane.exe")) << pszCase << ": the earlier copy is gone";
        EXPECT_FALSE(FileExists("LV.MSZ")) << pszCase;
        EXPECT_FALSE(FileExists("LV.XXX")) << pszCase;
    }
}

TEST_F(PayloadTest, FileThatCannotBeOpenedKeepsItsContentWithoutTheStamp)
{
    std::string strOpened;
    DWORD rgdwArguments[4] = {};
    seam::g_hooks.fnCreateFileA = [&](LPCSTR pszName, DWORD dwAccess, DWORD dwShare, LPSECURITY_ATTRIBUTES,
                                      DWORD dwDisposition, DWORD dwAttributes, HANDLE) {
        strOpened = pszName;
        DWORD rgdw[4] = { dwAccess, dwShare, dwDisposition, dwAttributes };
        std::copy(rgdw, rgdw + 4, rgdwArguments);
        ::SetLastError(ERROR_SHARING_VIOLATION);
        return INVALID_HANDLE_VALUE;
    };
    EXPECT_EQ(0, Install(IDR_PAYLOAD_README, "Lumivane.txt"));
    seam::g_hooks.fnCreateFileA = nullptr;
    EXPECT_THAT(ErrorBoxTexts(), ElementsAre("Can't timestamp install file Lumivane.txt"));
    EXPECT_EQ("Lumivane.txt", strOpened);
    EXPECT_THAT(rgdwArguments, ElementsAre(GENERIC_READ | GENERIC_WRITE, 0u, static_cast<DWORD>(OPEN_EXISTING),
                                           static_cast<DWORD>(FILE_ATTRIBUTE_NORMAL)));
    EXPECT_TRUE(ReadFileBytes("Lumivane.txt") == ReadFileBytes(BuiltFile(IDR_PAYLOAD_README)));
    FileTimes times;
    ASSERT_TRUE(ReadFileTimes("Lumivane.txt", &times));
    EXPECT_NE(FIXED_STAMP, LocalTimeText(times.ftLastWrite));
}

TEST_F(PayloadTest, DiskThatFillsUpLeavesThePartialCompressedCopy)
{
    struct Case
    {
        const char* pszName;
        UINT nResourceId;
        LPCSTR lpszFileName;
        ULONGLONG nRoomLeft;
    };
    const Case rgCases[] = {
        { "the program outgrows the room left", IDR_PAYLOAD_EXE, "Lumivane.exe", 4096 },
        // The stream holds a small file back until it closes, so only the close finds the disk full.
        { "the help file meets a full disk", IDR_PAYLOAD_HELP, "Lumivane.hlp", 0 },
    };
    CSmallDriveCleanup cleanup;
    for (const Case& c : rgCases) {
        UseFolder("F:\\payload");
        ResetSeam();
        ULARGE_INTEGER free;
        ASSERT_TRUE(::GetDiskFreeSpaceExA("F:\\", &free, NULL, NULL));
        ASSERT_GT(free.QuadPart, c.nRoomLeft);
        ASSERT_TRUE(WriteFileBytes("F:\\filler", Bytes(static_cast<size_t>(free.QuadPart - c.nRoomLeft), 'f')));
        size_t nStored = ResourceBytes(c.nResourceId).size();
        ASSERT_GT(nStored, c.nRoomLeft) << c.pszName;

        EXPECT_EQ(0, Install(c.nResourceId, c.lpszFileName)) << c.pszName;
        EXPECT_THAT(ErrorBoxTexts(), ElementsAre("Insufficient space, or disk error")) << c.pszName;
        bool bRead = false;
        size_t nWritten = ReadFileBytes("LV.MSZ", &bRead).size();
        EXPECT_TRUE(bRead) << c.pszName << ": the partial LV.MSZ stays";
        EXPECT_LT(nWritten, nStored) << c.pszName;
        EXPECT_FALSE(FileExists(c.lpszFileName)) << c.pszName;
        EXPECT_FALSE(FileExists("LV.XXX")) << c.pszName;
        ::DeleteFileA("F:\\filler");
    }
}
