// One installation or removal of Lumivane at a time, machine-wide.
//   TakeSetupMutex  holds the set-up mutex until the process ends, unless
//                   another process holds it
//   g_szSetupMutex  its name
#pragma once

#include <windows.h>

extern const char g_szSetupMutex[];

// Nonzero when this process now holds the mutex; zero when another does. An
// inheritable hold passes to the programs this process starts with its handles.
int TakeSetupMutex(BOOL bInheritable);
