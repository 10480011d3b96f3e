// Built without the redirecting header: here the names are the platform's own.
#include "seam.h"

#include <cstdio>

namespace seam {

Hooks g_hooks;
CMessageBoxScript g_boxes;

void Reset()
{
    g_hooks = Hooks();
    g_hooks.fnMessageBoxA = [](HWND hOwner, LPCSTR lpszText, LPCSTR lpszCaption, UINT uType) {
        return g_boxes.Show(hOwner, lpszText, lpszCaption, uType);
    };
    g_boxes = CMessageBoxScript();
}

std::string DescribeBox(const std::string& strText, const std::string& strCaption, UINT uType)
{
    std::string strLine = "[box] caption=\"" + strCaption + "\" type=" + std::to_string(uType) + " text=\"";
    for (char ch : strText)
        strLine += ch == '\r' ? std::string("\\r") : ch == '\n' ? std::string("\\n") : std::string(1, ch);
    return strLine + "\"";
}

int CMessageBoxScript::Show(HWND hOwner, LPCSTR lpszText, LPCSTR lpszCaption, UINT uType)
{
    BoxRecord record = { hOwner, lpszText != NULL ? lpszText : "", lpszCaption != NULL ? lpszCaption : "", uType };
    m_records.push_back(record);
    std::fprintf(stderr, "%s\n", DescribeBox(record.strText, record.strCaption, uType).c_str());
    std::fflush(stderr);
    if (!m_answers.empty()) {
        int nAnswer = m_answers.front();
        m_answers.pop_front();
        return nAnswer;
    }
    return (uType & MB_TYPEMASK) == MB_YESNO ? IDYES : IDOK;
}

std::vector<std::string> CMessageBoxScript::Texts() const
{
    std::vector<std::string> texts;
    for (const BoxRecord& record : m_records)
        texts.push_back(record.strText);
    return texts;
}

#define SEAM_CALL(R, name, params, args) \
    R Real##name params { return ::name args; }
#include "calls.h"
#undef SEAM_CALL

}  // namespace seam

#define SEAM_CALL(R, name, params, args) \
    R WINAPI Seam_##name params { return seam::g_hooks.fn##name ? seam::g_hooks.fn##name args : ::name args; }
#include "calls.h"
#undef SEAM_CALL
