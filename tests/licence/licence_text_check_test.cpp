// The build's check of the licence text: the shipped text passes, and each
// broken rule stops the build with a message that places it.
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

TEST(LicenceTextCheck, ShippedTextPassesAndEachBrokenRuleIsPlaced)
{
    std::string strOutput;
    EXPECT_EQ(0, Check(LV_LICENCE_TEXT, strOutput)) << strOutput;
    const struct { std::string strText; const char* pszMessage; } aCases[] = {
        {"", "the file: is empty"},
        {"Terms.\r\n\r\nOrvel Software\r\n", "the end: a line break after the last line"},
        {"Terms.\r", "the end: a line break after the last line"},
        {"Terms.\n\nOrvel", "line 1, offset 6: a line feed (LF) without a carriage return (CR)"},
        {"Terms.\r\rOrvel", "line 1, offset 7: a carriage return (CR) without a line feed (LF)"},
        {"Terms:\tnone.", "line 1, offset 6: a tab"},
        {std::string("Terms.\r\n\r\nOrvel\0Software", 24), "line 3, offset 15: a NUL byte"},
        {"Terms \xA9", "line 1, offset 6: byte 0xa9"},
        {"Terms\x7F", "line 1, offset 5: byte 0x7f"},
        {"Terms that were\r\nwrapped by hand.", "line 2: follows another line of text"},
        {"Terms.\r\n  \r\nOrvel", "line 2: a line between paragraphs must be empty or hold exactly one space"},
        {"\r\nTerms.", "line 1: the text must begin with a paragraph"},
        {"Terms.\r\n ", "line 2: the text must end with a paragraph"},
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
