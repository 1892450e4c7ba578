// An index from text keys to the first entry that was added under each key: what a walk from
// the start to the first equal key would find, answered without the walk.
//
// Keys are compared byte for byte. A key of several texts is packed into one with PackKey, so
// that no two different lists of texts give the same key. The keys live back to back in one
// buffer and the slots of the table hold only a hash and an entry number (open addressing,
// linear probing, at most half full), so an index of a million keys is a few allocations.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace norvalde::exchange {

// Appends the texts to `key`, each preceded by its length.
void PackKey(std::string& key, std::initializer_list<std::string_view> parts);

class FirstKeyIndex {
 public:
  static constexpr uint32_t kNone = UINT32_MAX;

  explicit FirstKeyIndex(size_t expectedKeys = 0);

  // The entry of `key`: the one it already has, or the next entry number (Count()) when the
  // key is new. `added` tells which.
  uint32_t Add(std::string_view key, bool& added);
  // The entry of `key`, or kNone.
  uint32_t Find(std::string_view key) const;
  // The number of distinct keys, which is the next entry number.
  uint32_t Count() const { return static_cast<uint32_t>(keyEnds_.size()); }

 private:
  static uint64_t Hash(std::string_view key);
  std::string_view Key(uint32_t entry) const;
  // The slot holding `key`, or the empty slot where it would go.
  size_t Slot(std::string_view key, uint64_t hash) const;
  void Grow();

  std::string keys_;               // every key, back to back in entry order
  std::vector<uint32_t> keyEnds_;  // where each entry's key ends in keys_
  // 0 for an empty slot; else the hash's upper 32 bits and the entry number + 1.
  std::vector<uint64_t> slots_;
  size_t mask_ = 0;
};

}  // namespace norvalde::exchange
