// The first-key index against a plain map of first entries, across growth, and the packing of
// several texts into one key.
#include "exchange/first_key_index.h"

#include <gtest/gtest.h>

#include <map>
#include <random>

namespace norvalde::exchange {
namespace {

TEST(FirstKeyIndex, GivesEachKeyTheEntryOfItsFirstAdd) {
  std::mt19937 random(7);
  FirstKeyIndex index;
  std::map<std::string, uint32_t> first;
  for (int i = 0; i < 50000; ++i) {
    // Short keys of few letters repeat often; the empty key and long ones occur too.
    std::string key(random() % 4 == 0 ? random() % 40 : random() % 4, 'a');
    for (char& c : key) c = static_cast<char>('a' + random() % 3);
    bool added = false;
    const uint32_t entry = index.Add({key}, added);
    const auto [known, isNew] = first.try_emplace(key, static_cast<uint32_t>(first.size()));
    ASSERT_EQ(added, isNew) << key;
    ASSERT_EQ(entry, known->second) << key;
  }
  EXPECT_EQ(index.Count(), first.size());
  for (const auto& [key, entry] : first) EXPECT_EQ(index.Find({key}), entry) << key;
  EXPECT_EQ(index.Find({"not there"}), FirstKeyIndex::kNone);
}

TEST(FirstKeyIndex, KeysOfSeveralTextsTellTheirTextsApart) {
  FirstKeyIndex index;
  bool added = false;
  const std::string longText(300, 'x');
  const std::string nul(1, '\0');
  const std::vector<std::pair<std::string, std::string>> keys{
      {"a", "bc"}, {"ab", "c"},           {"abc", ""},      {"", "abc"}, {"", ""},
      {nul, ""},   {"", nul},             {longText, "a"},  {longText + "a", ""},
      {"\x01" "a", ""}, {std::string(255, 'y'), ""}, {std::string(254, 'y'), "y"}};
  for (const auto& [first, second] : keys) {
    index.Add({first, second}, added);
    EXPECT_TRUE(added) << first << "|" << second;
  }
  for (size_t i = 0; i < keys.size(); ++i) {
    EXPECT_EQ(index.Find({keys[i].first, keys[i].second}), i);
    index.Add({keys[i].first, keys[i].second}, added);
    EXPECT_FALSE(added);
  }
  EXPECT_EQ(index.Find({"a", "b"}), FirstKeyIndex::kNone);
}

}  // namespace
}  // namespace norvalde::exchange
