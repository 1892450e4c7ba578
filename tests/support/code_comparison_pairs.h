// Pairs of codes with the order CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE) gives
// them under Wine 8 (Windows-1252 bytes). The native code comparison must agree with every
// pair, and the same test in the Windows build checks the table against CompareStringA itself.
#pragma once

#include <string>
#include <vector>

namespace norvalde::testing {

struct CodeComparisonPair {
  std::string a;
  std::string b;
  int sign;  // of comparing a with b: -1, 0 or 1
};

inline const std::vector<CodeComparisonPair>& CodeComparisonPairs() {
  static const std::vector<CodeComparisonPair> pairs{
      // Case is ignored, in accented letters too.
      {"MAT", "mat", 0},
      {"MAT", "MAT", 0},
      {"", "", 0},
      {"a", "B", -1},
      {"\xC1LG", "\xE1lg", 0},  // ÁLG, álg
      {"\xD1O", "\xF1o", 0},    // ÑO, ño
      {"\xD1U", "\xF1u", 0},    // ÑU, ñu
      {"\x8A" "A", "\x9A" "a", 0},  // ŠA, ša
      {"\x9F", "\xFF", 0},      // Ÿ, ÿ
      // Ligatures are their letters.
      {"\x8C", "OE", 0},  // Œ
      {"\x9C", "oe", 0},  // œ
      {"\xC6", "AE", 0},  // Æ
      {"\xDE", "TH", 0},  // Þ
      {"\xDF", "ss", 0},  // ß
      // Every other difference counts: superscript and compatibility forms...
      {"M\xAAT", "MAT", 1},  // MªT
      {"1\xBA" "A", "1oA", 1},  // 1ºA
      {"\xB2X", "2X", 1},    // ²X
      {"T\x99", "TTM", 1},   // T™
      {"\x85", "...", 1},    // …
      {"\xAA", "AA", -1},    // ª sorts as one letter a
      // ...accents...
      {"\xC1LG", "ALG", 1},
      {"\xD1O", "NO", 1},
      {"\x8A" "A", "SA", 1},
      {"\x9F", "Y", 1},
      {"e", "\xE9", -1},
      // ...and the hyphen, apostrophe and dashes, which decide only when all else is equal.
      {"A-B", "AB", 1},
      {"co-op", "coop", 1},
      {"a'b", "ab", 1},
      {"a\x96" "b", "ab", 1},  // en dash
      {"a\x97" "b", "ab", 1},  // em dash
      {"a-b", "a-B", 0},
      {"a-bc", "ab-c", 1},
      {"-ab", "a-b", 1},
      {"a-b-c", "a-bc", 1},
      {"a''b", "a-b", -1},
      {"a'b", "a-b", -1},
      {"a-b", "a\x96" "b", -1},
      {"a-b", "\xE1" "b", -1},
      {"co-op", "co\xF6p", -1},
      {"0800", "08-00", -1},
      // Other punctuation and spaces count at once.
      {"A B", "AB", -1},
      {"a.b", "ab", -1},
      {"a/b", "ab", -1},
      {"A+B", "AB", -1},
      {"A\xAD" "B", "AB", 0},  // a soft hyphen is nothing
      {"a\x92" "b", "ab", -1},  // a right quotation mark is not an apostrophe
      // Digits are ordered character by character.
      {"0800", "800", -1},
      {"0800", "0855", -1},
      {"0830", "0900", -1},
      {"0855", "1045", -1},
      {"1100", "0900", 1},
      {"1045", "800", -1},
      {"", "A", -1},
      {"LEN", "mat", -1},
      {"MAT", "MATE", -1},
  };
  return pairs;
}

}  // namespace norvalde::testing
