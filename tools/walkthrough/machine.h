// The machine the installer works on, seen from outside it.
//   DefaultTargetDir  where an installation goes unless the user says otherwise
//   DesktopLink, ProgramsGroup  where its shortcuts go
//   ResetMachine      nothing of ours running, and no file, link or key of ours
//   CloseProduct      asks a running Lumivane to close, and ends it if it does not
//   Snapshot          what exists of ours, one line per file, link, key and
//                     value (and uninstaller copy left in the Windows folder's
//                     Temp, or in the user's temporary folder);
//                     keys and values from both registry views
//   ReadLink          a shortcut file, through the shell's link component
//   CMovedUserFolders the user's own folders below another, for a while
//   PrintAccount      the files with sizes and times, the links with their
//                     targets and the registry entries, as they stand
//   the rest          small helpers
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

extern const char PRODUCT_VERSION_KEY[];
extern const char APP_PATH_KEY[];
extern const char UNINSTALL_KEY[];
extern const char MAKER_KEY[];  // "SOFTWARE\Orvel Software", above the product's key
// The registry view the installer under test writes in: the 32-bit one for
// the shipped 32-bit program (the build sets LV_REGISTRY_VIEW).
const REGSAM INSTALLER_VIEW = LV_REGISTRY_VIEW;

std::string DefaultTargetDir();
std::string DesktopLink();
std::string ProgramsGroup();

void ResetMachine();
void CloseProduct();

typedef std::vector<std::string> CMachineState;
CMachineState Snapshot(const std::vector<std::string>& extraFolders = {});

struct SLink {
    std::string strTarget;
    std::string strWorkingDir;
    std::string strDescription;
    std::string strIconPath;
    int nIconIndex;
    int nShowCmd;
};
// False when the file cannot be loaded as a link.
bool ReadLink(const std::string& strPath, SLink& link);

void PrintAccount(const std::string& strTargetDir);

// Calls fn for each file or folder matching the pattern, but "." and "..".
void ForEachFile(const std::string& strPattern, const std::function<void(const WIN32_FIND_DATAA&)>& fn);
void RemoveTree(const std::string& strPath);
// With its final separator; empty when the system names none.
std::string TemporaryFolder();
// The Windows folder's Temp, with its final separator. The uninstaller's
// copies stand there ("LVU*": each in a folder of its own, or moved out of it).
std::string WindowsTempFolder();
// A file's or folder's owner and access list as the system writes them in
// text: "O:owner D:(A;flags;rights;;;trustee)..."; empty when unreadable.
std::string ReadAccessText(const std::string& strPath);
bool PathExists(const std::string& strPath);
std::string ReadWholeFile(const std::string& strPath);
// "YYYY-MM-DD hh:mm:ss.mmm", local time.
std::string LocalTimeText(const FILETIME& ft);
// False when the value does not exist; its type is given back as well. A
// REG_SZ text not stored with exactly one terminating NUL says so.
bool ReadMachineValue(const char* pszKey, const char* pszName, std::string& strData, DWORD* pnType = NULL);

// The user's Programs and Desktop folders (User Shell Folders) and the
// temporary folder of this program, and of those it starts, made anew below
// strUser (UTF-8) while the object lives.
class CMovedUserFolders
{
public:
    explicit CMovedUserFolders(const std::string& strUser);
    ~CMovedUserFolders();
    CMovedUserFolders(const CMovedUserFolders&) = delete;
    CMovedUserFolders& operator=(const CMovedUserFolders&) = delete;

private:
    HKEY m_hKey;
    std::vector<std::pair<std::string, std::string>> m_saved;  // name, data ("" where there was none)
};
