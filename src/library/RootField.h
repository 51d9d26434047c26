#pragma once

#include <string>
#include <string_view>

// Tidies what stands in the key field of the tool bar: at most two
// characters, a capital A to G first, then "#" or "b" (typed as "#", "+",
// "3", or "-", "B", "b"); anything else is dropped or clears the field.
std::string tidyRootText(std::string_view text);
