// One installation or removal of Lumivane at a time, machine-wide.
//   TakeSetupMutex    holds the set-up mutex until the process ends, unless
//                     another process holds it, it cannot be had, or the
//                     process lacks the rights to it
//   CreateSetupMutex  the set-up mutex itself, made or opened
//   g_szSetupMutex    its name where the system has no private namespaces
#pragma once

#include <windows.h>

extern const char g_szSetupMutex[];

enum ESetupTurn
{
    SETUP_TURN_TAKEN,      // this process holds it now
    SETUP_TURN_BUSY,       // another process does, or it cannot be made or opened
    SETUP_TURN_NO_RIGHTS,  // only a process with the administrators' rights may have it
};
// An inheritable hold passes to the programs this process starts with its
// handles.
ESetupTurn TakeSetupMutex(BOOL bInheritable);
// NULL when it can be neither made nor opened; GetLastError then tells
// ERROR_ALREADY_EXISTS from a new one.
HANDLE CreateSetupMutex(BOOL bInheritable);
