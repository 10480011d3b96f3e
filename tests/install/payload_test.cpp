// Payload extraction that succeeds: the embedded files, what InstallPayloadFile
// leaves in the current directory, and how it has the version library expand.
#include <gmock/gmock.h>

#include <algorithm>

#include "install/payload.h"
#include "payload_fixture.h"
#include "res/resource.h"
#include "tests/support/payload_sources.h"
#include "tests/support/test_support.h"

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

bool EndsWith(const std::string& str, const std::string& strEnd)
{
    return str.size() >= strEnd.size() && str.compare(str.size() - strEnd.size(), strEnd.size(), strEnd) == 0;
}

// Printable 7-bit ASCII in lines that each end in CR LF.
bool IsAsciiWithCrLf(const Bytes& text)
{
    for (size_t i = 0; i < text.size(); ++i) {
        unsigned char c = text[i];
        bool bLineEnd = (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ||
                        (c == '\n' && i > 0 && text[i - 1] == '\r');
        if (!bLineEnd && (c < 0x20 || c > 0x7E))
            return false;
    }
    return !text.empty() && text.back() == '\n';
}

}  // namespace

TEST_F(PayloadTest, BuildAndInstallerAgreeOnThePayloadTable)
{
    size_t nRow = 0;
    for (const PayloadFile& file : g_rgPayloadFiles) {
        if (nRow < PAYLOAD_SOURCE_COUNT && g_rgPayloadSources[nRow].nResourceId == file.nResourceId) {
            EXPECT_STREQ(file.lpszFileName, g_rgPayloadSources[nRow].pszFileName) << file.nResourceId;
            ++nRow;
        }
    }
    EXPECT_EQ(PAYLOAD_SOURCE_COUNT, nRow) << "the build embeds rows of the installer's table, in its order";
}

TEST_F(PayloadTest, EmbeddedPayloadIsWholeSzddFilesInUsEnglish)
{
    const unsigned char rgMagic[] = { 'S', 'Z', 'D', 'D', 0x88, 0xF0, 0x27, 0x33 };
    for (size_t i = 0; i < PAYLOAD_SOURCE_COUNT; ++i) {
        const PayloadSource& row = g_rgPayloadSources[i];
        Bytes stored = ResourceBytes(row.nResourceId);
        ASSERT_GT(stored.size(), 14u) << row.pszFileName;
        EXPECT_TRUE(std::equal(rgMagic, rgMagic + 8, stored.begin())) << row.pszFileName;
        EXPECT_EQ('A', stored[8]) << row.pszFileName;
        EXPECT_EQ(0, stored[9]) << row.pszFileName << ": no last character recorded";
        EXPECT_EQ(ReadFileBytes(row.pszBuiltFile).size(), StatedLength(stored)) << row.pszFileName;

        std::vector<LANGID> languages;
        ::EnumResourceLanguagesA(
            NULL, "MSZ", MAKEINTRESOURCEA(row.nResourceId),
            [](HMODULE, LPCSTR, LPCSTR, WORD wLanguage, LONG_PTR lParam) -> BOOL {
                reinterpret_cast<std::vector<LANGID>*>(lParam)->push_back(wLanguage);
                return TRUE;
            },
            reinterpret_cast<LONG_PTR>(&languages));
        EXPECT_THAT(languages, ElementsAre(1033)) << row.pszFileName;
    }
}

TEST_F(PayloadTest, EachPayloadExpandsToTheFileItWasMadeFrom)
{
    std::vector<int> results;
    RunInDialog([&](CDrivenInstall& d) {
        for (size_t i = 0; i < PAYLOAD_SOURCE_COUNT; ++i)
            results.push_back(d.InstallPayloadFile(g_rgPayloadSources[i].nResourceId, g_rgPayloadSources[i].pszFileName));
    });
    EXPECT_THAT(seam::g_boxes.m_records, IsEmpty());
    for (size_t i = 0; i < results.size(); ++i) {
        const PayloadSource& row = g_rgPayloadSources[i];
        EXPECT_EQ(1, results[i]) << row.pszFileName;
        bool bRead = false;
        Bytes installed = ReadFileBytes(row.pszFileName, &bRead);
        ASSERT_TRUE(bRead) << row.pszFileName;
        EXPECT_EQ(StatedLength(ResourceBytes(row.nResourceId)), installed.size()) << row.pszFileName;
        EXPECT_TRUE(installed == ReadFileBytes(row.pszBuiltFile)) << row.pszFileName;
        if (EndsWith(row.pszFileName, ".exe")) {
            EXPECT_TRUE(installed.size() > 2 && installed[0] == 'M' && installed[1] == 'Z') << row.pszFileName;
        }
        if (EndsWith(row.pszFileName, ".txt")) {
            EXPECT_TRUE(IsAsciiWithCrLf(installed)) << row.pszFileName;
        }
    }
    EXPECT_FALSE(FileExists("LV.MSZ"));
    EXPECT_FALSE(FileExists("LV.XXX"));
}

TEST_F(PayloadTest, InstalledFileCarriesTheFixedLocalTimeThreeTimes)
{
    ASSERT_EQ(1, Install(IDR_PAYLOAD_README, "Lumivane.txt"));
    FileTimes times;
    ASSERT_TRUE(ReadFileTimes("Lumivane.txt", &times));
    EXPECT_EQ(FIXED_STAMP, LocalTimeText(times.ftCreation));
    EXPECT_EQ(FIXED_STAMP, LocalTimeText(times.ftLastAccess));
    EXPECT_EQ(FIXED_STAMP, LocalTimeText(times.ftLastWrite));
    EXPECT_EQ(0, ::CompareFileTime(&times.ftCreation, &times.ftLastWrite));
    EXPECT_EQ(0, ::CompareFileTime(&times.ftLastAccess, &times.ftLastWrite));
}

TEST_F(PayloadTest, ReadOnlyEarlierCopyIsReplaced)
{
    ASSERT_TRUE(WriteFileBytes("Lumivane.hlp", BytesOf("an earlier copy")));
    ASSERT_TRUE(::SetFileAttributesA("Lumivane.hlp", FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(1, Install(IDR_PAYLOAD_HELP, "Lumivane.hlp"));
    EXPECT_THAT(seam::g_boxes.m_records, IsEmpty());
    EXPECT_TRUE(ReadFileBytes("Lumivane.hlp") == ReadFileBytes(BuiltFile(IDR_PAYLOAD_HELP)));
    EXPECT_FALSE(::GetFileAttributesA("Lumivane.hlp") & FILE_ATTRIBUTE_READONLY);
}

TEST_F(PayloadTest, VersionLibraryExpandsTheWholeCopyInTheCurrentDirectory)
{
    ReplaceVerInstallFile(EXPANSION_RECORDED);
    ASSERT_TRUE(WriteFileBytes("LV.XXX", BytesOf("left by an earlier run")));

    EXPECT_EQ(1, Install(IDR_PAYLOAD_README, "Lumivane.txt"));
    EXPECT_THAT(seam::g_boxes.m_records, IsEmpty());
    ASSERT_TRUE(g_expansion.bCalled);
    EXPECT_EQ(static_cast<DWORD>(VIFF_FORCEINSTALL), g_expansion.dwFlags);
    EXPECT_EQ("LV.MSZ", g_expansion.strSource);
    EXPECT_EQ("LV.XXX", g_expansion.strDest);
    EXPECT_EQ(m_strFolder, g_expansion.strSourceDir);
    EXPECT_EQ(m_strFolder, g_expansion.strDestDir);
    EXPECT_EQ(m_strFolder, g_expansion.strCurrentDir);
    EXPECT_TRUE(g_expansion.bTempBufferZeroed);
    EXPECT_EQ(static_cast<UINT>(MAX_PATH), g_expansion.nTempLength);
    EXPECT_TRUE(g_expansion.compressedCopy == ResourceBytes(IDR_PAYLOAD_README)) << "LV.MSZ complete and closed";
    EXPECT_TRUE(ReadFileBytes("Lumivane.txt") == ReadFileBytes(BuiltFile(IDR_PAYLOAD_README)))
        << "the stale LV.XXX was replaced";
}
