#include "library/RootField.h"

#include <cctype>

std::string tidyRootText(std::string_view text) {
  if (text.empty()) return {};
  const char first = static_cast<char>(std::toupper(static_cast<unsigned char>(text[0])));
  if (first < 'A' || first > 'G') return {};
  std::string tidy(1, first);
  if (text.size() > 1) {
    const char second = text[1];
    if (second == '#' || second == '+' || second == '3')
      tidy += '#';
    else if (second == '-' || second == 'B' || second == 'b')
      tidy += 'b';
  }
  return tidy;
}
