// Start-up: the version library check, the backdrop, the welcome and the
// licence, and the guard against a running product.
#include <gtest/gtest.h>

#include <utility>

#include "app/backdrop_dialog.h"
#include "app/installer_app.h"
#include "res/resource.h"
#include "tests/support/test_support.h"

using ::testing::ElementsAre;
using ::testing::IsEmpty;

extern CInstallerApp theApp;

namespace {

const char NOTICE_TEXT[] =
    "A version of Lumivane is currently running\r\nand must be closed before installation can continue.\r\n\r\n"
    "This installation program will attempt to close it,\r\n"
    "but it may be necessary to close Lumivane manually before continuing.";
const char STILL_RUNNING_TEXT[] =
    "An instance of Lumivane is currently running:\r\nPlease close Lumivane before attempting this installation.";
const char CLOSED_TEXT[] = "Lumivane has been closed, installation can continue";

HWND BackdropWindow()
{
    return theApp.m_pBackdrop != NULL ? theApp.m_pBackdrop->m_hWnd : NULL;
}

class StartupTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        seam::Reset();
        // The welcome and the licence are answered by script; each run is
        // recorded, and written out for tests whose process ends.
        seam::g_hooks.fnDialogBoxParamA = [this](HINSTANCE, LPCSTR pszTemplate, HWND hOwner, DLGPROC, LPARAM) {
            UINT nTemplate = static_cast<UINT>(reinterpret_cast<UINT_PTR>(pszTemplate));
            m_dialogs.push_back(std::make_pair(nTemplate, hOwner));
            m_events.push_back("dialog " + std::to_string(nTemplate));
            std::fprintf(stderr, "[dialog] %u\n", nTemplate);
            std::fflush(stderr);
            if (nTemplate == IDD_WELCOME)
                return m_nWelcomeAnswer;
            if (nTemplate == IDD_LICENCE)
                return m_nLicenceAnswer;
            ADD_FAILURE() << "start-up ran dialog " << nTemplate;
            return static_cast<INT_PTR>(-1);
        };
        seam::g_hooks.fnDestroyWindow = [](HWND hWnd) {
            if (hWnd == BackdropWindow()) {
                std::fprintf(stderr, "[destroy] backdrop\n");
                std::fflush(stderr);
            }
            return seam::RealDestroyWindow(hWnd);
        };
        // The close requests are recorded, and written out for tests whose process ends.
        seam::g_hooks.fnPostMessageA = [this](HWND hWnd, UINT nMsg, WPARAM, LPARAM) {
            m_posts.push_back(std::make_pair(WindowText(hWnd), nMsg));
            std::fprintf(stderr, "[post] to=\"%s\" msg=0x%X\n", WindowText(hWnd).c_str(), nMsg);
            return TRUE;
        };
    }
    void TearDown() override
    {
        seam::Reset();
        if (m_hProductMutex != NULL)
            ::CloseHandle(m_hProductMutex);
        // Each run of start-up makes a backdrop of its own.
        delete theApp.m_pBackdrop;
        theApp.m_pBackdrop = NULL;
    }

    // What a running product holds.
    void HoldProductMutex() { m_hProductMutex = ::CreateMutexA(NULL, TRUE, "Orvel_LV_Mutex"); }

    HANDLE m_hProductMutex = NULL;
    std::vector<std::pair<std::string, UINT>> m_posts;
    INT_PTR m_nWelcomeAnswer = IDOK;
    INT_PTR m_nLicenceAnswer = IDOK;
    std::vector<std::pair<UINT, HWND>> m_dialogs;  // template, owner
    std::vector<std::string> m_events;
};

}  // namespace

TEST_F(StartupTest, WithoutTheProductMutexNoWindowIsSearched)
{
    CTopLevelWindow product("Lumivane");
    int nSearches = 0;
    seam::g_hooks.fnFindWindowA = [&](LPCSTR, LPCSTR) {
        ++nSearches;
        return static_cast<HWND>(NULL);
    };
    EXPECT_TRUE(theApp.InitApplication());
    EXPECT_EQ(0, nSearches);
    EXPECT_THAT(seam::g_boxes.m_records, IsEmpty());
    EXPECT_FALSE(ProductMutexExists()) << "the probe lets go of the mutex it made";
}

TEST_F(StartupTest, MutexWithoutAnyProductWindowGoesOnSilently)
{
    HoldProductMutex();
    CTopLevelWindow lookalike("Lumivane 1.10");  // only the whole title counts
    EXPECT_TRUE(theApp.InitApplication());
    EXPECT_THAT(seam::g_boxes.m_records, IsEmpty());
    EXPECT_THAT(m_posts, IsEmpty());
    EXPECT_TRUE(ProductMutexExists()) << "the product's own hold stays";
}

TEST_F(StartupTest, LastTitleFoundIsAskedToCloseAndNothingIsLeftToRecheck)
{
    HoldProductMutex();
    CTopLevelWindow product("Lumivane BETA 16");
    std::vector<std::string> searched;
    seam::g_hooks.fnFindWindowA = [&](LPCSTR pszClass, LPCSTR pszTitle) {
        EXPECT_EQ(NULL, pszClass);
        searched.push_back(pszTitle);
        return std::string(pszTitle) == "Lumivane BETA 16" ? product.m_hWnd : static_cast<HWND>(NULL);
    };
    EXPECT_TRUE(theApp.InitApplication());

    ASSERT_EQ(17u, searched.size()) << "every title once, the empty end never";
    EXPECT_EQ("Lumivane", searched.front());
    EXPECT_EQ("Lumivane BETA 16", searched.back());
    EXPECT_THAT(m_posts, ElementsAre(std::make_pair(std::string("Lumivane BETA 16"), 0x0501u)));
    ASSERT_EQ(2u, seam::g_boxes.m_records.size());
    EXPECT_EQ(NOTICE_TEXT, seam::g_boxes.m_records[0].strText);
    EXPECT_EQ("NOTICE", seam::g_boxes.m_records[0].strCaption);
    EXPECT_EQ(0x31u, seam::g_boxes.m_records[0].uType);
    EXPECT_EQ(NULL, seam::g_boxes.m_records[0].hOwner);
    EXPECT_EQ(CLOSED_TEXT, seam::g_boxes.m_records[1].strText);
    EXPECT_EQ("OK", seam::g_boxes.m_records[1].strCaption);
    EXPECT_EQ(0u, seam::g_boxes.m_records[1].uType);
    EXPECT_EQ(NULL, seam::g_boxes.m_records[1].hOwner);
}

TEST_F(StartupTest, RecheckLooksOnlyAfterTheTitleFound)
{
    HoldProductMutex();
    CTopLevelWindow product("lumivane beta 2");  // titles match regardless of case
    std::vector<std::string> searched;
    seam::g_hooks.fnFindWindowA = [&](LPCSTR, LPCSTR pszTitle) {
        searched.push_back(pszTitle);
        return ::FindWindowExA(NULL, NULL, NULL, pszTitle);
    };
    EXPECT_TRUE(theApp.InitApplication());
    // First search up to BETA 2 (3 titles), then BETA 3 to BETA 16 (14 titles).
    ASSERT_EQ(17u, searched.size());
    EXPECT_EQ("Lumivane BETA 2", searched[2]);
    EXPECT_EQ("Lumivane BETA 3", searched[3]);
    EXPECT_THAT(m_posts, ElementsAre(std::make_pair(std::string("lumivane beta 2"), 0x0501u)));
    EXPECT_EQ(CLOSED_TEXT, seam::g_boxes.m_records.back().strText);
}

TEST_F(StartupTest, ASecondProductWindowStopsTheInstaller)
{
    HoldProductMutex();
    CTopLevelWindow beta("Lumivane BETA 3");
    CTopLevelWindow product("Lumivane");
    EXPECT_EXIT(theApp.InitApplication(), ::testing::ExitedWithCode(0),
                ::testing::AllOf(ShowsBoxes({ Box(NOTICE_TEXT, "NOTICE", 0x31),
                                              Box(STILL_RUNNING_TEXT, "Install Lumivane", 0x40) }),
                                 ::testing::HasSubstr("[post] to=\"Lumivane\" msg=0x501\n"),
                                 ::testing::Not(::testing::HasSubstr("to=\"Lumivane BETA 3\""))));
}

TEST_F(StartupTest, CancelInTheNoticeStopsTheInstallerWithoutAsking)
{
    HoldProductMutex();
    CTopLevelWindow product("Lumivane");
    seam::g_boxes.Answer(IDCANCEL);
    EXPECT_EXIT(theApp.InitApplication(), ::testing::ExitedWithCode(0),
                ::testing::AllOf(ShowsBoxes({ Box(NOTICE_TEXT, "NOTICE", 0x31) }),
                                 ::testing::Not(::testing::HasSubstr("[post]"))));
}

TEST_F(StartupTest, MissingVersionLibraryStopsBeforeAnythingElse)
{
    HoldProductMutex();
    CTopLevelWindow product("Lumivane");
    seam::g_hooks.fnLoadLibraryA = [](LPCSTR pszName) {
        return lstrcmpiA(pszName, "version.dll") == 0 ? NULL : ::LoadLibraryExA(pszName, NULL, 0);
    };
    const char szText[] = "Cannot install Lumivane!\r\n\r\nVERSION.DLL is not available on your system.\r\n"
                          "See your system administrator to enable version control.";
    EXPECT_EXIT(theApp.InitApplication(), ::testing::ExitedWithCode(0),
                ::testing::AllOf(ShowsBoxes({ Box(szText, "installer_tests", 0x10) }),
                                 ::testing::Not(::testing::HasSubstr("[dialog]"))));
}

TEST_F(StartupTest, VersionLibraryStaysLoaded)
{
    EXPECT_TRUE(theApp.InitApplication());
    ASSERT_TRUE(g_hVersionLibrary != NULL);
    EXPECT_TRUE(::GetProcAddress(g_hVersionLibrary, "VerInstallFileA") != NULL);
}

TEST_F(StartupTest, BackdropThenWelcomeThenLicenceThenTheProbe)
{
    HoldProductMutex();
    CTopLevelWindow product("Lumivane");
    seam::g_hooks.fnFindWindowA = [&](LPCSTR, LPCSTR pszTitle) {
        m_events.push_back("search");
        return ::FindWindowExA(NULL, NULL, NULL, pszTitle);
    };
    EXPECT_TRUE(theApp.InitApplication());

    ASSERT_GE(m_events.size(), 3u);
    EXPECT_EQ("dialog 132", m_events[0]);
    EXPECT_EQ("dialog 131", m_events[1]);
    EXPECT_EQ("search", m_events[2]) << "the probe comes after the licence";
    ASSERT_EQ(2u, m_dialogs.size());
    HWND hBackdrop = BackdropWindow();
    ASSERT_TRUE(::IsWindow(hBackdrop));
    EXPECT_TRUE(::IsWindowVisible(hBackdrop)) << "it stays up for the install dialog";
    EXPECT_EQ(hBackdrop, m_dialogs[0].second) << "the welcome stands on the backdrop";
    EXPECT_EQ(hBackdrop, m_dialogs[1].second) << "the licence stands on the backdrop";
}

TEST_F(StartupTest, RefusalOfTheWelcomeOrTheLicenceEndsQuietlyWithoutTheBackdrop)
{
    struct Case
    {
        const char* pszName;
        INT_PTR nWelcome;
        INT_PTR nLicence;
        const char* pszDialogsRun;
    };
    const Case rgCases[] = {
        { "welcome cancelled", IDCANCEL, IDOK, "[dialog] 132\n[destroy] backdrop\n" },
        { "welcome cannot be made", -1, IDOK, "[dialog] 132\n[destroy] backdrop\n" },
        { "licence cancelled", IDOK, IDCANCEL, "[dialog] 132\n[dialog] 131\n[destroy] backdrop\n" },
    };
    // A running product would be noticed by the probe, which must not come.
    HoldProductMutex();
    CTopLevelWindow product("Lumivane");
    for (const Case& c : rgCases) {
        m_nWelcomeAnswer = c.nWelcome;
        m_nLicenceAnswer = c.nLicence;
        ::testing::Matcher<const std::string&> licenceRun = ::testing::HasSubstr("[dialog] 131");
        if (c.nWelcome != IDOK)
            licenceRun = ::testing::Not(licenceRun);
        EXPECT_EXIT(theApp.InitApplication(), ::testing::ExitedWithCode(0),
                    ::testing::AllOf(::testing::HasSubstr(c.pszDialogsRun), licenceRun, ShowsBoxes({}),
                                     ::testing::Not(::testing::HasSubstr("[post]"))))
            << c.pszName;
    }
}
