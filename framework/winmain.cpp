#include "winapp.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    return AfxWinMain();
}

#if defined(__GLIBCXX__)
#include <cstdlib>
// The runtime's default terminate handler prints the demangled exception type
// to a console this program does not have, and its demangler would be a third
// of the program's size.
namespace __gnu_cxx {
void __verbose_terminate_handler()
{
    std::abort();
}
}  // namespace __gnu_cxx
#endif
