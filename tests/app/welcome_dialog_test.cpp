// The welcome dialog: its answers, its text, its sound and its colours.
#include <gtest/gtest.h>
#include <gmock/gmock.h>

#include <algorithm>

#include "app/welcome_dialog.h"
#include "res/resource.h"
#include "tests/support/driven_dialog.h"
#include "tests/support/test_support.h"

using ::testing::ElementsAre;
using ::testing::Not;
using ::testing::HasSubstr;

typedef CDriven<CWelcomeDialog> CDrivenWelcome;

namespace {

const COLORREF CYAN = 0x00FFFF00;

class WelcomeDialogTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        seam::Reset();
        seam::g_hooks.fnMessageBeep = [this](UINT uType) {
            m_beeps.push_back(uType);
            return TRUE;
        };
        seam::g_hooks.fnCreateSolidBrush = [this](COLORREF color) {
            HBRUSH hBrush = seam::RealCreateSolidBrush(color);
            m_brushes.push_back(std::make_pair(color, hBrush));
            return hBrush;
        };
        seam::g_hooks.fnDeleteObject = [this](HGDIOBJ hObject) {
            m_deleted.push_back(hObject);
            return seam::RealDeleteObject(hObject);
        };
    }
    void TearDown() override { seam::Reset(); }

    std::vector<UINT> m_beeps;
    std::vector<std::pair<COLORREF, HBRUSH>> m_brushes;
    std::vector<HGDIOBJ> m_deleted;
};

}  // namespace

TEST_F(WelcomeDialogTest, OkOrEnterAcceptsCancelOrEscapeRefusesAndThereIsNoCloseBox)
{
    struct Case
    {
        const char* pszName;
        std::function<void(CDrivenWelcome&)> fnAct;
        INT_PTR nExpected;
    };
    const Case rgCases[] = {
        { "OK button", [](CDrivenWelcome& d) { Click(d, IDOK); }, IDOK },
        { "Enter", [](CDrivenWelcome&) { PostKey(::GetFocus(), VK_RETURN); }, IDOK },
        { "Cancel button", [](CDrivenWelcome& d) { Click(d, IDCANCEL); }, IDCANCEL },
        { "Escape", [](CDrivenWelcome&) { PostKey(::GetFocus(), VK_ESCAPE); }, IDCANCEL },
    };
    for (const Case& c : rgCases) {
        HWND hFocus = NULL, hOk = NULL;
        LONG_PTR nStyle = 0;
        CDrivenWelcome dlg([&](CDrivenWelcome& d) {
            hFocus = ::GetFocus();
            hOk = d.GetDlgItem(IDOK);
            nStyle = ::GetWindowLongPtrA(d.m_hWnd, GWL_STYLE);
            c.fnAct(d);
        });
        EXPECT_EQ(c.nExpected, dlg.DoModal()) << c.pszName;
        EXPECT_EQ(hOk, hFocus) << c.pszName << ": the focus starts on OK";
        EXPECT_EQ(WS_CAPTION, nStyle & WS_CAPTION) << c.pszName;
        EXPECT_EQ(0, nStyle & WS_SYSMENU) << c.pszName << ": no system menu, so no close box";
    }
}

TEST_F(WelcomeDialogTest, ShowsTheSloganThenTheInvitationCentred)
{
    std::string strTitle, strText;
    LONG_PTR nStaticStyle = 0;
    CDrivenWelcome dlg([&](CDrivenWelcome& d) {
        strTitle = WindowText(d.m_hWnd);
        HWND hStatic = ::FindWindowExA(d.m_hWnd, NULL, "Static", NULL);
        strText = WindowText(hStatic);
        nStaticStyle = ::GetWindowLongPtrA(hStatic, GWL_STYLE);
        d.EndDialog(IDOK);
    });
    dlg.DoModal();
    EXPECT_EQ("Lumivane Installation", strTitle);
    const std::string strInvitation = "\n\nClick \"OK\" to install Orvel Software's Lumivane  for Windows.";
    ASSERT_GT(strText.size(), strInvitation.size());
    std::string strSlogan = strText.substr(0, strText.size() - strInvitation.size());
    EXPECT_EQ(strInvitation, strText.substr(strSlogan.size()));
    EXPECT_THAT(strSlogan, Not(HasSubstr("\n"))) << "the slogan is one line";
    EXPECT_THAT(strSlogan, Not(HasSubstr("\r")));
    EXPECT_EQ(SS_CENTER, nStaticStyle & SS_TYPEMASK);
}

TEST_F(WelcomeDialogTest, QuestionSoundPlaysOncePerOpeningAndEachBrushIsDeletedOnce)
{
    std::vector<UINT> beepsAtFirstOpening;
    {
        CDrivenWelcome dlg([](CDrivenWelcome& d) { d.EndDialog(IDOK); });
        dlg.DoModal();
        beepsAtFirstOpening = m_beeps;
        dlg.DoModal();
    }
    EXPECT_THAT(beepsAtFirstOpening, ElementsAre(static_cast<UINT>(MB_ICONQUESTION)));
    EXPECT_THAT(m_beeps, ElementsAre(static_cast<UINT>(MB_ICONQUESTION), static_cast<UINT>(MB_ICONQUESTION)));
    ASSERT_EQ(2u, m_brushes.size());
    for (const auto& brush : m_brushes) {
        EXPECT_EQ(CYAN, brush.first);
        EXPECT_EQ(1, std::count(m_deleted.begin(), m_deleted.end(), brush.second));
        EXPECT_EQ(0u, ::GetObjectType(brush.second)) << "deleted for real";
    }
}

TEST_F(WelcomeDialogTest, DialogAndEveryControlAreBlackOnCyan)
{
    struct Result
    {
        const char* pszName;
        LRESULT lBrush;
        COLORREF crText;
        COLORREF crBack;
    };
    std::vector<Result> results;
    CDrivenWelcome dlg([&](CDrivenWelcome& d) {
        HDC hDC = ::CreateCompatibleDC(NULL);
        auto fnAsk = [&](const char* pszName, UINT nMsg, HWND hWndCtl) {
            ::SetTextColor(hDC, RGB(1, 2, 3));
            ::SetBkColor(hDC, RGB(4, 5, 6));
            LRESULT lBrush = d.SendMessage(nMsg, reinterpret_cast<WPARAM>(hDC), reinterpret_cast<LPARAM>(hWndCtl));
            results.push_back({ pszName, lBrush, ::GetTextColor(hDC), ::GetBkColor(hDC) });
        };
        fnAsk("dialog", WM_CTLCOLORDLG, d.m_hWnd);
        fnAsk("text", WM_CTLCOLORSTATIC, ::FindWindowExA(d.m_hWnd, NULL, "Static", NULL));
        fnAsk("OK", WM_CTLCOLORBTN, d.GetDlgItem(IDOK));
        fnAsk("Cancel", WM_CTLCOLORBTN, d.GetDlgItem(IDCANCEL));
        ::DeleteDC(hDC);
        d.EndDialog(IDOK);
    });
    dlg.DoModal();
    ASSERT_EQ(1u, m_brushes.size());
    ASSERT_EQ(4u, results.size());
    for (const Result& r : results) {
        EXPECT_EQ(reinterpret_cast<LRESULT>(m_brushes[0].second), r.lBrush) << r.pszName;
        EXPECT_EQ(RGB(0, 0, 0), r.crText) << r.pszName;
        EXPECT_EQ(CYAN, r.crBack) << r.pszName;
    }
}
