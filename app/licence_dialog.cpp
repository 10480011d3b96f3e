#include "licence_dialog.h"

#include <cstring>

#include "res/resource.h"

CLicenceDialog::CLicenceDialog(CWnd* pParent) : CDialog(IDD_LICENCE, pParent) {}

void CLicenceDialog::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_LICENCE_TEXT, m_strLicence);
}

BOOL CLicenceDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    if (!LoadLicenceText()) {
        MessageBox("Setup file is corrupted!", "ERROR", MB_OK | MB_ICONHAND);
        // Only the text to agree to is lost: the installation itself can go on.
        EndDialog(IDOK);
        return TRUE;
    }
    UpdateData(FALSE);
    return TRUE;
}

// The licence text resource, into m_strLicence; zero when it is missing or empty.
int CLicenceDialog::LoadLicenceText()
{
    HINSTANCE hModule = AfxGetResourceHandle();
    HRSRC hFound = ::FindResourceA(hModule, MAKEINTRESOURCEA(IDR_LICENCE), "Text");
    if (hFound == NULL)
        return 0;
    HGLOBAL hLoaded = ::LoadResource(hModule, hFound);
    if (hLoaded == NULL)
        return 0;
    DWORD cbText = ::SizeofResource(hModule, hFound);
    const char* pText = static_cast<const char*>(::LockResource(hLoaded));
    if (pText == NULL || cbText == 0)
        return 0;
    // The resource has no terminator: the copy ends at its size, or at a
    // stray NUL before that.
    const void* pNul = std::memchr(pText, '\0', cbText);
    size_t nLength = pNul != NULL ? static_cast<size_t>(static_cast<const char*>(pNul) - pText) : cbText;
    m_strLicence.assign(pText, nLength);
    return 1;
}
