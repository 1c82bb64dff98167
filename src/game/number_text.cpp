// Leading decimal numbers and bounded name copies.
#include "game/number_text.h"

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace Quillory {

double LeadingNumber(const char* text) {
    if (text == nullptr) {
        return 0;
    }
    // Only plain decimal text counts: sign, digits, a point, an exponent. strtod alone would also
    // take hexadecimal, "inf" and "nan".
    char buffer[64];
    int length = 0;
    const char* p = text;
    while (*p == ' ' || *p == '\t' || *p == '\n' || *p == '\r') {
        ++p;
    }
    auto take = [&](char c) {
        if (length < static_cast<int>(sizeof(buffer)) - 1) {
            buffer[length++] = c;
        }
    };
    if (*p == '+' || *p == '-') {
        take(*p++);
    }
    int digits = 0;
    while (std::isdigit(static_cast<unsigned char>(*p))) {
        take(*p++);
        ++digits;
    }
    if (*p == '.') {
        take(*p++);
        while (std::isdigit(static_cast<unsigned char>(*p))) {
            take(*p++);
            ++digits;
        }
    }
    if (digits == 0) {
        return 0;
    }
    if ((*p == 'e' || *p == 'E') &&
        (std::isdigit(static_cast<unsigned char>(p[1])) ||
         ((p[1] == '+' || p[1] == '-') && std::isdigit(static_cast<unsigned char>(p[2]))))) {
        take(*p++);
        if (*p == '+' || *p == '-') {
            take(*p++);
        }
        while (std::isdigit(static_cast<unsigned char>(*p))) {
            take(*p++);
        }
    }
    buffer[length] = '\0';
    const double value = std::strtod(buffer, nullptr);
    if (!std::isfinite(value)) {
        return value > 0 ? kMaxFileNumber : (value < 0 ? -kMaxFileNumber : 0);
    }
    if (value > kMaxFileNumber) {
        return kMaxFileNumber;
    }
    if (value < -kMaxFileNumber) {
        return -kMaxFileNumber;
    }
    return value;
}

bool CopyName(char* out, int size, const char* text) {
    if (out == nullptr || size <= 0) {
        return false;
    }
    if (text == nullptr) {
        out[0] = '\0';
        return true;
    }
    const size_t length = std::strlen(text);
    const size_t kept = length < static_cast<size_t>(size - 1) ? length : size - 1;
    std::memcpy(out, text, kept);
    out[kept] = '\0';
    return kept == length;
}

}  // namespace Quillory
