// A previous installation found at the install dialog's set-up: Yes removes
// what an installation makes and nothing else; No ends with nothing removed.
#include <gmock/gmock.h>

#include <shlwapi.h>

#include "res/resource.h"
#include "tests/dialogs/install_run.h"

using ::testing::ElementsAre;

namespace {

const char OLD_FOLDER[] = "T:\\run\\Old";
const char OTHER_PRODUCT_KEY[] = "SOFTWARE\\Orvel Software\\Other Product";
const char NOTE_TEXT[] =
    "This will overwrite any previous installation:\r\n\r\nAre you sure you want to continue installing Lumivane?";

class PreviousInstallTest : public InstallRunTest
{
protected:
    void SetUp() override
    {
        InstallRunTest::SetUp();
        ::CreateDirectoryA(OLD_FOLDER, NULL);
        ::CreateDirectoryA((std::string(OLD_FOLDER) + "\\Lumivane.sub").c_str(), NULL);
        // ver2c2b.tmp: what the version library leaves when an expansion is cut short.
        for (const char* pszName : { "Lumivane.exe", "Lumivane.hlp", "Lumivane.txt", "Uninstall.exe", "Notes.txt",
                                     "ver2c2b.tmp", "VERSION.TMP", "VER12345.TMP" })
            WriteText(std::string(OLD_FOLDER) + "\\" + pszName, "old");
        ::CreateDirectoryA(ProductGroup().c_str(), NULL);
        for (const char* pszName : { "Lumivane.lnk", "Lumivane Help.lnk", "Uninstall Lumivane.lnk", "Other.lnk" })
            WriteText(ProductGroup() + "\\" + pszName, "link");
        PutValue(std::string(PRODUCT_KEY) + "\\1.10", "", "1");
        PutValue(APP_PATH_KEY, "Path", OLD_FOLDER);
        PutValue(UNINSTALL_KEY, "DisplayName", "Lumivane 1.10");
        PutValue(OTHER_PRODUCT_KEY, "", "kept");
    }
    void TearDown() override
    {
        InstallRunTest::TearDown();
        ::SHDeleteKeyA(HKEY_LOCAL_MACHINE, OTHER_PRODUCT_KEY);
    }
};

}  // namespace

TEST_F(PreviousInstallTest, YesRemovesWhatAnInstallationMadeAndProposesItsFolder)
{
    std::string strProposed;
    Run([&](CDrivenInstall& d) { strProposed = d.m_strTargetDir; });
    EXPECT_THAT(seam::g_boxes.Texts(), ElementsAre(NOTE_TEXT));
    EXPECT_EQ(OLD_FOLDER, strProposed);
    EXPECT_THAT(Leftovers(), ElementsAre("Old", "Old\\Lumivane.sub", "Old\\Notes.txt", "Old\\VER12345.TMP",
                                         "Old\\VERSION.TMP", "group", "group\\Other.lnk"));
    EXPECT_TRUE(KeyExists(OTHER_PRODUCT_KEY));
}

TEST_F(PreviousInstallTest, NoEndsTheInstallerWithNothingRemoved)
{
    std::vector<std::string> before = Leftovers();
    seam::g_boxes.m_answers.push_back(IDNO);
    EXPECT_EXIT(Run([](CDrivenInstall&) {}), ::testing::ExitedWithCode(0), ShowsBoxes({ Box(NOTE_TEXT, "Note", 0x34) }));
    EXPECT_EQ(before, Leftovers());
}

TEST_F(PreviousInstallTest, RegistryValuesThatWouldNotFitAreNeverWritten)
{
    RemoveProductEntries();
    int nWritten = -1;
    Run([&](CDrivenInstall& d) {
        d.m_strTargetDir = std::string(OLD_FOLDER) + "\\" + std::string(250, 'x');
        nWritten = d.WriteRegistryEntries();
    });
    EXPECT_EQ(0, nWritten);
    for (const char* pszKey : { PRODUCT_KEY, APP_PATH_KEY, UNINSTALL_KEY })
        EXPECT_FALSE(KeyExists(pszKey)) << pszKey;
}
