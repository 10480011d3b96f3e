#include "running_product.h"

const char g_szProductMutex[] = "Orvel_LV_Mutex";

// Every title the product has shown, the empty entry ending the table.
static const char* const s_rgszProductTitles[] = {
    "Lumivane",
    "Lumivane BETA 1",
    "Lumivane BETA 2",
    "Lumivane BETA 3",
    "Lumivane BETA 4",
    "Lumivane BETA 5",
    "Lumivane BETA 6",
    "Lumivane BETA 7",
    "Lumivane BETA 8",
    "Lumivane BETA 9",
    "Lumivane BETA 10",
    "Lumivane BETA 11",
    "Lumivane BETA 12",
    "Lumivane BETA 13",
    "Lumivane BETA 14",
    "Lumivane BETA 15",
    "Lumivane BETA 16",
    "",
};

int FindProductWindow(int nFirst, HWND* phWnd)
{
    for (int i = nFirst; s_rgszProductTitles[i][0] != '\0'; ++i) {
        HWND hWnd = ::FindWindowA(NULL, s_rgszProductTitles[i]);
        if (hWnd != NULL) {
            *phWnd = hWnd;
            return i;
        }
    }
    return -1;
}
