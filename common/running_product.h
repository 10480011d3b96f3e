// Finding a running copy of the product by its window title.
//   FindProductWindow  searches the product's titles from a position in their table
#pragma once

#include <windows.h>

// The close request a running copy of the product answers by closing itself.
const UINT WM_PRODUCT_CLOSE_REQUEST = WM_USER + 0x101;

// The mutex a running copy of the product holds.
extern const char g_szProductMutex[];

// Position in the title table of the first title from nFirst on that names a
// top-level window, with that window in *phWnd; -1 when none does.
int FindProductWindow(int nFirst, HWND* phWnd);
