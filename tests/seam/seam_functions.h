// The seam's stand-ins for the listed platform calls, with their signatures.
#pragma once

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#define SEAM_CALL(R, name, params, args) R WINAPI Seam_##name params;
#include "calls.h"
#undef SEAM_CALL
