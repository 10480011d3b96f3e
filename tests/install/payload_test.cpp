// InstallPayloadFile's failures: each is reported, none counts as success,
// and nothing old or half-made is installed in the payload's place; its
// creation time. (A brief hold by another program: e2e held_files.)
#include <gmock/gmock.h>


#include "tests/dialogs/install_run.h"

namespace {

const char EARLIER_COPY[] = "an earlier copy";
HANDLE s_hHeld = INVALID_HANDLE_VALUE;  // a file another program keeps open, until the case is checked

void EmptyFolder(const std::string& strFolder)
{
    for (const std::string& strName : NamesIn(strFolder))
        RemoveTree(strFolder + "\\" + strName);
}

struct Case
{
    const char* pszName;
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
        { "expansion fails", [] { ReplaceExport("VerInstallFileA", NULL); }, expansionBoxes, {} },
        { "expansion fails beside an LV.XXX of an earlier run",
          [] {
              ReplaceExport("VerInstallFileA", NULL);
              WriteText("LV.XXX", "left by an earlier run");
          },
          expansionBoxes, {} },
        { "an LV.XXX of an earlier run held for good",
          [] {
              WriteText("LV.XXX", "left by an earlier run");
              s_hHeld = ::CreateFileA("LV.XXX", GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
          },
          { "Can't expand installation file Lumivane.exe" }, { "LV.XXX", "Lumivane.exe" } },
    };
    for (const Case& c : rgCases) {
        std::string strFolder = RUN_ROOT;
        seam::Reset();
        EmptyFolder(strFolder);
        ::SetCurrentDirectoryA((strFolder + "\\").c_str());
        WriteText("Lumivane.exe", EARLIER_COPY);
        c.fnArrange();
        int nResult = -1;
        Run([&](CDrivenInstall& d) {
            ::SetCurrentDirectoryA((strFolder + "\\").c_str());
            seam::g_boxes.m_records.clear();
            nResult = d.InstallPayloadFile(135, "Lumivane.exe");
        });
        ::SetCurrentDirectoryA("T:\\");
        EXPECT_EQ(c.nResult, nResult) << c.pszName;
        EXPECT_EQ(c.boxes, seam::g_boxes.Texts()) << c.pszName;
        EXPECT_EQ(c.left, NamesIn(strFolder)) << c.pszName;
        ::CloseHandle(std::exchange(s_hHeld, INVALID_HANDLE_VALUE));
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
