#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>

#include "library/MenuTables.h"
#include "library/RootField.h"

// Each of the 62 dictionary names comes back as the caption its family's
// menu shows at the same place, and the captions are all different.
TEST(ChordTypeCaption, EveryDictionaryTypeIsNamedAsItsMenuNamesIt) {
  std::set<std::string_view> captions;
  for (const ChordFamilyMenu& family : ChordFamilies)
    for (int t = 0; t < family.typeCount; ++t) {
      const std::string_view record =
          DictionaryChordNames[static_cast<std::size_t>(family.dictionaryBase + t)];
      EXPECT_EQ(chordTypeCaption(record), family.types[t]) << record;
      captions.insert(chordTypeCaption(record));
    }
  EXPECT_EQ(captions.size(), DictionaryChordNames.size());
  EXPECT_EQ(chordTypeCaption("maj"), "major");
  EXPECT_EQ(chordTypeCaption("ma9#5"), "maj9#5");
  EXPECT_EQ(chordTypeCaption("minor"), "minor");
  EXPECT_EQ(chordTypeCaption("13sus(b9)"), "13sus(b9)");
}

// Record fields are padded with blanks; names the dictionary does not hold
// (a user's type, a damaged record, a caption itself) stay as they are.
TEST(ChordTypeCaption, BlanksAndUnknownNames) {
  EXPECT_EQ(chordTypeCaption("maj   "), "major");
  EXPECT_EQ(chordTypeCaption(" maj"), " maj");
  EXPECT_EQ(chordTypeCaption("Maj"), "Maj");
  EXPECT_EQ(chordTypeCaption("my chord  "), "my chord");
  EXPECT_EQ(chordTypeCaption("major"), "major");
  EXPECT_EQ(chordTypeCaption(""), "");
  EXPECT_EQ(chordTypeCaption("   "), "");
  static_assert(chordTypeCaption("maj") == "major");
}

// The key field of the tool bar keeps a note name and its sign, however the
// sign was typed, and drops what no key is.
TEST(RootField, TidiesTypedTextToAKeyName) {
  const std::pair<const char*, const char*> cases[] = {
      {"c#", "C#"}, {"d+", "D#"}, {"e3", "E#"}, {"bb", "Bb"}, {"g-", "Gb"},
      {"aB", "Ab"}, {"fx", "F"},  {"h", ""},    {"", ""},     {"Gb7", "Gb"}};
  for (auto [typed, tidy] : cases) EXPECT_EQ(tidyRootText(typed), tidy) << typed;
}
