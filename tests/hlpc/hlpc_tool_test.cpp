// The hlpc program itself: bad source gives a message naming the problem, a
// non-zero exit and no output; good source gives the library's bytes.
#include "byte_buffer.h"
#include "help_file.h"
#include "help_source.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

struct BadSourceCase
{
    const char* m_pszName;
    const char* m_pszSource;
    const char* m_pszMessage;  // part of what hlpc must say
};

const BadSourceCase kBadSources[] = {
    {"UnknownLinkTarget", "= T\n# a A\ntext\n\nsee [[nowhere|there]]\n",
     ":5: link to unknown context id 'nowhere'"},
    {"DuplicateContextId", "= T\n# a A\n\n# b B\n# A Again\n",
     ":5: duplicate context id 'A' (first defined on line 2)"},
    {"EmptyFile", "", "no topics found"},
    {"OnlyComments", "; nothing here\n\n", "no topics found"},
    {"NonAsciiByte", "= T\n# a A\ncaf\xE9\n", ":3: byte 0xE9 in column 4 is not printable 7-bit ASCII"},
    {"ControlByte", "= T\n# a A\nbell\x07\n", ":3: byte 0x07 in column 5"},
    {"MissingTitle", "# a A\ntext\n", "no help title"},
    {"TitleTwice", "= T\n= U\n# a A\n", ":2: the help title is given twice"},
    {"TextBeforeTopic", "= T\nstray text\n# a A\n", ":2: text before the first topic"},
    {"UnclosedLink", "= T\n# a A\nsee [[a|here\n", ":3: link '[[' without a closing ']]'"},
    {"LinkWithoutBar", "= T\n# a A\nsee [[a]]\n", ":3: link '[[a]]' needs the form"},
    {"EmptyLinkText", "= T\n# a A\nsee [[a| ]]\n", ":3: link to 'a' has no link text"},
    {"BadContextId", "= T\n# bad-id Title\n", ":2: context id 'bad-id' is empty or has characters"},
    {"TopicWithoutTitle", "= T\n# lonely\n", ":2: topic 'lonely' has no title"},
};

// Sources too long to write inline.
std::string MakeLongTitleSource(bool bHelpTitle)
{
    std::string strTitle(256, 'x');
    return bHelpTitle ? "= " + strTitle + "\n# a A\n" : "= T\n# a " + strTitle + "\n";
}

class CHlpcToolTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::string strTest = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        m_strSource = "hlpc_tool_" + strTest + ".hls";
        m_strOutput = "hlpc_tool_" + strTest + ".hlp";
        m_strErrors = "hlpc_tool_" + strTest + ".err";
        RemoveFiles();
    }

    void TearDown() override { RemoveFiles(); }

    void RemoveFiles()
    {
        for (const std::string& str : {m_strSource, m_strOutput, m_strOutput + ".tmp", m_strErrors})
            std::remove(str.c_str());
    }

    static void WriteFile(const std::string& strPath, const std::string& strContent)
    {
        std::FILE* pFile = std::fopen(strPath.c_str(), "wb");
        ASSERT_NE(nullptr, pFile) << strPath;
        std::fwrite(strContent.data(), 1, strContent.size(), pFile);
        std::fclose(pFile);
    }

    static bool ReadFile(const std::string& strPath, std::string& strContent)
    {
        std::FILE* pFile = std::fopen(strPath.c_str(), "rb");
        if (!pFile)
            return false;
        char buffer[4096];
        size_t nRead;
        strContent.clear();
        while ((nRead = std::fread(buffer, 1, sizeof(buffer), pFile)) > 0)
            strContent.append(buffer, nRead);
        std::fclose(pFile);
        return true;
    }

    static bool Exists(const std::string& strPath)
    {
        std::string strIgnored;
        return ReadFile(strPath, strIgnored);
    }

    // The exit status of hlpc with the given arguments; its stderr goes to m_strErrors.
    int RunHlpc(const std::string& strArguments)
    {
        std::string strCommand = "\"" HLPC_EXECUTABLE "\" " + strArguments + " 2> \"" + m_strErrors + "\"";
        return std::system(strCommand.c_str());
    }

    int RunHlpcOnSource() { return RunHlpc("\"" + m_strSource + "\" \"" + m_strOutput + "\""); }

    std::string GetErrors()
    {
        std::string strErrors;
        ReadFile(m_strErrors, strErrors);
        return strErrors;
    }

    std::string m_strSource;
    std::string m_strOutput;
    std::string m_strErrors;
};

}  // namespace

TEST_F(CHlpcToolTest, BadSourceFailsWithMessageAndNoOutput)
{
    for (const BadSourceCase& badCase : kBadSources) {
        SCOPED_TRACE(badCase.m_pszName);
        WriteFile(m_strSource, badCase.m_pszSource);
        EXPECT_NE(0, RunHlpcOnSource());
        std::string strErrors = GetErrors();
        EXPECT_NE(std::string::npos, strErrors.find(badCase.m_pszMessage)) << strErrors;
        EXPECT_NE(std::string::npos, strErrors.find(m_strSource)) << strErrors;
        EXPECT_FALSE(Exists(m_strOutput));
        EXPECT_FALSE(Exists(m_strOutput + ".tmp"));
    }
}

TEST_F(CHlpcToolTest, OverlongTitlesAreRejected)
{
    WriteFile(m_strSource, MakeLongTitleSource(true));
    EXPECT_NE(0, RunHlpcOnSource());
    EXPECT_NE(std::string::npos, GetErrors().find(":1: the help title is longer than 255 characters")) << GetErrors();
    WriteFile(m_strSource, MakeLongTitleSource(false));
    EXPECT_NE(0, RunHlpcOnSource());
    EXPECT_NE(std::string::npos, GetErrors().find(":2: title of topic 'a' is longer than 255")) << GetErrors();
    EXPECT_FALSE(Exists(m_strOutput));
}

TEST_F(CHlpcToolTest, FailedBuildLeavesEarlierOutputUntouched)
{
    WriteFile(m_strOutput, "earlier help file");
    WriteFile(m_strSource, "= T\n# a A\n[[b|broken]]\n");
    EXPECT_NE(0, RunHlpcOnSource());
    std::string strContent;
    ASSERT_TRUE(ReadFile(m_strOutput, strContent));
    EXPECT_EQ("earlier help file", strContent);
    EXPECT_FALSE(Exists(m_strOutput + ".tmp"));
}

TEST_F(CHlpcToolTest, MissingSourceOrArgumentsAreReported)
{
    EXPECT_NE(0, RunHlpcOnSource());
    EXPECT_NE(std::string::npos, GetErrors().find("cannot read '" + m_strSource + "'")) << GetErrors();
    EXPECT_FALSE(Exists(m_strOutput));

    EXPECT_NE(0, RunHlpc("\"" + m_strSource + "\""));
    EXPECT_NE(std::string::npos, GetErrors().find("usage: hlpc SOURCE OUTPUT.hlp")) << GetErrors();
}

TEST_F(CHlpcToolTest, UnwritableOutputIsReportedAndLeavesNothing)
{
    WriteFile(m_strSource, "= T\n# a A\ntext\n");
    const std::string strOutput = "hlpc_no_such_directory/out.hlp";
    EXPECT_NE(0, RunHlpc("\"" + m_strSource + "\" \"" + strOutput + "\""));
    EXPECT_NE(std::string::npos, GetErrors().find("cannot write '" + strOutput + "'")) << GetErrors();
    EXPECT_FALSE(Exists(strOutput));
    EXPECT_FALSE(Exists(strOutput + ".tmp"));
}

TEST_F(CHlpcToolTest, GoodSourceWritesTheLibrarysBytesAndReplacesOldOutput)
{
    const std::string strSource = "= T\n# a A\nsee [[b|the other]]\n# b B\nback to [[a|A]]\n";
    WriteFile(m_strSource, strSource);
    WriteFile(m_strOutput, "earlier help file");
    EXPECT_EQ(0, RunHlpcOnSource()) << GetErrors();
    EXPECT_EQ("", GetErrors());

    HelpDocument document;
    std::string strError;
    CByteBuffer expected;
    ASSERT_TRUE(ParseHelpSource(strSource, m_strSource, document, strError)) << strError;
    ASSERT_TRUE(BuildHelpFile(document, expected, strError)) << strError;
    std::string strWritten;
    ASSERT_TRUE(ReadFile(m_strOutput, strWritten));
    EXPECT_EQ(std::string(expected.GetBytes().begin(), expected.GetBytes().end()), strWritten);
    EXPECT_FALSE(Exists(m_strOutput + ".tmp"));
}
