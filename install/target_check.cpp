// CheckTargetDirectory: the target directory made to exist and made current.
#include "dialogs/install_dialog.h"

#include "common/paths.h"
#include "install/free_space.h"

static const char s_szInvalidPath[] = "Please specify a valid disk drive and path";

// The drive named by a path's first character becomes the current drive.
static BOOL MakeDriveCurrent(char chDrive)
{
    if (chDrive >= 'a' && chDrive <= 'z')
        chDrive = static_cast<char>(chDrive - 'a' + 'A');
    const char szDrive[3] = { chDrive, ':', '\0' };
    return ::SetCurrentDirectoryA(szDrive);
}

// All but the last level, where the levels spell the path exactly (no
// level empty, no separator doubled or trailing); empty otherwise.
static std::string ParentOfLevels(const std::string& strPath, const std::vector<std::string>& levels)
{
    if (levels.size() < 2 || levels.back().empty())
        return std::string();
    std::string strParent = strPath.substr(0, 2);
    for (size_t i = 0; i + 1 < levels.size(); ++i)
        strParent += "\\" + levels[i];
    return strParent + "\\" + levels.back() == strPath ? strParent : std::string();
}

// Creates each level below the current drive's root and enters it; the
// process stays in the deepest level entered.
static BOOL EnterLevels(const std::string& strPath)
{
    // The walk takes two calls a level, and the Start Menu group, nine levels
    // deep, is checked before each of its links. A folder that is there
    // already is entered in one call; below a parent that is there, only the
    // last level is made.
    if (::SetCurrentDirectoryA(strPath.c_str()))
        return TRUE;
    std::vector<std::string> levels = SplitLevels(strPath);
    size_t nFirst = 0;
    std::string strParent = ParentOfLevels(strPath, levels);
    if (!strParent.empty() && ::SetCurrentDirectoryA(strParent.c_str()))
        nFirst = levels.size() - 1;
    for (size_t i = nFirst; i < levels.size(); ++i) {
        ::CreateDirectoryA(levels[i].c_str(), NULL);  // an existing level is no error
        if (!::SetCurrentDirectoryA(levels[i].c_str()))
            return FALSE;
    }
    return TRUE;
}

int CInstallDialog::CheckTargetDirectory(std::string strPath)
{
    // Every path the installation builds from it has to fit too; refused
    // before anything on the machine changes.
    if (strPath.size() > MAX_PATH_TEXT) {
        ShowInstallError(0, "Please specify a valid disk drive and path:\r\n"
                            "the path is longer than 259 characters");
        return 0;
    }
    if (strPath.size() < 2 || strPath[1] != ':') {
        ShowInstallError(0, s_szInvalidPath);
        return 0;
    }
    std::string strDrive = strPath.substr(0, 2);
    if (!MakeDriveCurrent(strPath[0])) {
        ShowInstallError(0, ("Can't access drive " + strDrive).c_str());
        return 0;
    }
    if (strPath.size() < 3 || strPath[2] != '\\') {
        ShowInstallError(0, s_szInvalidPath);
        return 0;
    }
    ::SetCurrentDirectoryA("\\");

    switch (DetermineFreeSpace(strDrive)) {
    case FREE_SPACE_UNKNOWN: {
        std::string strQuestion = "Cannot determine the amount of free space on drive " + strDrive +
                                  "\r\nDo you want to procede with the installation anyway?";
        if (MessageBox(strQuestion.c_str(), "WARNING", MB_YESNO | MB_ICONQUESTION) == IDNO)
            return 0;
        break;
    }
    case FREE_SPACE_SHORT:
        ShowInstallError(0, ("Insufficient disk space on drive " + strDrive).c_str());
        return 0;
    case FREE_SPACE_ENOUGH:
        break;
    }

    if (!EnterLevels(strPath)) {
        ShowInstallError(0, ("Error creating directory " + strPath).c_str());
        return 0;
    }
    return 1;
}
