#pragma once

#include <string>
#include <string_view>

namespace lumetra {

// Number reading with the C library's rules but always with "." as the decimal point and within
// a bounded range (never a whole-file buffer handed to sscanf, whose cost grows with the rest).

// Like scanf's "%lf": skips white space, then reads a decimal, hexadecimal, "inf" or "nan" number
// with an optional sign. On success advances p past the number and returns true; on failure
// leaves p after the white space and returns false.
bool ScanDouble(const char*& p, const char* end, double& out);

// Like scanf's "%d": skips white space, an optional sign, decimal digits. A value beyond the
// range of int saturates.
bool ScanInt(const char*& p, const char* end, int& out);

// A whole number as an integer field takes it: optional blanks, an optional sign, digits and
// optional blanks, nothing else. False for anything else, "" included.
bool ReadWholeNumber(std::string_view text, int& value);

// Like strtod / atoi on the text: what cannot be read gives 0.
double TextToDouble(std::string_view text);
int TextToInt(std::string_view text);

// Removes leading and trailing C white space in place.
void TrimCSpace(std::string& text);

// ' ', '\t', '\n', '\v', '\f', '\r': the C locale's white space.
inline bool IsCSpace(char c) {
    return c == ' ' || unsigned(c - '\t') <= 4u;
}

} // namespace lumetra
