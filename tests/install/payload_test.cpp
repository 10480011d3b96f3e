// InstallPayloadFile's failures: each is reported, none counts as success,
// and nothing old or half-made is installed in the payload's place; a brief
// hold by another program is no failure; its creation time.
#include <gmock/gmock.h>

#include <thread>

#include "tests/dialogs/install_run.h"

namespace {

const char EARLIER_COPY[] = "an earlier copy";

void EmptyFolder(const std::string& strFolder)
{
    for (const std::string& strName : NamesIn(strFolder))
        RemoveTree(strFolder + "\\" + strName);
}

// Fills the 64 KB drive F: up to nRoomLeft bytes.
void LeaveRoomOnF(ULONGLONG nRoomLeft)
{
    ULARGE_INTEGER free;
    ASSERT_TRUE(::GetDiskFreeSpaceExA("F:\\", &free, NULL, NULL));
    ASSERT_GT(free.QuadPart, nRoomLeft);
    ASSERT_TRUE(WriteText("F:\\filler", std::string(static_cast<size_t>(free.QuadPart - nRoomLeft), 'f')));
}

struct Case
{
    const char* pszName;
    const char* pszFolder;
    UINT nResourceId;
    std::function<void()> fnArrange;
    std::vector<std::string> boxes;
    std::vector<std::string> left;  // in the folder afterwards
    int nResult = 0;
};

typedef InstallRunTest PayloadTest;

}  // namespace

TEST_F(PayloadTest, FailuresAreReportedAndInstallNothingInThePayloadsPlace)
{
    const std::vector<std::string> expansionBoxes = { "Can't expand installation file Lumivane.exe",
                                                      "Can't rename installation file Lumivane.exe" };
    const Case rgCases[] = {
        // Held for good, it fails as before (e2e failure_and_rollback).
        { "LV.MSZ held for a moment", RUN_ROOT, 135,
          [] {
              WriteText("LV.MSZ", "left by an earlier run");
              HANDLE hMoment = ::CreateFileA("LV.MSZ", GENERIC_READ, 0, NULL, OPEN_EXISTING, 0, NULL);
              std::thread([hMoment] { ::Sleep(300), ::CloseHandle(hMoment); }).detach();
          },
          {}, { "Lumivane.exe" }, 1 },
        { "expansion fails", RUN_ROOT, 135, [] { ReplaceExport("VerInstallFileA", NULL); }, expansionBoxes, {} },
        { "expansion fails beside an LV.XXX of an earlier run", RUN_ROOT, 135,
          [] {
              ReplaceExport("VerInstallFileA", NULL);
              WriteText("LV.XXX", "left by an earlier run");
          },
          expansionBoxes, {} },
        // The stream holds a small file back until it closes: only the close finds the disk full.
        { "the help file meets a full disk", "F:", 136, [] { LeaveRoomOnF(0); },
          { "Insufficient space, or disk error" }, { "LV.MSZ", "Lumivane.exe", "filler" } },
    };
    for (const Case& c : rgCases) {
        std::string strFolder = c.pszFolder;
        seam::Reset();
        EmptyFolder(strFolder);
        ::SetCurrentDirectoryA((strFolder + "\\").c_str());
        WriteText("Lumivane.exe", EARLIER_COPY);
        c.fnArrange();
        int nResult = -1;
        Run([&](CDrivenInstall& d) {
            ::SetCurrentDirectoryA((strFolder + "\\").c_str());
            seam::g_boxes.m_records.clear();
            nResult = d.InstallPayloadFile(c.nResourceId, c.nResourceId == 135 ? "Lumivane.exe" : "Lumivane.hlp");
        });
        ::SetCurrentDirectoryA("T:\\");
        EXPECT_EQ(c.nResult, nResult) << c.pszName;
        EXPECT_EQ(c.boxes, seam::g_boxes.Texts()) << c.pszName;
        EXPECT_EQ(c.left, NamesIn(strFolder)) << c.pszName;
        if (c.nResult == 0 && PathExists(strFolder + "\\Lumivane.exe")) {
            EXPECT_EQ(EARLIER_COPY, ReadText(strFolder + "\\Lumivane.exe")) << c.pszName;
        }
        EmptyFolder(strFolder);
    }
}

// Wine shows the last-write time as the creation time: only what is asked for
// shows a file keeping today's (the other two times: the end-to-end tests).
TEST_F(PayloadTest, CreationTimeIsTheStampToo)
{
    std::vector<bool> sameTimes;
    seam::g_hooks.fnSetFileTime = [&](HANDLE hFile, const FILETIME* pCreated, const FILETIME* pRead,
                                      const FILETIME* pWritten) {
        sameTimes.push_back(pCreated != NULL && pWritten != NULL && ::CompareFileTime(pCreated, pWritten) == 0);
        return seam::RealSetFileTime(hFile, pCreated, pRead, pWritten);
    };
    Run([](CDrivenInstall& d) {
        ::SetCurrentDirectoryA("T:\\run\\");
        d.InstallPayloadFile(138, "Lumivane.txt");
    });
    ::SetCurrentDirectoryA("T:\\");
    EXPECT_EQ(std::vector<bool>{ true }, sameTimes);
}
