// The product's registry entries, written and deleted for real in the
// prefix's HKEY_LOCAL_MACHINE.
#include <gtest/gtest.h>
#include <gmock/gmock.h>

#include <ctime>

#include "dialogs/install_dialog.h"
#include "install/registry.h"
#include "tests/seam/seam.h"
#include "tests/support/registry_support.h"

namespace {

const std::string PRODUCT = "SOFTWARE\\Orvel Software\\Lumivane";
const std::string VERSION = PRODUCT + "\\1.10";
const std::string APP_PATH = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\Lumivane.exe";
const std::string UNINSTALL = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Lumivane";

class RegistryTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        seam::Reset();
        RemoveProductEntries();
    }
    void TearDown() override
    {
        seam::Reset();
        RemoveProductEntries();
    }

    int Write(const std::string& strTarget)
    {
        CInstallDialog dlg;
        dlg.m_strTargetDir = strTarget;
        return dlg.WriteRegistryEntries();
    }

    bool NothingOfOursIsThere() const
    {
        return !KeyExists(PRODUCT) && !KeyExists(APP_PATH) && !KeyExists(UNINSTALL);
    }
};

void ExpectText(const std::string& strKey, const char* pszName, const std::string& strExpected)
{
    DWORD dwType = 0, cbSize = 0;
    EXPECT_EQ(strExpected, ReadValue(strKey, pszName, &dwType, &cbSize)) << strKey << " " << pszName;
    EXPECT_EQ(static_cast<DWORD>(REG_SZ), dwType) << strKey << " " << pszName;
    EXPECT_EQ(strExpected.size() + 1, cbSize) << "stored with its NUL: " << strKey << " " << pszName;
}

}  // namespace

TEST_F(RegistryTest, OneWriteGivesTheWholeLayout)
{
    unsigned long long nBefore = static_cast<unsigned long long>(std::time(NULL));
    ASSERT_EQ(1, Write("T:\\Apps\\Lumivane"));
    unsigned long long nAfter = static_cast<unsigned long long>(std::time(NULL));

    std::string strTime = ReadValue(VERSION, "");
    ASSERT_FALSE(strTime.empty());
    EXPECT_EQ(std::string::npos, strTime.find_first_not_of("0123456789")) << strTime;
    EXPECT_NE('0', strTime[0]);
    unsigned long long nTime = std::stoull(strTime);
    EXPECT_GE(nTime, nBefore);
    EXPECT_LE(nTime, nAfter);
    ExpectText(VERSION, "", strTime);

    ExpectText(APP_PATH, "", "T:\\Apps\\Lumivane\\Lumivane.exe");
    ExpectText(APP_PATH, "Path", "T:\\Apps\\Lumivane");
    ExpectText(UNINSTALL, "DisplayName", "Lumivane 1.10");
    ExpectText(UNINSTALL, "UninstallString", "T:\\Apps\\Lumivane\\Uninstall.exe");
    for (const std::string& strKey : { VERSION, APP_PATH, UNINSTALL })
        EXPECT_EQ("Lumivane", KeyClass(strKey)) << strKey;
}

TEST_F(RegistryTest, SecondWriteOverwritesAndLeavesOtherVersions)
{
    PutValue(PRODUCT + "\\0.90", "", "12345");
    ASSERT_EQ(1, Write("T:\\First"));
    std::string strFirstTime = ReadValue(VERSION, "");
    ::Sleep(1100);
    ASSERT_EQ(1, Write("T:\\Second"));
    EXPECT_GT(std::stoull(ReadValue(VERSION, "")), std::stoull(strFirstTime));
    EXPECT_EQ("T:\\Second", ReadValue(APP_PATH, "Path"));
    EXPECT_EQ("T:\\Second\\Uninstall.exe", ReadValue(UNINSTALL, "UninstallString"));
    EXPECT_EQ("12345", ReadValue(PRODUCT + "\\0.90", ""));
}

TEST_F(RegistryTest, TrailingBackslashIsKeptAsGiven)
{
    ASSERT_EQ(1, Write("T:\\Dir\\"));
    EXPECT_EQ("T:\\Dir\\\\Lumivane.exe", ReadValue(APP_PATH, ""));
    EXPECT_EQ("T:\\Dir\\", ReadValue(APP_PATH, "Path"));
    EXPECT_EQ("T:\\Dir\\\\Uninstall.exe", ReadValue(UNINSTALL, "UninstallString"));
}

TEST_F(RegistryTest, FailuresLeaveNoHalfWrittenEntry)
{
    seam::g_hooks.fnRegCreateKeyExA = [](HKEY hKey, LPCSTR pszKey, DWORD, LPSTR pszClass, DWORD dwOptions,
                                         REGSAM sam, LPSECURITY_ATTRIBUTES psa, PHKEY phk, LPDWORD pdw) -> LONG {
        if (APP_PATH == pszKey)
            return ERROR_ACCESS_DENIED;
        return seam::RealRegCreateKeyExA(hKey, pszKey, 0, pszClass, dwOptions, sam, psa, phk, pdw);
    };
    EXPECT_EQ(0, Write("T:\\Apps"));
    EXPECT_TRUE(NothingOfOursIsThere());

    seam::Reset();
    seam::g_hooks.fnRegSetValueExA = [](HKEY hKey, LPCSTR pszName, DWORD, DWORD dwType, const BYTE* p, DWORD cb) {
        if (std::string(pszName) == "UninstallString")
            return static_cast<LONG>(ERROR_ACCESS_DENIED);
        return seam::RealRegSetValueExA(hKey, pszName, 0, dwType, p, cb);
    };
    EXPECT_EQ(0, Write("T:\\Apps"));
    EXPECT_TRUE(NothingOfOursIsThere());
}

TEST_F(RegistryTest, ValuesThatWouldNotFitAreNeverWritten)
{
    std::string strFits = "T:\\" + std::string(259 - 3 - 14, 'd');  // + "\Uninstall.exe" is 259
    ASSERT_EQ(1, Write(strFits));
    EXPECT_EQ(259u, ReadValue(UNINSTALL, "UninstallString").size());
    RemoveProductEntries();

    EXPECT_EQ(0, Write(strFits + "d"));
    EXPECT_TRUE(NothingOfOursIsThere());
}

TEST_F(RegistryTest, TreeGoesChildrenFirstAndNothingBesideIt)
{
    PutValue(PRODUCT + "\\1.10\\Deep\\Deeper", "x", "1");
    PutValue(PRODUCT + "\\1.10\\Other", "x", "2");
    PutValue(PRODUCT + "\\0.90", "x", "3");
    PutValue("SOFTWARE\\Orvel Software\\Sibling", "x", "4");

    DeleteRegistryTree("SOFTWARE\\Orvel Software", "Lumivane");
    EXPECT_FALSE(KeyExists(PRODUCT));
    EXPECT_EQ("4", ReadValue("SOFTWARE\\Orvel Software\\Sibling", "x"));

    PutValue(PRODUCT + "\\Leaf", "x", "5");
    DeleteRegistryTree("SOFTWARE\\Orvel Software\\Lumivane", "Leaf");
    EXPECT_FALSE(KeyExists(PRODUCT + "\\Leaf"));
    EXPECT_TRUE(KeyExists(PRODUCT));
}

TEST_F(RegistryTest, NothingIsDeletedWithoutAName)
{
    PutValue(PRODUCT + "\\1.10", "", "1");
    DeleteRegistryTree("SOFTWARE\\Orvel Software", "");
    DeleteRegistryTree("SOFTWARE\\Orvel Software\\Lumivane", "");
    EXPECT_TRUE(KeyExists(PRODUCT + "\\1.10"));
    DeleteRegistryTree("SOFTWARE\\No Such Maker", "Lumivane");
    EXPECT_TRUE(KeyExists(PRODUCT + "\\1.10"));

    HKEY hKey;
    ASSERT_EQ(ERROR_SUCCESS, ::RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Orvel Software", 0, KEY_READ, &hKey));
    EXPECT_EQ(ERROR_BADKEY, DeleteKeyRecursive(hKey, ""));
    EXPECT_EQ(ERROR_BADKEY, DeleteKeyRecursive(hKey, NULL));
    EXPECT_EQ(ERROR_CANTOPEN, DeleteKeyRecursive(hKey, "Missing"));
    EXPECT_EQ(ERROR_SUCCESS, DeleteKeyRecursive(hKey, "Lumivane"));
    ::RegCloseKey(hKey);
    EXPECT_FALSE(KeyExists(PRODUCT));
}
