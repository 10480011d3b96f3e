// The build's check of the licence text: the shipped text passes, and a
// broken rule stops the build with a message that places it. Its only input
// is our own file, so two kinds of fault stand for the rest.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

namespace {

// Exit status of the check on strPath; strOutput gets what it printed, one space between
// words, as CMake wraps long messages.
int Check(const std::string& strPath, std::string& strOutput)
{
    int nStatus = std::system(("\"" LV_CMAKE_COMMAND "\" \"-DLICENCE_TEXT=" + strPath +
                               "\" -P \"" LV_LICENCE_CHECK_SCRIPT "\" >licence_check.log 2>&1").c_str());
    std::ifstream log("licence_check.log");
    strOutput.clear();
    for (std::string strWord; log >> strWord;)
        strOutput += strWord + " ";
    return nStatus;
}

}  // namespace

TEST(LicenceTextCheck, ShippedTextPassesAndABrokenRuleIsPlaced)
{
    std::string strOutput;
    EXPECT_EQ(0, Check(LV_LICENCE_TEXT, strOutput)) << strOutput;
    const struct { std::string strText; const char* pszMessage; } aCases[] = {
        {"Terms.\n\nOrvel", "line 1, offset 6: a line feed (LF) without a carriage return (CR)"},
        {"Terms that were\r\nwrapped by hand.", "line 2: follows another line of text"},
    };
    for (const auto& bad : aCases)
    {
        std::ofstream("licence_sample.txt", std::ios::binary) << bad.strText;
        EXPECT_NE(0, Check("licence_sample.txt", strOutput)) << bad.pszMessage;
        EXPECT_NE(std::string::npos, strOutput.find(std::string("licence_sample.txt: ") + bad.pszMessage)) << strOutput;
    }
    std::remove("licence_sample.txt");
    std::remove("licence_check.log");
}
