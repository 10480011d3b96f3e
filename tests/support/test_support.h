// Small helpers shared by the tests.
//   BoxLines / ShowsBoxes  the message boxes a process wrote to stderr before it
//                          ended, for tests of the installer's exits
//   CTopLevelWindow        a plain top-level window with a given title
//   Box                    the seam's line for one box
//   WindowText             a window's own text
//   ProductMutexExists     whether something holds the running product's mutex
#pragma once

#include <gmock/gmock.h>

#include <string>
#include <vector>

#include <windows.h>

#include "tests/seam/seam.h"

std::vector<std::string> BoxLines(const std::string& strOutput);

// Matches a process's stderr whose message boxes are exactly these, in order.
::testing::Matcher<const std::string&> ShowsBoxes(const std::vector<std::string>& expected);

inline std::string Box(const std::string& strText, const std::string& strCaption, UINT uType)
{
    return seam::DescribeBox(strText.c_str(), strCaption.c_str(), uType);
}

std::string WindowText(HWND hWnd);
bool ProductMutexExists();

class CTopLevelWindow
{
public:
    explicit CTopLevelWindow(const char* pszTitle);
    ~CTopLevelWindow();
    HWND m_hWnd;

private:
    CTopLevelWindow(const CTopLevelWindow&);
    CTopLevelWindow& operator=(const CTopLevelWindow&);
};
