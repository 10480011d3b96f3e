// The dialog framework: message maps, data exchange, modal and modeless dialogs.
#include <gtest/gtest.h>
#include <gmock/gmock.h>

#include <algorithm>

#include "tests/framework/test_dialog.h"
#include "tests/seam/seam.h"
#include "tests/support/driven_dialog.h"
#include "tests/support/test_support.h"

using ::testing::ElementsAre;
using ::testing::Contains;

typedef CDriven<CRecordingDialog> CDrivenDialog;

namespace {

class FrameworkTest : public ::testing::Test
{
protected:
    void SetUp() override { seam::Reset(); }
    void TearDown() override { seam::Reset(); }
};

}  // namespace

TEST(MessageMapTest, RowsMatchByMessageCodeAndId)
{
    static const MessageMapEntry rgMap[] = {
        { WM_COMMAND, BN_CLICKED, 10, reinterpret_cast<MessageHandler>(1) },
        { WM_COMMAND, EN_CHANGE, 10, reinterpret_cast<MessageHandler>(2) },
        { WM_PAINT, 0, 0, reinterpret_cast<MessageHandler>(3) },
        { WM_CTLCOLOR, 0, 0, reinterpret_cast<MessageHandler>(4) },
        { 0, 0, 0, NULL },
        { WM_TIMER, 0, 0, reinterpret_cast<MessageHandler>(5) },
    };
    EXPECT_EQ(&rgMap[0], FindMessageMapEntry(rgMap, WM_COMMAND, MAKEWPARAM(10, BN_CLICKED)));
    EXPECT_EQ(&rgMap[1], FindMessageMapEntry(rgMap, WM_COMMAND, MAKEWPARAM(10, EN_CHANGE)));
    EXPECT_EQ(NULL, FindMessageMapEntry(rgMap, WM_COMMAND, MAKEWPARAM(11, BN_CLICKED)));
    EXPECT_EQ(NULL, FindMessageMapEntry(rgMap, WM_COMMAND, MAKEWPARAM(10, BN_DOUBLECLICKED)));
    EXPECT_EQ(&rgMap[2], FindMessageMapEntry(rgMap, WM_PAINT, 0));
    EXPECT_EQ(&rgMap[3], FindMessageMapEntry(rgMap, WM_CTLCOLORDLG, 0));
    EXPECT_EQ(&rgMap[3], FindMessageMapEntry(rgMap, WM_CTLCOLORSTATIC, 0));
    EXPECT_EQ(&rgMap[3], FindMessageMapEntry(rgMap, WM_CTLCOLORBTN, 0));
    // The table ends at the first row without a handler.
    EXPECT_EQ(NULL, FindMessageMapEntry(rgMap, WM_TIMER, 0));
    EXPECT_EQ(NULL, FindMessageMapEntry(NULL, WM_PAINT, 0));
}

TEST_F(FrameworkTest, MappedCommandsReachHandlersAndTheRestGetsDefaultProcessing)
{
    CDrivenDialog dlg([](CDrivenDialog& d) {
        Click(d, IDC_TEST_OTHER);
        // Same control, another notification: not in the map.
        d.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_TEST_OTHER, BN_DOUBLECLICKED),
                      reinterpret_cast<LPARAM>(d.GetDlgItem(IDC_TEST_OTHER)));
        // Unmapped messages still do what the window would do on its own.
        d.SendMessage(WM_SETTEXT, 0, reinterpret_cast<LPARAM>("Changed caption"));
        d.m_events.push_back("caption=" + WindowText(d.m_hWnd));
        d.EndDialog(IDOK);
    });
    EXPECT_EQ(IDOK, dlg.DoModal());
    EXPECT_THAT(dlg.m_events, Contains("OnOther"));
    EXPECT_EQ(1, std::count(dlg.m_events.begin(), dlg.m_events.end(), "OnOther"));
    EXPECT_THAT(dlg.m_events, Contains("caption=Changed caption"));
}

TEST_F(FrameworkTest, ControlColourMessagesReachOneHandlerWithKindAndControl)
{
    LRESULT lStatic = 0, lDialog = 0;
    HBRUSH hExpected = NULL;
    CDrivenDialog dlg([&](CDrivenDialog& d) {
        hExpected = d.m_hBrush;
        HDC hDC = ::GetDC(d.m_hWnd);
        HWND hLabel = d.GetDlgItem(IDC_TEST_LABEL);
        lStatic = d.SendMessage(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(hDC), reinterpret_cast<LPARAM>(hLabel));
        lDialog = d.SendMessage(WM_CTLCOLORDLG, reinterpret_cast<WPARAM>(hDC), reinterpret_cast<LPARAM>(d.m_hWnd));
        ::ReleaseDC(d.m_hWnd, hDC);
        d.EndDialog(IDOK);
    });
    dlg.DoModal();
    EXPECT_EQ(reinterpret_cast<LRESULT>(hExpected), lStatic);
    EXPECT_EQ(reinterpret_cast<LRESULT>(hExpected), lDialog);
    EXPECT_THAT(dlg.m_events, Contains("OnCtlColor:6:903"));  // CTLCOLOR_STATIC from the label
    EXPECT_THAT(dlg.m_events, Contains("OnCtlColor:4:0"));    // CTLCOLOR_DLG
}

TEST_F(FrameworkTest, DataExchangeMovesTextBothWays)
{
    const std::string strLong(600, 'x');
    std::string strShown, strRead;
    CDrivenDialog dlg([&](CDrivenDialog& d) {
        d.m_strFirst = "C:\\Target";
        d.m_strSecond = strLong;
        d.UpdateData(FALSE);
        strShown = WindowText(d.GetDlgItem(IDC_TEST_EDIT));
        ::SetWindowTextA(d.GetDlgItem(IDC_TEST_EDIT2), "typed by the user");
        d.UpdateData(TRUE);
        strRead = d.m_strSecond;
        ::SetWindowTextA(d.GetDlgItem(IDC_TEST_EDIT2), "");
        d.UpdateData(TRUE);
        d.EndDialog(IDCANCEL);
    });
    dlg.m_strSecond = "initial";
    dlg.DoModal();
    EXPECT_EQ("C:\\Target", strShown);
    EXPECT_EQ("typed by the user", strRead);
    EXPECT_EQ("", dlg.m_strSecond);
}

TEST_F(FrameworkTest, DataExchangeKeepsLongTextWhole)
{
    const std::string strLong(3000, 'q');
    CDrivenDialog dlg([&](CDrivenDialog& d) {
        d.m_strFirst = strLong;
        d.UpdateData(FALSE);
        d.m_strFirst.clear();
        d.UpdateData(TRUE);
        d.EndDialog(IDOK);
    });
    dlg.DoModal();
    EXPECT_EQ(strLong, dlg.m_strFirst);
}

TEST_F(FrameworkTest, SetUpFillsControlsAndOkReadsThemBack)
{
    std::string strAtSetUp;
    CDrivenDialog dlg([&](CDrivenDialog& d) {
        strAtSetUp = WindowText(d.GetDlgItem(IDC_TEST_EDIT));
        ::SetWindowTextA(d.GetDlgItem(IDC_TEST_EDIT2), "edited");
        Click(d, IDOK);
    });
    dlg.m_strFirst = "from member";
    EXPECT_EQ(IDOK, dlg.DoModal());
    EXPECT_EQ("from member", strAtSetUp);
    EXPECT_EQ("edited", dlg.m_strSecond);
}

TEST_F(FrameworkTest, NotificationsWaitWhileDataExchangeFillsControls)
{
    CDrivenDialog dlg([](CDrivenDialog& d) {
        d.m_strFirst = "by exchange";
        d.UpdateData(FALSE);  // no EN_CHANGE handler meanwhile
        d.SetDlgItemText(IDC_TEST_EDIT, "by program");
        d.EndDialog(IDOK);
    });
    dlg.DoModal();
    // The set-up's exchange and UpdateData(FALSE) were silent; the program's
    // own SetDlgItemText was seen, with the exchange run inside the handler.
    EXPECT_THAT(dlg.m_events, Contains("OnChangeFirst:by program"));
    EXPECT_EQ(0, std::count(dlg.m_events.begin(), dlg.m_events.end(), "OnChangeFirst:by exchange"));
}

TEST_F(FrameworkTest, ButtonsKeysAndCloseBoxGiveTheirResults)
{
    struct Case
    {
        const char* pszName;
        std::function<void(CDrivenDialog&)> fnAct;
        INT_PTR nExpected;
        const char* pszHandler;
    };
    const Case rgCases[] = {
        { "OK button", [](CDrivenDialog& d) { Click(d, IDOK); }, IDOK, "OnOK" },
        { "Cancel button", [](CDrivenDialog& d) { Click(d, IDCANCEL); }, IDCANCEL, "OnCancel" },
        { "Enter", [](CDrivenDialog& d) { PostKey(d.GetDlgItem(IDC_TEST_EDIT), VK_RETURN); }, IDOK, "OnOK" },
        { "Escape", [](CDrivenDialog& d) { PostKey(d.GetDlgItem(IDC_TEST_EDIT), VK_ESCAPE); }, IDCANCEL, "OnCancel" },
        { "close box", [](CDrivenDialog& d) { d.PostMessage(WM_SYSCOMMAND, SC_CLOSE, 0); }, IDCANCEL, "OnCancel" },
    };
    for (const Case& c : rgCases) {
        CDrivenDialog dlg([&](CDrivenDialog& d) {
            ::SetFocus(d.GetDlgItem(IDC_TEST_EDIT));
            c.fnAct(d);
        });
        EXPECT_EQ(c.nExpected, dlg.DoModal()) << c.pszName;
        EXPECT_THAT(dlg.m_events, Contains(c.pszHandler)) << c.pszName;
    }
}

TEST_F(FrameworkTest, LastEndDialogResultWins)
{
    CDrivenDialog dlgTwice([](CDrivenDialog& d) {
        d.EndDialog(0);
        d.EndDialog(IDCANCEL);
    });
    EXPECT_EQ(IDCANCEL, dlgTwice.DoModal());

    CDrivenDialog dlgBack([](CDrivenDialog& d) {
        d.EndDialog(7);
        d.EndDialog(0);
    });
    EXPECT_EQ(0, dlgBack.DoModal());
}

TEST_F(FrameworkTest, ModalOwnerIsParentOrActiveWindowButNeverForTheMainWindow)
{
    CDialog host(IDD_TEST_MODELESS);
    ASSERT_TRUE(host.Create(IDD_TEST_MODELESS));
    ::SetActiveWindow(host.m_hWnd);
    ASSERT_EQ(host.m_hWnd, ::GetActiveWindow());

    HWND hOwner = reinterpret_cast<HWND>(-1);
    BOOL bOwnerEnabled = TRUE;
    auto fnRecord = [&](CDrivenDialog& d) {
        hOwner = ::GetWindow(d.m_hWnd, GW_OWNER);
        bOwnerEnabled = hOwner != NULL && ::IsWindowEnabled(hOwner);
        d.EndDialog(IDOK);
    };

    CDrivenDialog dlgActive(fnRecord);
    dlgActive.DoModal();
    EXPECT_EQ(host.m_hWnd, hOwner);
    EXPECT_FALSE(bOwnerEnabled) << "the owner is disabled while the dialog runs";
    EXPECT_TRUE(::IsWindowEnabled(host.m_hWnd));

    CDialog parent(IDD_TEST_MODELESS);
    ASSERT_TRUE(parent.Create(IDD_TEST_MODELESS));
    ::SetActiveWindow(host.m_hWnd);
    CDrivenDialog dlgChild(fnRecord, &parent);
    dlgChild.DoModal();
    EXPECT_EQ(parent.m_hWnd, hOwner);

    ::SetActiveWindow(host.m_hWnd);
    CDrivenDialog dlgMain(fnRecord);
    CWinApp* pApp = AfxGetApp();
    ASSERT_TRUE(pApp != NULL);
    pApp->m_pMainWnd = &dlgMain;
    dlgMain.DoModal();
    pApp->m_pMainWnd = NULL;
    EXPECT_EQ(NULL, hOwner);
}

namespace {

POINT CentreOf(HWND hWnd)
{
    RECT rc;
    ::GetWindowRect(hWnd, &rc);
    return POINT{ (rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2 };
}

// A dialog whose set-up puts it in a place of its own.
class CSelfPlacedDialog : public CRecordingDialog
{
protected:
    BOOL OnInitDialog() override
    {
        CRecordingDialog::OnInitDialog();
        MoveWindow(7, 9, 250, 120);
        return TRUE;
    }
};

}  // namespace

TEST_F(FrameworkTest, DialogOpensCentredOverItsOwnerOrTheScreenUnlessItPlacedItself)
{
    RECT rcWork;
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &rcWork, 0);
    POINT ptCentre = { 0, 0 };
    auto fnRecord = [&](CDrivenDialog& d) {
        ptCentre = CentreOf(d.m_hWnd);
        d.EndDialog(IDOK);
    };

    CDrivenDialog dlgMain(fnRecord);
    AfxGetApp()->m_pMainWnd = &dlgMain;  // so without owner
    dlgMain.DoModal();
    AfxGetApp()->m_pMainWnd = NULL;
    EXPECT_NEAR((rcWork.left + rcWork.right) / 2, ptCentre.x, 1);
    EXPECT_NEAR((rcWork.top + rcWork.bottom) / 2, ptCentre.y, 1);

    CDialog host(IDD_TEST_MODELESS);
    ASSERT_TRUE(host.Create(IDD_TEST_MODELESS));
    ::MoveWindow(host.m_hWnd, 20, 30, 500, 400, TRUE);
    CDrivenDialog dlgOwned(fnRecord, &host);
    dlgOwned.DoModal();
    EXPECT_NEAR(270, ptCentre.x, 1);
    EXPECT_NEAR(230, ptCentre.y, 1);

    RECT rcPlaced = { 0, 0, 0, 0 };
    CDriven<CSelfPlacedDialog> dlgPlaced([&](CDriven<CSelfPlacedDialog>& d) {
        ::GetWindowRect(d.m_hWnd, &rcPlaced);
        d.EndDialog(IDOK);
    });
    dlgPlaced.DoModal();
    EXPECT_EQ(7, rcPlaced.left);
    EXPECT_EQ(9, rcPlaced.top);
}

TEST_F(FrameworkTest, ModelessDialogLivesUntilDestroyed)
{
    CRecordingDialog dlg;
    ASSERT_TRUE(dlg.Create(IDD_TEST_MODELESS));
    HWND hWnd = dlg.m_hWnd;
    ASSERT_TRUE(::IsWindow(hWnd));
    EXPECT_TRUE(::IsWindowVisible(hWnd));
    EXPECT_EQ(&dlg, CWnd::FromHandlePermanent(hWnd));
    PumpMessages();

    EXPECT_TRUE(dlg.DestroyWindow());
    EXPECT_FALSE(::IsWindow(hWnd));
    EXPECT_EQ(NULL, dlg.m_hWnd);
    EXPECT_THAT(dlg.m_events, Contains("OnDestroy"));
    EXPECT_FALSE(dlg.DestroyWindow()) << "nothing left to destroy";
}

TEST_F(FrameworkTest, DialogThatCannotBeMadeReturnsMinusOne)
{
    CDialog dlg(4242);
    EXPECT_EQ(-1, dlg.DoModal());
}

namespace {

class CCountingApp : public CWinApp
{
public:
    BOOL m_bInitInstanceResult = FALSE;
    std::vector<std::string> m_calls;
    BOOL InitApplication() override
    {
        m_calls.push_back("InitApplication");
        return TRUE;
    }
    BOOL InitInstance() override
    {
        m_calls.push_back("InitInstance");
        if (m_bInitInstanceResult)
            ::PostQuitMessage(0);
        return m_bInitInstanceResult;
    }
    int ExitInstance() override
    {
        m_calls.push_back("ExitInstance");
        return 5;
    }
};

}  // namespace

TEST_F(FrameworkTest, ApplicationStartsThroughBothHooksAndEndsWithoutLoop)
{
    CWinApp* pOuter = AfxGetApp();
    {
        CCountingApp app;
        EXPECT_EQ(&app, AfxGetApp());
        EXPECT_EQ(5, AfxWinMain());
        EXPECT_THAT(app.m_calls, ElementsAre("InitApplication", "InitInstance", "ExitInstance"));

        app.m_calls.clear();
        app.m_bInitInstanceResult = TRUE;
        EXPECT_EQ(5, AfxWinMain()) << "the message loop ends on WM_QUIT and runs the shutdown";
        EXPECT_THAT(app.m_calls, ElementsAre("InitApplication", "InitInstance", "ExitInstance"));
    }
    EXPECT_EQ(pOuter, AfxGetApp());
}

TEST_F(FrameworkTest, ApplicationMessageBoxHasNoOwnerAndTheProgramName)
{
    CWinApp* pApp = AfxGetApp();
    ASSERT_TRUE(pApp != NULL);
    EXPECT_EQ("installer_tests", pApp->m_strAppName);
    pApp->DoMessageBox("text", MB_OK | MB_ICONHAND);
    ASSERT_EQ(1u, seam::g_boxes.m_records.size());
    EXPECT_EQ(NULL, seam::g_boxes.m_records[0].hOwner);
    EXPECT_EQ("installer_tests", seam::g_boxes.m_records[0].strCaption);
    EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONHAND), seam::g_boxes.m_records[0].uType);
}

TEST(FontTest, HolderDeletesItsFontOnceAndGivesItUp)
{
    HFONT hFont = ::CreateFontA(12, 0, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, 0, "Arial");
    ASSERT_TRUE(hFont != NULL);
    {
        CFont font;
        EXPECT_FALSE(font.Attach(NULL));
        EXPECT_TRUE(font.Attach(hFont));
        EXPECT_EQ(hFont, font.Detach());
        EXPECT_EQ(NULL, static_cast<HFONT>(font));
    }
    EXPECT_EQ(OBJ_FONT, static_cast<int>(::GetObjectType(hFont))) << "a font given up is not deleted";
    {
        CFont font;
        font.Attach(hFont);
    }
    EXPECT_EQ(0u, ::GetObjectType(hFont)) << "the holder deletes what it holds";
}
