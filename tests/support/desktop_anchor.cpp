// Keeps Wine's desktop process alive for a whole test session. Without a
// program on the desktop, Wine ends the desktop after each test program and
// starts it anew with the next, and the new one holds the test runner's
// output open for a second after every test.
#include <windows.h>

int main()
{
    ::CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, NULL, NULL, NULL);
    ::Sleep(INFINITE);
    return 0;
}
