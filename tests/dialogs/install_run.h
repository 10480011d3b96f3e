// The install dialog run in a test, on a machine without the product, with
// its installations going below the test's own folder on T:.
//   InstallRunTest  the fixture: machine, flags and seam made clean
//   Run             the dialog, with the steps run once its set-up is done;
//                   a dialog the steps leave open is ended
//   TypeTarget      what a user's typing into the target field does
//   FailResource / FailLink  faults of the payload resources and the link component
//   ReplaceExport   GetProcAddress finds pfn (NULL: nothing) for that name
//   Leftovers       what of ours is on the machine: every file and folder
//                   below the test's folder, the links and the keys
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "dialogs/install_dialog.h"
#include "tests/support/support.h"

typedef CDriven<CInstallDialog> CDrivenInstall;

const char RUN_ROOT[] = "T:\\run";

class InstallRunTest : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    static INT_PTR Run(const std::function<void(CDrivenInstall&)>& fnSteps);
    static std::vector<bool> Flags();
    static std::vector<std::string> Leftovers();
};

void TypeTarget(CDrivenInstall& dlg, const std::string& strTarget);
void FailResource(UINT nId);
void FailLink(int nFailing);
void ReplaceExport(const char* pszName, FARPROC pfn);
