// The short-key slots against a plain map of first adds, across the growth of their chunks, in
// slots of both sizes, and keys of several texts each padded to its own width.
#include "exchange/short_key_slots.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <string>

namespace norvalde::exchange {
namespace {

template <typename Slots>
void CheckFirstAdds() {
  std::mt19937 random(11);
  Slots slots;
  std::map<std::string, char> first;
  for (int i = 0; i < 60000; ++i) {
    // Up to six bytes of few values, so keys repeat; the empty key and bytes above 0x7F too.
    std::string text(random() % 7, 'a');
    for (char& c : text) c = "ab\xBDz"[random() % 4];
    typename Slots::Key key;
    ASSERT_TRUE(PutKeyText(key, 0, 6, text));
    bool added = false;
    auto& slot = slots.Add(key, added);
    const auto [known, isNew] = first.try_emplace(text, static_cast<char>(i));
    ASSERT_EQ(added, isNew) << text;
    if (added) slot.data.back() = known->second;
    ASSERT_EQ(slot.data.back(), known->second) << text;
  }
  for (const auto& [text, data] : first) {
    typename Slots::Key key;
    PutKeyText(key, 0, 6, text);
    ASSERT_NE(slots.Find(key), nullptr) << text;
    EXPECT_EQ(slots.Find(key)->data.back(), data) << text;
  }
  typename Slots::Key absent;
  PutKeyText(absent, 0, 6, "zzzzzz");
  EXPECT_EQ(slots.Find(absent), nullptr);
}

TEST(ShortKeySlots, KeepTheDataOfEachKeysFirstAdd) {
  CheckFirstAdds<ShortKeySlots<6, std::array<char, 9>>>();
  CheckFirstAdds<ShortKeySlots<6, std::array<char, 25>>>();
}

TEST(ShortKeySlots, TextsPaddedToTheirWidthsTellKeysApart) {
  ShortKeySlots<6, std::array<char, 9>> slots;
  auto add = [&](std::string_view first, std::string_view second) {
    std::array<char, 6> key;
    if (!PutKeyText(key, 0, 3, first) || !PutKeyText(key, 3, 3, second)) return -1;
    bool added = false;
    slots.Add(key, added);
    return added ? 1 : 0;
  };
  EXPECT_EQ(add("ab", "c"), 1);
  EXPECT_EQ(add("a", "bc"), 1);
  EXPECT_EQ(add("abc", ""), 1);
  EXPECT_EQ(add("", "abc"), 1);
  EXPECT_EQ(add("", ""), 1);
  EXPECT_EQ(add(std::string_view("a\0b", 3), ""), 1);
  EXPECT_EQ(add("a", "bc"), 0);
  EXPECT_EQ(add("abcd", ""), -1);  // wider than its place: no key holds it
}

}  // namespace
}  // namespace norvalde::exchange
