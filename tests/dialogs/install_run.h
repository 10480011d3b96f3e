// A whole installation run in the test's own folder on T:, for the install
// and cancel sequence tests.
//   InstallRunTest  the fixture: folders, registry and flags made clean; the
//                   status line, the boxes and the program start recorded
//   Inventory       what a run left on disk, in the links and in the registry
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/install_session.h"
#include "tests/support/registry_support.h"

struct Inventory
{
    std::vector<std::string> target;   // names in the target directory; "<none>" when it is gone
    std::vector<std::string> desktop;  // names on the desktop
    std::vector<std::string> group;    // names in the Start Menu group; "<none>" when it is gone
    std::vector<std::string> keys;     // which of the product's three keys exist
};

struct ProgramStart
{
    std::string strVerb, strFile, strDirectory;
    bool bHasParameters = false;
    int nShowCmd = -1;
    size_t nBoxesBefore = 0;
};

class InstallRunTest : public ::testing::Test
{
protected:
    InstallRunTest();
    void SetUp() override;
    void TearDown() override;
    // No installation, links or entries of the product, and no flags set.
    void CleanMachine();

    std::string Target() const { return m_folder / "Program Files\\Lumivane"; }
    std::string Desktop() const { return m_folder / "Desktop"; }
    std::string Group() const { return m_folder / "Programs\\Lumivane"; }

    // The boxes shown since the test began, as their texts.
    std::vector<std::string> BoxTexts() const;
    std::vector<bool> Flags() const;
    Inventory TakeInventory() const;

    CTestFolder m_folder;
    std::vector<std::string> m_statuses;
    std::vector<ProgramStart> m_starts;
    bool m_bStartForReal = false;
};

