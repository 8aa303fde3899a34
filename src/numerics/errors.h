// The errors that input can raise, each carrying the text shown to the user.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

#include "numerics/extended.h"

namespace kestrova {

// Base of every error the program reports with its own message.
class EKestrovaError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Text that cannot be read as a date, a time or a number.
class EConvertError : public EKestrovaError {
 public:
  using EKestrovaError::EKestrovaError;
};

// A date before MinJD.
class EUnderflow : public EKestrovaError {
 public:
  using EKestrovaError::EKestrovaError;
};

// A date after MaxJD.
class EOverflow : public EKestrovaError {
 public:
  using EKestrovaError::EKestrovaError;
};

// A number in the messages' general format: shortest form, at most 15 significant digits,
// no trailing zeros ("%g" of the messages).
std::string FormatGeneral(Extended x);

// Text from outside (a name, a line of input) made safe to print on one line: control
// characters, and bytes that are no UTF-8, become \xNN; a backslash stays as it is.
std::string Escaped(std::string_view text);

// Input quoted in a message: Escaped, and cut after max characters with "..." so that a huge
// line of bad input gives a short message.
std::string Excerpt(std::string_view text, size_t max = 80);

// printf-style formatting into a std::string.
std::string Format(const char* fmt, ...) __attribute__((format(printf, 1, 2)));

}  // namespace kestrova
