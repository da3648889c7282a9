#include "color/edit_number.h"

int32_t ReadEditNumber(const char* text)
{
    if (text == nullptr)
        return 0;
    const char* p = text;
    while (*p == ' ')
        ++p;
    if (*p < '0' || *p > '9')
        return 0;
    // 64 bits hold any 32-bit value times ten plus a digit, so the first digit
    // that takes the number past the unsigned range is seen before it can wrap.
    uint64_t number = 0;
    for (; *p >= '0' && *p <= '9'; ++p) {
        number = number * 10u + static_cast<uint64_t>(*p - '0');
        if (number > UINT32_MAX)
            return 0;
    }
    return static_cast<int32_t>(static_cast<uint32_t>(number));
}
