// The licence dialog: the text it shows, its answers, and a licence
// resource that is missing or empty.
#include <gtest/gtest.h>
#include <gmock/gmock.h>

#include <algorithm>

#include "app/licence_dialog.h"
#include "res/resource.h"
#include "tests/res/test_resource.h"
#include "tests/support/driven_dialog.h"
#include "tests/support/test_support.h"

using ::testing::IsEmpty;

typedef CDriven<CLicenceDialog> CDrivenLicence;

namespace {

class LicenceDialogTest : public ::testing::Test
{
protected:
    void SetUp() override { seam::Reset(); }
    void TearDown() override { seam::Reset(); }
};

// The bytes of a TEXT resource of the test program, as the resource holds them.
std::string TextResource(UINT nID)
{
    HMODULE hModule = ::GetModuleHandleA(NULL);
    HRSRC hFound = ::FindResourceA(hModule, MAKEINTRESOURCEA(nID), "TEXT");
    if (hFound == NULL)
        return std::string();
    const char* pBytes = static_cast<const char*>(::LockResource(::LoadResource(hModule, hFound)));
    return std::string(pBytes, ::SizeofResource(hModule, hFound));
}

std::string ControlText(HWND hWnd)
{
    int nLength = ::GetWindowTextLengthA(hWnd);
    std::string str(static_cast<size_t>(nLength) + 1, '\0');
    str.resize(static_cast<size_t>(::GetWindowTextA(hWnd, &str[0], nLength + 1)));
    return str;
}

// Looks for the licence under the id of a stand-in resource of the test
// program instead (or finds nothing when nStandIn is 0), recording each lookup.
void RedirectLicenceLookup(UINT nStandIn, std::vector<UINT_PTR>* pLookups)
{
    seam::g_hooks.fnFindResourceA = [=](HMODULE hModule, LPCSTR pszName, LPCSTR pszType) -> HRSRC {
        pLookups->push_back(reinterpret_cast<UINT_PTR>(pszName));
        if (nStandIn == 0)
            return NULL;
        return seam::RealFindResourceA(hModule, MAKEINTRESOURCEA(nStandIn), pszType);
    };
}

// A licence dialog that notes its window and whether it was ever shown.
class CWatchedLicence : public CLicenceDialog
{
public:
    HWND m_hWndSeen = NULL;
    bool m_bShown = false;

protected:
    BOOL OnInitDialog() override
    {
        m_hWndSeen = m_hWnd;
        return CLicenceDialog::OnInitDialog();
    }
    LRESULT WindowProc(UINT nMsg, WPARAM wParam, LPARAM lParam) override
    {
        if ((nMsg == WM_SHOWWINDOW && wParam) || ::IsWindowVisible(m_hWnd))
            m_bShown = true;
        return CLicenceDialog::WindowProc(nMsg, wParam, lParam);
    }
};

typedef CDriven<CWatchedLicence> CDrivenWatchedLicence;
// What DoModal gives when the dialog went on running after set-up.
const int LEFT_RUNNING = 0x4C52;

}  // namespace

TEST_F(LicenceDialogTest, ShowsTheResourceByteForByteAndWrapsIt)
{
    const std::string strResource = TextResource(IDR_LICENCE);
    ASSERT_FALSE(strResource.empty());
    std::string strShown, strMember, strTitle(64, '\0');
    LRESULT nVisualLines = 0;
    HWND hFocus = NULL, hAgree = NULL;
    CDrivenLicence dlg([&](CDrivenLicence& d) {
        strShown = ControlText(d.GetDlgItem(IDC_LICENCE_TEXT));
        strMember = d.m_strLicence;
        strTitle.resize(::GetWindowTextA(d.m_hWnd, &strTitle[0], 64));
        nVisualLines = ::SendMessageA(d.GetDlgItem(IDC_LICENCE_TEXT), EM_GETLINECOUNT, 0, 0);
        hFocus = ::GetFocus();
        hAgree = d.GetDlgItem(IDOK);
        d.EndDialog(IDCANCEL);
    });
    dlg.DoModal();
    EXPECT_EQ(strResource.size(), strShown.size()) << "one character for each byte of the resource";
    EXPECT_EQ(strResource, strShown);
    EXPECT_EQ(strResource.back(), strShown.back());
    EXPECT_NE('\n', strShown.back()) << "no line break after the last line";
    EXPECT_EQ(strResource, strMember);
    long nHardLines = 1 + std::count(strResource.begin(), strResource.end(), '\n');
    EXPECT_GT(nVisualLines, nHardLines) << "long paragraphs wrap";
    EXPECT_EQ("Dialog", strTitle);
    EXPECT_EQ(hAgree, hFocus) << "the focus starts on I Agree";
    EXPECT_THAT(seam::g_boxes.m_records, IsEmpty());
}

TEST_F(LicenceDialogTest, TextScrollsButCannotBeEdited)
{
    std::string strBefore, strAfter;
    LONG_PTR nStyle = 0;
    LRESULT nFirstLine = 0;
    CDrivenLicence dlg([&](CDrivenLicence& d) {
        HWND hEdit = d.GetDlgItem(IDC_LICENCE_TEXT);
        nStyle = ::GetWindowLongPtrA(hEdit, GWL_STYLE);
        strBefore = ControlText(hEdit);
        ::SetFocus(hEdit);
        ::SendMessageA(hEdit, EM_SETSEL, 0, -1);
        ::SendMessageA(hEdit, WM_CHAR, 'x', 1);
        ::SendMessageA(hEdit, WM_CHAR, VK_BACK, 1);
        ::SendMessageA(hEdit, WM_KEYDOWN, VK_DELETE, 1);
        ::SendMessageA(hEdit, WM_CLEAR, 0, 0);
        ::SendMessageA(hEdit, WM_CUT, 0, 0);
        strAfter = ControlText(hEdit);
        ::SendMessageA(hEdit, WM_VSCROLL, SB_PAGEDOWN, 0);
        nFirstLine = ::SendMessageA(hEdit, EM_GETFIRSTVISIBLELINE, 0, 0);
        d.EndDialog(IDCANCEL);
    });
    dlg.DoModal();
    EXPECT_EQ(strBefore, strAfter);
    EXPECT_NE(0, nStyle & ES_READONLY);
    EXPECT_NE(0, nStyle & ES_MULTILINE);
    EXPECT_NE(0, nStyle & WS_VSCROLL);
    EXPECT_EQ(0, nStyle & ES_AUTOHSCROLL) << "lines wrap instead of scrolling sideways";
    EXPECT_GT(nFirstLine, 0) << "the reader can scroll down";
}

TEST_F(LicenceDialogTest, AgreeOrEnterAcceptsCancelEscapeOrCloseBoxRefuses)
{
    struct Case
    {
        const char* pszName;
        std::function<void(CDrivenLicence&)> fnAct;
        INT_PTR nExpected;
    };
    const Case rgCases[] = {
        { "I Agree", [](CDrivenLicence& d) { Click(d, IDOK); }, IDOK },
        { "Enter", [](CDrivenLicence&) { PostKey(::GetFocus(), VK_RETURN); }, IDOK },
        { "Cancel", [](CDrivenLicence& d) { Click(d, IDCANCEL); }, IDCANCEL },
        { "Escape", [](CDrivenLicence&) { PostKey(::GetFocus(), VK_ESCAPE); }, IDCANCEL },
        { "close box", [](CDrivenLicence& d) { d.PostMessage(WM_SYSCOMMAND, SC_CLOSE, 0); }, IDCANCEL },
    };
    const std::string strResource = TextResource(IDR_LICENCE);
    for (const Case& c : rgCases) {
        LONG_PTR nStyle = 0;
        CDrivenLicence dlg([&](CDrivenLicence& d) {
            nStyle = ::GetWindowLongPtrA(d.m_hWnd, GWL_STYLE);
            c.fnAct(d);
        });
        EXPECT_EQ(c.nExpected, dlg.DoModal()) << c.pszName;
        EXPECT_EQ(WS_SYSMENU, nStyle & WS_SYSMENU) << c.pszName << ": the close box is there";
        EXPECT_EQ(strResource, dlg.m_strLicence) << c.pszName << ": read back unchanged";
    }
    EXPECT_THAT(seam::g_boxes.m_records, IsEmpty());
}

TEST_F(LicenceDialogTest, MissingOrEmptyLicenceIsReportedOnceAndCountsAsAgreed)
{
    struct Case
    {
        const char* pszName;
        UINT nStandIn;
    };
    const Case rgCases[] = {
        { "missing", 0 },
        { "zero bytes long", IDR_TEST_EMPTY_TEXT },
    };
    ASSERT_TRUE(seam::RealFindResourceA(::GetModuleHandleA(NULL), MAKEINTRESOURCEA(IDR_TEST_EMPTY_TEXT), "TEXT"))
        << "the empty stand-in is there";
    for (const Case& c : rgCases) {
        seam::g_boxes.Clear();
        std::vector<UINT_PTR> lookups;
        RedirectLicenceLookup(c.nStandIn, &lookups);
        CDrivenWatchedLicence dlg([](CDrivenWatchedLicence& d) { d.EndDialog(LEFT_RUNNING); });
        EXPECT_EQ(IDOK, dlg.DoModal()) << c.pszName;
        EXPECT_FALSE(dlg.m_bShown) << c.pszName << ": the dialog never appears";
        EXPECT_THAT(lookups, ::testing::ElementsAre(static_cast<UINT_PTR>(IDR_LICENCE))) << c.pszName;
        ASSERT_EQ(1u, seam::g_boxes.m_records.size()) << c.pszName;
        const seam::BoxRecord& box = seam::g_boxes.m_records[0];
        EXPECT_EQ("Setup file is corrupted!", box.strText) << c.pszName;
        EXPECT_EQ("ERROR", box.strCaption) << c.pszName;
        EXPECT_EQ(0x10u, box.uType) << c.pszName;
        EXPECT_EQ(dlg.m_hWndSeen, box.hOwner) << c.pszName << ": owned by the licence dialog";
        EXPECT_TRUE(box.hOwner != NULL) << c.pszName;
    }
}

TEST_F(LicenceDialogTest, TextEndsAtANulInsideTheResource)
{
    ASSERT_EQ(25u, TextResource(IDR_TEST_NUL_TEXT).size());
    std::vector<UINT_PTR> lookups;
    RedirectLicenceLookup(IDR_TEST_NUL_TEXT, &lookups);
    std::string strShown;
    CDrivenLicence dlg([&](CDrivenLicence& d) {
        strShown = ControlText(d.GetDlgItem(IDC_LICENCE_TEXT));
        d.EndDialog(IDOK);
    });
    EXPECT_EQ(IDOK, dlg.DoModal());
    EXPECT_EQ("Before the NUL\r\n", strShown);
    EXPECT_EQ("Before the NUL\r\n", dlg.m_strLicence);
    EXPECT_THAT(seam::g_boxes.m_records, IsEmpty());
}
