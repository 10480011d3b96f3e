// The built installer as a file: what Windows' loader will see.
#include <gtest/gtest.h>
#include <gmock/gmock.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <set>

#include "pe_image.h"
#include "common/integrity.h"
#include "szdd_codec.h"

namespace {

std::string Lower(std::string str)
{
    std::transform(str.begin(), str.end(), str.begin(), [](unsigned char c) { return std::tolower(c); });
    return str;
}

// Known DLLs: the system takes them from its own folder, whatever stands
// beside the program. Any other import could be planted there.
bool IsSystemDll(const std::string& strName)
{
    static const std::set<std::string> system = { "kernel32.dll", "user32.dll",   "gdi32.dll", "shell32.dll",
                                                   "ole32.dll",    "oleaut32.dll", "advapi32.dll", "msvcrt.dll" };
    return system.count(Lower(strName)) > 0;
}

}  // namespace

// Every program the build makes is a GUI program of its target that needs
// nothing beside it but Windows itself; the installer loads the version
// library itself, so that it can still say when it is missing.
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
        { LV_INSTALLER_WIN64, 0x8664, 0x20B },    // x86-64, PE32+: the tests' build
    };
    for (const Build& build : rgBuilds) {
        CPeImage image;
        ASSERT_TRUE(image.Load(build.pszPath)) << image.m_strError;
        EXPECT_EQ(build.nMachine, image.m_nMachine) << build.pszPath;
        EXPECT_EQ(build.nMagic, image.m_nMagic) << build.pszPath;
        EXPECT_EQ(2, image.m_nSubsystem) << "Windows GUI: " << build.pszPath;
        ASSERT_FALSE(image.m_importedDlls.empty()) << build.pszPath;
        for (const std::string& strDll : image.m_importedDlls) {
            EXPECT_TRUE(IsSystemDll(strDll)) << strDll << " would have to travel beside " << build.pszPath;
            EXPECT_NE("version.dll", Lower(strDll)) << build.pszPath;
        }
    }
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
        { "MSZ", "#138", "Lumivane.txt" }, { "MSZCRC", "#135", "sum" },        { "MSZCRC", "#136", "sum" },
        { "MSZCRC", "#137", "sum" },        { "MSZCRC", "#138", "sum" },        { "TEXT", "#134", "licence" },      { "#5", "#100", "About box" },
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
    std::vector<unsigned char> bytes;
    std::string strError;
    ASSERT_TRUE(ReadWholeFile(LV_INSTALLER_WIN32, bytes, strError)) << strError;
    EXPECT_TRUE(IsImageWhole(bytes.data(), bytes.size())) << "the program would refuse to start";
    std::printf("InstallLV.exe (32-bit): %zu bytes, of which payload %u bytes; without the payload %zu bytes\n",
                image.m_nFileSize, nPayload, image.m_nFileSize - nPayload);
}

// Both programs that change Program Files and HKEY_LOCAL_MACHINE ask for
// elevation by declaration, not by the system's guess from the file name.
TEST(ArtifactTest, InstallerAndUninstallerDeclareElevationSystemsAndDpiAwareness)
{
    for (const char* pszPath : { LV_INSTALLER_WIN32, LV_UNINSTALLER_WIN32 }) {
        CPeImage image;
        ASSERT_TRUE(image.Load(pszPath)) << image.m_strError;
        auto manifest = std::find_if(image.m_resources.begin(), image.m_resources.end(),
                                     [](const CPeImage::Resource& r) { return r.strType == "#24" && r.strName == "#1"; });
        ASSERT_NE(manifest, image.m_resources.end()) << "no manifest in " << pszPath;
        for (const char* pszDeclared : { "level=\"requireAdministrator\"", "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}",
                                         ">true</dpiAware>", ">UTF-8</activeCodePage>" })
            EXPECT_THAT(manifest->strData, ::testing::HasSubstr(pszDeclared)) << pszPath;
    }
}
