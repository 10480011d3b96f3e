// The build's check of the licence text: the shipped text passes, and each
// way a text can break the licence dialog's rules stops the build with a
// message that names it.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>

#ifndef _WIN32
#include <sys/wait.h>
#endif

namespace {

// CMake wraps and indents long messages: the words come back one space apart.
std::string ReadOutput(const std::string& strPath)
{
    std::string strOutput;
    std::FILE* pFile = std::fopen(strPath.c_str(), "rb");
    if (pFile == NULL)
        return strOutput;
    int c;
    while ((c = std::fgetc(pFile)) != EOF) {
        bool bSpace = c == ' ' || c == '\n' || c == '\r';
        if (!bSpace)
            strOutput += static_cast<char>(c);
        else if (!strOutput.empty() && strOutput.back() != ' ')
            strOutput += ' ';
    }
    std::fclose(pFile);
    return strOutput;
}

class LicenceTextCheck : public ::testing::Test
{
protected:
    void SetUp() override
    {
        // Unique, so that test runs of several build trees can overlap.
        m_dir = std::filesystem::temp_directory_path() /
                ("licence_check_" + std::to_string(std::random_device()()) + "_" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(m_dir);
    }
    void TearDown() override { std::filesystem::remove_all(m_dir); }

    std::string WriteSample(const std::string& strBytes) const
    {
        std::string strPath = (m_dir / "Licence.txt").string();
        std::FILE* pFile = std::fopen(strPath.c_str(), "wb");
        EXPECT_TRUE(pFile != NULL);
        if (pFile != NULL) {
            EXPECT_EQ(strBytes.size(), std::fwrite(strBytes.data(), 1, strBytes.size(), pFile));
            std::fclose(pFile);
        }
        return strPath;
    }

    // Exit status of the check on the file; what it printed goes to m_strOutput.
    int Check(const std::string& strPath)
    {
        std::string strOutputPath = (m_dir / "output.txt").string();
        std::string strCommand = "\"" LV_CMAKE_COMMAND "\" \"-DLICENCE_TEXT=" + strPath + "\" -P \"" +
                                 LV_LICENCE_CHECK_SCRIPT "\" >\"" + strOutputPath + "\" 2>&1";
#ifdef _WIN32
        int nStatus = std::system(("\"" + strCommand + "\"").c_str());  // cmd.exe drops the outer quotes
#else
        int nStatus = std::system(strCommand.c_str());
        nStatus = WIFEXITED(nStatus) ? WEXITSTATUS(nStatus) : -1;
#endif
        m_strOutput = ReadOutput(strOutputPath);
        return nStatus;
    }

    std::filesystem::path m_dir;
    std::string m_strOutput;
};

}  // namespace

TEST_F(LicenceTextCheck, ShippedTextAndAWellFormedSamplePass)
{
    EXPECT_EQ(0, Check(LV_LICENCE_TEXT)) << m_strOutput;
    EXPECT_EQ(0, Check(WriteSample("TERMS\r\n\r\nFirst paragraph, one long line.\r\n \r\nOrvel Software\r\n\r\n"
                                   "1 Street, Town")))
        << m_strOutput;
    EXPECT_NE(std::string::npos, m_strOutput.find("in 7 lines")) << m_strOutput;
}

TEST_F(LicenceTextCheck, EachBrokenRuleStopsTheBuildAndIsNamed)
{
    struct Case
    {
        const char* pszName;
        std::string strBytes;
        const char* pszMessage;
    };
    const Case rgCases[] = {
        { "empty", "", "is empty" },
        { "line break at the end", "Terms.\r\n\r\nOrvel Software\r\n", "a line break after the last line" },
        { "LF alone", "Terms.\n\nOrvel Software", "line feed (LF) without a carriage return (CR)" },
        { "CR alone", "Terms.\r\rOrvel Software", "carriage return (CR) without a line feed (LF)" },
        { "CR at the end", "Terms.\r", "line break after the last line" },
        { "tab", "Terms:\tnone.\r\n\r\nOrvel Software", "line 1, offset 6: a tab" },
        { "NUL", std::string("Terms.\r\n\r\nOrvel\0Software", 24), "line 3, offset 15: a NUL byte" },
        { "8-bit character", "Terms \xA9 Orvel Software", "byte 0xa9" },
        { "DEL", "Terms\x7F", "byte 0x7f" },
        { "paragraph broken over lines", "Terms that were\r\nwrapped by hand.",
          "line 2: follows another line of text" },
        { "separator of two spaces", "Terms.\r\n  \r\nOrvel Software", "line 2: a line between paragraphs" },
        { "begins with an empty line", "\r\nTerms.", "must begin with a paragraph" },
        { "ends with a line of one space", "Terms.\r\n ", "must end with a paragraph" },
    };
    for (const Case& c : rgCases) {
        EXPECT_NE(0, Check(WriteSample(c.strBytes))) << c.pszName << ": " << m_strOutput;
        EXPECT_NE(std::string::npos, m_strOutput.find(c.pszMessage)) << c.pszName << ": " << m_strOutput;
    }
}

TEST_F(LicenceTextCheck, MissingFileIsNamed)
{
    std::string strPath = (m_dir / "absent.txt").string();
    EXPECT_NE(0, Check(strPath));
    EXPECT_NE(std::string::npos, m_strOutput.find(strPath + ": no such file")) << m_strOutput;
}
