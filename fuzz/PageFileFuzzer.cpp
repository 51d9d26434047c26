// One loader under libFuzzer, chosen by FUZZ_<KIND>. Besides the sanitizers'
// checks, every input must either be refused with the page left as it was, or
// be taken so that writing the page and reading it back gives the same page.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

#include "pages/PageFile.h"

namespace {

#if defined(FUZZ_RPT)
void check(std::string_view bytes) {
  TRepeatSet set;
  std::memset(&set, 0xA5, sizeof set);
  TRepeatSet before = set;
  if (!decodeRepeatSet(bytes, set).empty()) {
    if (std::memcmp(&set, &before, sizeof set) != 0) std::abort();
    return;
  }
  if (encodeRepeatSet(set) != bytes) std::abort();
}
#else
#if defined(FUZZ_CHORD)
constexpr PageKind Kind = PageKind::Chord;
#elif defined(FUZZ_PRINT)
constexpr PageKind Kind = PageKind::Print;
#elif defined(FUZZ_DESIGN)
constexpr PageKind Kind = PageKind::Design;
#elif defined(FUZZ_PLAY)
constexpr PageKind Kind = PageKind::Play;
#else
constexpr PageKind Kind = PageKind::Scale;
#endif

void check(std::string_view bytes) {
  auto page = std::make_unique<PageContents>();
  page->Kind = Kind;
  const std::string before = encodePage(*page);
  if (!decodePage(Kind, bytes, *page).empty()) {
    if (encodePage(*page) != before) std::abort();
    return;
  }
  const std::string written = encodePage(*page);
  if (written.size() != bytes.size()) std::abort();
  auto again = std::make_unique<PageContents>();
  if (!decodePage(Kind, written, *again).empty()) std::abort();
  if (encodePage(*again) != written) std::abort();
}
#endif

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  check(std::string_view(reinterpret_cast<const char*>(data), size));
  return 0;
}
