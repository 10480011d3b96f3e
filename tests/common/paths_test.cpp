// Path text read by character in the code page the test program runs in;
// ctest runs these under 932, 936, 949 and 950 as well, where a character's
// second byte may be a backslash's.
#include <gmock/gmock.h>

#include "common/paths.h"
#include "tests/support/support.h"

using ::testing::ElementsAre;

// One folder has one identity: full path, long name, upper case, no trailing
// separator; "Strasse" and its spelling with the sharp s are two
// (tests/dialogs). A browsed folder ending in such a character:
// tests/install/target_check_test.cpp.
TEST(PathText, SeparatorsAreFoundByCharacterAndAFolderIsOneWhateverItsSpelling)
{
    for (const std::string& c : TwoByteCharacters()) {
        // A level's start, middle and end; a trailing separator after one.
        EXPECT_THAT(SplitLevels("T:\\" + c + "a\\b" + c + "c\\d" + c), ElementsAre(c + "a", "b" + c + "c", "d" + c));
        EXPECT_THAT(SplitLevels("T:\\a" + c + "\\"), ElementsAre("a" + c, "")) << c;
        EXPECT_EQ("T:\\" + c, DirectoryOfFile("T:\\" + c + "\\Uninstall.exe"));
        EXPECT_EQ("T:\\", DirectoryOfFile("T:\\" + c));
        EXPECT_EQ(c + "x" + c, FileNamePart("T:\\a/" + c + "x" + c));
        EXPECT_EQ("T:\\a" + c + "\\Uninstall.exe", JoinPath("T:\\a" + c, "Uninstall.exe"));
        EXPECT_EQ("T:\\Uninstall.exe", JoinPath("T:\\", "Uninstall.exe"));

        const std::string strLong = "T:\\" + c + "Long folder name";
        ::CreateDirectoryA(strLong.c_str(), NULL);
        char szShort[MAX_PATH] = "";
        ::GetShortPathNameA(strLong.c_str(), szShort, MAX_PATH);
        EXPECT_EQ(1, IsSameFolder("T:\\run\\..\\" + c + "long FOLDER name\\", szShort)) << szShort;
        ::RemoveDirectoryA(strLong.c_str());
    }
}
