#include "context_hash.h"

namespace {

// Weight of one character of a context id; 0 for characters an id may not hold.
// Digits 1-9 weigh 1-9 and '0' weighs 10, letters of either case weigh 17-42.
uint32_t GetCharacterWeight(char ch)
{
    if (ch >= '1' && ch <= '9')
        return static_cast<uint32_t>(ch - '0');
    if (ch == '0')
        return 10;
    if (ch == '.')
        return 12;
    if (ch == '_')
        return 13;
    if (ch >= 'A' && ch <= 'Z')
        return 17 + static_cast<uint32_t>(ch - 'A');
    if (ch >= 'a' && ch <= 'z')
        return 17 + static_cast<uint32_t>(ch - 'a');
    return 0;
}

}  // namespace

int IsValidContextId(const std::string& strId)
{
    if (strId.empty() || strId.size() > 255)
        return 0;
    for (char ch : strId)
        if (GetCharacterWeight(ch) == 0)
            return 0;
    return 1;
}

uint32_t HashContextId(const std::string& strId)
{
    if (strId.empty())
        return 1;
    uint32_t nHash = 0;
    for (char ch : strId)
        nHash = nHash * 43 + GetCharacterWeight(ch);
    return nHash;
}
