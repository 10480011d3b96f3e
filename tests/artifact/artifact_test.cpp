// The built installer as a file: what Windows' loader will see.
#include <gtest/gtest.h>
#include <gmock/gmock.h>

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "pe_image.h"
#include "szdd_codec.h"

namespace {

std::string Lower(std::string str)
{
    std::transform(str.begin(), str.end(), str.begin(), [](unsigned char c) { return std::tolower(c); });
    return str;
}

// DLLs that every Windows has; nothing else may be needed beside the program.
bool IsSystemDll(const std::string& strName)
{
    static const char* const rgszSystem[] = { "kernel32.dll", "user32.dll", "gdi32.dll", "shell32.dll",
                                              "ole32.dll", "advapi32.dll", "msvcrt.dll", "comctl32.dll" };
    for (const char* psz : rgszSystem) {
        if (Lower(strName) == psz)
            return true;
    }
    return false;
}

}  // namespace

// Every program the build makes is a GUI program of its target that needs
// nothing beside it but Windows itself.
TEST(ArtifactTest, ProgramsAreGuiProgramsOfTheirTargetWithOnlySystemImports)
{
    struct Build
    {
        const char* pszPath;
        int nMachine;
        int nMagic;
    };
    static const Build rgBuilds[] = {
        { LV_INSTALLER_WIN32, 0x14C, 0x10B },     // Intel 80386, PE32: the shipped installer
        { LV_PRODUCT_WIN32, 0x14C, 0x10B },       // the product it carries
        { LV_UNINSTALLER_WIN32, 0x14C, 0x10B },   // and its uninstaller
        { LV_UNINSTALLER_WIN64, 0x8664, 0x20B },  // x86-64, PE32+: the tests' build
    };
    for (const Build& build : rgBuilds) {
        CPeImage image;
        ASSERT_TRUE(image.Load(build.pszPath)) << image.m_strError;
        EXPECT_EQ(build.nMachine, image.m_nMachine) << build.pszPath;
        EXPECT_EQ(build.nMagic, image.m_nMagic) << build.pszPath;
        EXPECT_EQ(2, image.m_nSubsystem) << "Windows GUI: " << build.pszPath;
        ASSERT_FALSE(image.m_importedDlls.empty()) << build.pszPath;
        for (const std::string& strDll : image.m_importedDlls)
            EXPECT_TRUE(IsSystemDll(strDll)) << strDll << " would have to travel beside " << build.pszPath;
    }
}

// Without version.dll the program must still start, to say that it is missing.
TEST(ArtifactTest, NeitherBuildImportsTheVersionLibrary)
{
    for (const char* pszPath : { LV_INSTALLER_WIN32, LV_INSTALLER_WIN64 }) {
        CPeImage image;
        ASSERT_TRUE(image.Load(pszPath)) << image.m_strError;
        ASSERT_FALSE(image.m_importedDlls.empty()) << pszPath;
        for (const std::string& strDll : image.m_importedDlls)
            EXPECT_NE("version.dll", Lower(strDll)) << pszPath;
    }
}

// The read-me's stored form draws on the window's initial spaces, so an
// expander that fills its window with anything else gets a different text.
TEST(ArtifactTest, StoredReadmeDependsOnTheInitialSpaces)
{
    std::vector<unsigned char> readme, stored, expanded, otherFill;
    std::string strError;
    ASSERT_TRUE(ReadWholeFile(LV_README_WIN32, readme, strError)) << strError;
    ASSERT_TRUE(ReadWholeFile(LV_README_WIN32 ".msz", stored, strError)) << strError;
    ASSERT_TRUE(ExpandSzdd(stored.data(), stored.size(), expanded, strError)) << strError;
    EXPECT_TRUE(expanded == readme);
    ASSERT_TRUE(ExpandSzddWithFill(stored.data(), stored.size(), '#', otherFill, strError)) << strError;
    EXPECT_EQ(readme.size(), otherFill.size());
    EXPECT_NE(std::count(otherFill.begin(), otherFill.end(), '#'), std::count(readme.begin(), readme.end(), '#'));
}

TEST(ArtifactTest, ReaderRefusesWhatIsNoProgram)
{
    std::string strPath = ::testing::TempDir() + "not_a_program.exe";
    FILE* pFile = std::fopen(strPath.c_str(), "wb");
    ASSERT_TRUE(pFile != NULL);
    std::fputs("MZ but nothing more", pFile);
    std::fclose(pFile);
    CPeImage image;
    EXPECT_FALSE(image.Load(strPath));
    EXPECT_FALSE(image.m_strError.empty());
    std::remove(strPath.c_str());
}

namespace {

bool HasResource(const CPeImage& image, const std::string& strType, const std::string& strName, uint32_t* pnSize)
{
    for (const CPeImage::Resource& resource : image.m_resources) {
        if (resource.strType == strType && resource.strName == strName && resource.nLanguage == 1033) {
            *pnSize = resource.nSize;
            return true;
        }
    }
    return false;
}

}  // namespace

// Everything the program shows or installs travels inside it, in US English.
TEST(ArtifactTest, ShippedProgramCarriesEveryResourceItNeeds)
{
    CPeImage image;
    ASSERT_TRUE(image.Load(LV_INSTALLER_WIN32)) << image.m_strError;
    struct Expected
    {
        const char* pszType;
        const char* pszName;
        const char* pszWhat;
    };
    const Expected rgExpected[] = {
        { "MSZ", "#135", "Lumivane.exe" }, { "MSZ", "#136", "Lumivane.hlp" }, { "MSZ", "#137", "Uninstall.exe" },
        { "MSZ", "#138", "Lumivane.txt" }, { "TEXT", "#134", "licence" },      { "#5", "#100", "About box" },
        { "#5", "#102", "install dialog" }, { "#5", "#131", "licence dialog" }, { "#5", "#132", "welcome" },
        { "#5", "#133", "backdrop" },      { "#14", "#128", "program icon" },  { "#14", "#130", "About icon" },
        { "#6", "#7", "strings 96-111 (101)" }, { "#24", "#1", "manifest" },    { "#16", "#1", "version" },
    };
    uint32_t nPayload = 0;
    for (const Expected& e : rgExpected) {
        uint32_t nSize = 0;
        EXPECT_TRUE(HasResource(image, e.pszType, e.pszName, &nSize))
            << e.pszWhat << " (type " << e.pszType << ", " << e.pszName << ", language 1033)";
        EXPECT_GT(nSize, 0u) << e.pszWhat;
        if (std::string(e.pszType) == "MSZ")
            nPayload += nSize;
    }
    EXPECT_EQ(0x14C, image.m_nMachine);
    EXPECT_EQ(2, image.m_nSubsystem);
    std::printf("InstallLV.exe (32-bit): %zu bytes, of which payload %u bytes; without the payload %zu bytes\n",
                image.m_nFileSize, nPayload, image.m_nFileSize - nPayload);
}
