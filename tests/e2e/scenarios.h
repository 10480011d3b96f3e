// The scenarios, by name.
#pragma once

#include <string>

struct SScenario {
    const char* pszName;
    void (*pfnRun)();
};

const SScenario* FindScenario(const std::string& strName);
void PrintScenarioNames();
