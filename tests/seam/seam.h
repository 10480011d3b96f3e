// What tests do with the seam.
//   seam::g_hooks   replacements of the listed platform calls (calls.h); an
//                   empty one means the real call
//   seam::g_boxes   message boxes: the answers to give, and a record of each
//   seam::Reset     back to the real platform and scripted boxes
//   seam::Real...   the platform's own call, for a hook that lets a call through
#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "seam_functions.h"

namespace seam {

struct Hooks
{
#define SEAM_CALL(R, name, params, args) std::function<R params> fn##name;
#include "calls.h"
#undef SEAM_CALL
};

extern Hooks g_hooks;

#define SEAM_CALL(R, name, params, args) R Real##name params;
#include "calls.h"
#undef SEAM_CALL

struct BoxRecord
{
    HWND hOwner;
    std::string strText;
    std::string strCaption;
    UINT uType;
};

// No real message box is shown by the test program. Each box is recorded,
// written to stderr (so a test whose process ends can still be checked) and
// answered from the queue; with nothing queued, as Enter would.
struct CMessageBoxScript
{
    int Show(HWND hOwner, LPCSTR lpszText, LPCSTR lpszCaption, UINT uType);
    std::vector<std::string> Texts() const;

    std::vector<BoxRecord> m_records;
    std::deque<int> m_answers;
};

extern CMessageBoxScript g_boxes;

// The line a box leaves on stderr.
std::string DescribeBox(const std::string& strText, const std::string& strCaption, UINT uType);

void Reset();

}  // namespace seam
