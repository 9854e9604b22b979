// The shape every result line has: its label, an optional minus, digits, a point, two
// digits and a unit. Shared by the tests that look at lines they did not choose.
#pragma once

#include <cstring>

#include "core/storage_estimate.h"

inline const char* ResultLineLabel(LineKind kind)
{
    const char* const labels[] = {"POR HORA: ", " POR DIA: ", "  TOTAL: "};
    return labels[static_cast<int>(kind)];
}

inline bool IsResultLine(const char* text, LineKind kind)
{
    const char* label = ResultLineLabel(kind);
    std::size_t labelLength = std::strlen(label);
    std::size_t length = strnlen(text, RESULT_TEXT_SIZE);
    if (length >= RESULT_TEXT_SIZE || length < labelLength + 7 ||
        std::strncmp(text, label, labelLength) != 0) {
        return false;
    }
    const char* unit = text + length - 3;
    if (std::strcmp(unit, " MB") != 0 && std::strcmp(unit, " GB") != 0 &&
        std::strcmp(unit, " TB") != 0) {
        return false;
    }
    const char* p = text + labelLength;
    if (*p == '-') {
        ++p;
    }
    const char* point = unit - 3;
    if (p >= point || *point != '.') {
        return false;
    }
    for (; p < unit; ++p) {
        if (p != point && (*p < '0' || *p > '9')) {
            return false;
        }
    }
    return true;
}
