// The backdrop: its size and fonts from the screen size, its colours, and the
// release of its brush and fonts.
#include <gtest/gtest.h>
#include <gmock/gmock.h>

#include <algorithm>
#include <memory>

#include "app/backdrop_dialog.h"
#include "res/resource.h"
#include "tests/support/driven_dialog.h"
#include "tests/support/test_support.h"

using ::testing::ElementsAre;

namespace {

const COLORREF DARK_BLUE = 0x00880000;

// Every argument of one CreateFontA call, and what it gave.
struct FontRequest
{
    int nHeight, nWidth, nEscapement, nOrientation, nWeight;
    DWORD bItalic, bUnderline, bStrikeOut, nCharSet, nOutPrecision, nClipPrecision, nQuality, nPitchAndFamily;
    std::string strFace;
    HFONT hFont;

    bool operator==(const FontRequest& o) const
    {
        return nHeight == o.nHeight && nWidth == o.nWidth && nEscapement == o.nEscapement &&
               nOrientation == o.nOrientation && nWeight == o.nWeight && bItalic == o.bItalic &&
               bUnderline == o.bUnderline && bStrikeOut == o.bStrikeOut && nCharSet == o.nCharSet &&
               nOutPrecision == o.nOutPrecision && nClipPrecision == o.nClipPrecision && nQuality == o.nQuality &&
               nPitchAndFamily == o.nPitchAndFamily && strFace == o.strFace;
    }
};

void PrintTo(const FontRequest& r, std::ostream* pOut)
{
    char sz[256];
    std::snprintf(sz, sizeof(sz), "CreateFontA(%d, %d, %d, %d, %d, %lu, %lu, %lu, %lu, %lu, %lu, %lu, 0x%lX, \"%s\")",
                  r.nHeight, r.nWidth, r.nEscapement, r.nOrientation, r.nWeight, r.bItalic, r.bUnderline,
                  r.bStrikeOut, r.nCharSet, r.nOutPrecision, r.nClipPrecision, r.nQuality, r.nPitchAndFamily,
                  r.strFace.c_str());
    *pOut << sz;
}

// The maker's-name font and the tagline font, as requested for a screen.
FontRequest MakerFont(int nHeight, int nWidth)
{
    return { nHeight, nWidth, 0, 0, FW_EXTRABOLD, 0, 0, 0, ANSI_CHARSET, OUT_DEVICE_PRECIS, CLIP_DEFAULT_PRECIS,
             PROOF_QUALITY, VARIABLE_PITCH | FF_SWISS, "Orvel_Font", NULL };
}

FontRequest TaglineFont(int nHeight, int nWidth)
{
    return { nHeight, nWidth, 0, 0, FW_EXTRABOLD, 0, 1, 0, ANSI_CHARSET, OUT_DEVICE_PRECIS, CLIP_DEFAULT_PRECIS,
             PROOF_QUALITY, VARIABLE_PITCH | FF_SWISS, "Logo_Font", NULL };
}

// A window's place in its parent (or on the screen): x, y, width, height.
struct Place
{
    int x, y, cx, cy;
    bool operator==(const Place& o) const { return x == o.x && y == o.y && cx == o.cx && cy == o.cy; }
};

void PrintTo(const Place& p, std::ostream* pOut)
{
    *pOut << "(" << p.x << ", " << p.y << ") " << p.cx << " x " << p.cy;
}

Place PlaceOf(HWND hWnd)
{
    RECT rc;
    ::GetWindowRect(hWnd, &rc);
    HWND hParent = ::GetParent(hWnd);
    if (hParent != NULL && (::GetWindowLongPtrA(hWnd, GWL_STYLE) & WS_CHILD))
        ::MapWindowPoints(NULL, hParent, reinterpret_cast<POINT*>(&rc), 2);
    return { rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top };
}

HFONT FontOf(HWND hWnd)
{
    return reinterpret_cast<HFONT>(::SendMessageA(hWnd, WM_GETFONT, 0, 0));
}

class BackdropDialogTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        seam::Reset();
        seam::g_hooks.fnGetSystemMetrics = [this](int nIndex) {
            m_metricsAsked.push_back(nIndex);
            return nIndex == SM_CXSCREEN ? m_cxScreen : nIndex == SM_CYSCREEN ? m_cyScreen : 0;
        };
        seam::g_hooks.fnCreateFontA = [this](int nHeight, int nWidth, int nEscapement, int nOrientation, int nWeight,
                                             DWORD bItalic, DWORD bUnderline, DWORD bStrikeOut, DWORD nCharSet,
                                             DWORD nOutPrecision, DWORD nClipPrecision, DWORD nQuality,
                                             DWORD nPitchAndFamily, LPCSTR pszFace) {
            HFONT hFont = NULL;
            if (m_strFailingFace != pszFace)
                hFont = seam::RealCreateFontA(nHeight, nWidth, nEscapement, nOrientation, nWeight, bItalic,
                                              bUnderline, bStrikeOut, nCharSet, nOutPrecision, nClipPrecision,
                                              nQuality, nPitchAndFamily, pszFace);
            m_fonts.push_back({ nHeight, nWidth, nEscapement, nOrientation, nWeight, bItalic, bUnderline, bStrikeOut,
                                nCharSet, nOutPrecision, nClipPrecision, nQuality, nPitchAndFamily, pszFace, hFont });
            return hFont;
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
    void TearDown() override
    {
        m_pBackdrop.reset();
        seam::Reset();
    }

    // The backdrop as start-up makes it, on a screen of the given size.
    HWND ShowBackdrop(int cxScreen, int cyScreen)
    {
        m_cxScreen = cxScreen;
        m_cyScreen = cyScreen;
        m_metricsAsked.clear();
        m_fonts.clear();
        m_brushes.clear();
        m_deleted.clear();
        m_pBackdrop.reset(new CBackdropDialog);
        m_pBackdrop->Create(IDD_BACKDROP);
        PumpMessages();
        return m_pBackdrop->m_hWnd;
    }

    int m_cxScreen = 0, m_cyScreen = 0;
    std::string m_strFailingFace;
    std::vector<int> m_metricsAsked;
    std::vector<FontRequest> m_fonts;
    std::vector<std::pair<COLORREF, HBRUSH>> m_brushes;
    std::vector<HGDIOBJ> m_deleted;
    std::unique_ptr<CBackdropDialog> m_pBackdrop;
};

}  // namespace

TEST_F(BackdropDialogTest, ScreenSizeGivesTheWindowTheFontsAndTheTextPlaces)
{
    struct Case
    {
        int cx, cy;
        FontRequest maker, tagline;
        Place makerPlace, taglinePlace;
    };
    const Case rgCases[] = {
        { 800, 600, MakerFont(40, 21), TaglineFont(20, 10), { 40, 30, 780, 580 }, { 40, 75, 780, 580 } },
        { 1024, 768, MakerFont(51, 27), TaglineFont(25, 13), { 51, 38, 1004, 748 }, { 51, 96, 1004, 748 } },
    };
    for (const Case& c : rgCases) {
        SCOPED_TRACE(std::to_string(c.cx) + " x " + std::to_string(c.cy));
        HWND hBackdrop = ShowBackdrop(c.cx, c.cy);
        ASSERT_TRUE(::IsWindow(hBackdrop));
        EXPECT_TRUE(::IsWindowVisible(hBackdrop));
        EXPECT_EQ(0, ::GetWindowLongPtrA(hBackdrop, GWL_STYLE) & (WS_CAPTION | WS_THICKFRAME | WS_SYSMENU))
            << "no caption, border or system menu";
        EXPECT_THAT(m_metricsAsked, ElementsAre(SM_CXSCREEN, SM_CYSCREEN));
        EXPECT_EQ((Place{ 0, 0, c.cx, c.cy }), PlaceOf(hBackdrop)) << "covers the whole screen";
        ASSERT_EQ(2u, m_fonts.size());
        EXPECT_EQ(c.maker, m_fonts[0]);
        EXPECT_EQ(c.tagline, m_fonts[1]);

        HWND hMaker = ::GetDlgItem(hBackdrop, IDC_MAKER);
        HWND hTagline = ::GetDlgItem(hBackdrop, IDC_TAGLINE);
        EXPECT_EQ(c.makerPlace, PlaceOf(hMaker));
        EXPECT_EQ(c.taglinePlace, PlaceOf(hTagline));
        EXPECT_EQ(m_fonts[0].hFont, FontOf(hMaker));
        EXPECT_EQ(m_fonts[1].hFont, FontOf(hTagline));
        EXPECT_EQ("Orvel Software", WindowText(hMaker));
        EXPECT_FALSE(WindowText(hTagline).empty());
    }
}

TEST_F(BackdropDialogTest, FontThatCannotBeMadeLeavesItsTextAsTheTemplateHasIt)
{
    for (int nFailing : { IDC_MAKER, IDC_TAGLINE }) {
        m_strFailingFace = nFailing == IDC_MAKER ? "Orvel_Font" : "Logo_Font";
        SCOPED_TRACE(m_strFailingFace + " fails");
        HWND hBackdrop = ShowBackdrop(800, 600);
        int nOther = nFailing == IDC_MAKER ? IDC_TAGLINE : IDC_MAKER;
        HWND hFailing = ::GetDlgItem(hBackdrop, nFailing);
        HWND hOther = ::GetDlgItem(hBackdrop, nOther);

        RECT rcTemplate = nFailing == IDC_MAKER ? RECT{ 10, 10, 50, 18 } : RECT{ 10, 30, 152, 38 };
        ::MapDialogRect(hBackdrop, &rcTemplate);
        EXPECT_EQ((Place{ rcTemplate.left, rcTemplate.top, rcTemplate.right - rcTemplate.left,
                          rcTemplate.bottom - rcTemplate.top }),
                  PlaceOf(hFailing));
        EXPECT_EQ(FontOf(hBackdrop), FontOf(hFailing)) << "the dialog's own font";

        ASSERT_EQ(2u, m_fonts.size()) << "the other font is still made";
        const FontRequest& other = m_fonts[nOther == IDC_MAKER ? 0 : 1];
        ASSERT_TRUE(other.hFont != NULL);
        EXPECT_EQ(other.hFont, FontOf(hOther));
        EXPECT_EQ(nOther == IDC_MAKER ? (Place{ 40, 30, 780, 580 }) : (Place{ 40, 75, 780, 580 }), PlaceOf(hOther));

        m_pBackdrop->DestroyWindow();
        EXPECT_THAT(m_deleted, ElementsAre(m_brushes.at(0).second, other.hFont)) << "nothing else to delete";
    }
}

TEST_F(BackdropDialogTest, WindowAndBothTextsAreWhiteOnDarkBlue)
{
    HWND hBackdrop = ShowBackdrop(1024, 768);
    ASSERT_EQ(1u, m_brushes.size());
    EXPECT_EQ(DARK_BLUE, m_brushes[0].first);
    const LRESULT lBrush = reinterpret_cast<LRESULT>(m_brushes[0].second);

    HDC hDC = ::CreateCompatibleDC(NULL);
    for (int nID : { IDC_MAKER, IDC_TAGLINE }) {
        ::SetTextColor(hDC, RGB(1, 2, 3));
        ::SetBkColor(hDC, RGB(4, 5, 6));
        EXPECT_EQ(lBrush, ::SendMessageA(hBackdrop, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(hDC),
                                         reinterpret_cast<LPARAM>(::GetDlgItem(hBackdrop, nID))))
            << nID;
        EXPECT_EQ(RGB(255, 255, 255), ::GetTextColor(hDC)) << nID;
        EXPECT_EQ(DARK_BLUE, ::GetBkColor(hDC)) << nID;
    }
    EXPECT_EQ(lBrush, ::SendMessageA(hBackdrop, WM_CTLCOLORDLG, reinterpret_cast<WPARAM>(hDC),
                                     reinterpret_cast<LPARAM>(hBackdrop)))
        << "the window's own background";
    ::DeleteDC(hDC);

    // Painted: the background outside the texts is the brush's blue.
    ::RedrawWindow(hBackdrop, NULL, NULL, RDW_ERASE | RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    HDC hWindowDC = ::GetDC(hBackdrop);
    EXPECT_EQ(DARK_BLUE, ::GetPixel(hWindowDC, 10, 10));
    EXPECT_EQ(DARK_BLUE, ::GetPixel(hWindowDC, 1000, 20));
    ::ReleaseDC(hBackdrop, hWindowDC);
}

TEST_F(BackdropDialogTest, DestroyingTheWindowDeletesBrushAndFontsOnceEach)
{
    HWND hBackdrop = ShowBackdrop(800, 600);
    ASSERT_EQ(1u, m_brushes.size());
    ASSERT_EQ(2u, m_fonts.size());
    EXPECT_TRUE(m_deleted.empty()) << "nothing goes while the window stands";
    m_pBackdrop->DestroyWindow();
    EXPECT_FALSE(::IsWindow(hBackdrop));
    const HGDIOBJ rgExpected[] = { m_brushes[0].second, m_fonts[0].hFont, m_fonts[1].hFont };
    EXPECT_THAT(m_deleted, ::testing::ElementsAreArray(rgExpected));
    m_pBackdrop.reset();
    EXPECT_THAT(m_deleted, ::testing::ElementsAreArray(rgExpected)) << "not again with the object";
    for (HGDIOBJ hObject : rgExpected)
        EXPECT_EQ(0u, ::GetObjectType(hObject)) << "deleted for real";
}

TEST_F(BackdropDialogTest, DeletingTheObjectWithItsWindowUpReleasesEverythingOnce)
{
    ShowBackdrop(800, 600);
    m_pBackdrop.reset();
    EXPECT_EQ(3u, m_deleted.size());
    EXPECT_EQ(1, std::count(m_deleted.begin(), m_deleted.end(), m_brushes.at(0).second));
    EXPECT_EQ(1, std::count(m_deleted.begin(), m_deleted.end(), m_fonts.at(0).hFont));
    EXPECT_EQ(1, std::count(m_deleted.begin(), m_deleted.end(), m_fonts.at(1).hFont));
}
