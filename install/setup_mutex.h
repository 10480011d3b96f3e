// One installation or removal of Lumivane at a time, machine-wide.
//   TakeSetupMutex    holds the set-up mutex until the process ends, unless
//                     another process holds it or it cannot be had
//   CreateSetupMutex  the set-up mutex itself, made or opened
//   g_szSetupMutex    its name where the system has no private namespaces
#pragma once

#include <windows.h>

extern const char g_szSetupMutex[];

// Nonzero when this process now holds the mutex; zero when another does, or
// when it cannot be made or opened. An inheritable hold passes to the
// programs this process starts with its handles.
int TakeSetupMutex(BOOL bInheritable);
// NULL when it can be neither made nor opened; GetLastError then tells
// ERROR_ALREADY_EXISTS from a new one.
HANDLE CreateSetupMutex(BOOL bInheritable);
