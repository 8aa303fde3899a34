// The digits of the minor-body catalogues' packed forms: numbers above 99,999, provisional
// designations and epochs, as the element files and the search both read them.
#pragma once

namespace kestrova {

// A packed digit: 0-9, then A-Z for 10-35 and a-z for 36-61; -1 for any other character.
inline int Base62(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'Z') return c - 'A' + 10;
  if (c >= 'a' && c <= 'z') return c - 'a' + 36;
  return -1;
}

// The century a packed date or designation starts with: I 1800, J 1900, K 2000; -1 otherwise.
inline int PackedCentury(char letter) {
  switch (letter) {
    case 'I':
      return 1800;
    case 'J':
      return 1900;
    case 'K':
      return 2000;
    default:
      return -1;
  }
}

}  // namespace kestrova
