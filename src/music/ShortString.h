#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

// A text of fixed capacity as it lies in the diagram records and data files:
// one length byte, then N characters; characters past the length are junk.
// A length byte larger than N (a damaged file) reads as N, so no reader ever
// looks past the field.
template <std::size_t N>
struct ShortString {
  static_assert(N > 0 && N <= 255, "a length byte holds at most 255");

  std::uint8_t Length;
  char Chars[N];

  static constexpr std::size_t capacity() { return N; }

  std::size_t size() const { return Length < N ? Length : N; }
  bool empty() const { return size() == 0; }
  std::string_view view() const { return {Chars, size()}; }
  std::string str() const { return std::string(view()); }

  // Longer text is cut to the capacity.
  void assign(std::string_view text) {
    const std::size_t n = text.size() < N ? text.size() : N;
    if (n > 0) std::memcpy(Chars, text.data(), n);
    Length = static_cast<std::uint8_t>(n);
  }
  ShortString& operator=(std::string_view text) {
    assign(text);
    return *this;
  }
  template <std::size_t M>
  ShortString& operator=(const ShortString<M>& other) {
    assign(other.view());
    return *this;
  }
  bool operator==(std::string_view text) const { return view() == text; }
};
