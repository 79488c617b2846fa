// Small text operations shared by the core.
#pragma once

#include "platform/platform.h"

// Replaces every non-overlapping occurrence of find, left to right, without
// rescanning inserted text. An empty find changes nothing.
inline Text replaceAll(const Text& text, const Text& find, const Text& replacement) {
    if (find.empty()) return text;
    Text out;
    out.reserve(text.size());
    size_t start = 0;
    for (size_t hit; (hit = text.find(find, start)) != Text::npos; start = hit + find.size()) {
        out.append(text, start, hit - start);
        out += replacement;
    }
    out.append(text, start, Text::npos);
    return out;
}

// Removes leading and trailing U+0020 only; tabs and line breaks stay.
inline Text trimSpaces(const Text& text) {
    const size_t first = text.find_first_not_of(u' ');
    if (first == Text::npos) return Text();
    return text.substr(first, text.find_last_not_of(u' ') - first + 1);
}
