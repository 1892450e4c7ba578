// An index from keys of one or more texts to the first entry that was added under each key:
// what a walk from the start to the first equal key would find, answered without the walk.
//
// Keys are compared text by text, byte for byte. Each key is packed into bytes, each text
// preceded by its length so that no two different lists of texts look alike, and stored back
// to back in one buffer, each after its entry number. A slot of the table (open addressing,
// linear probing, at most half full) is eight bytes: part of the hash and where the key is
// stored. So a lookup that finds its key reads two places in memory, the slot and the stored
// key with its entry: on tables of a million keys, far larger than the processor's caches,
// each such read is a wait for memory, and that is what a lookup costs; and the table stays
// small, a million keys taking about 16 MB of slots and as much again of keys. The lookup is
// in this header: it runs once per row of the largest tables.
#pragma once

#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace norvalde::exchange {

// A hash of a few bytes, eight at a time: the keys are short, and a call to copy a few bytes
// would cost more than hashing them. The last few bytes are the last eight, overlapping the
// word before, when there are eight; else they are gathered one by one. The final mixing
// spreads every bit over the result, the low bits included.
inline uint64_t HashBytes(std::string_view bytes) {
  constexpr uint64_t kMultiplier = 0x9E3779B97F4A7C15ULL;
  uint64_t h = bytes.size() * kMultiplier;
  size_t at = 0;
  for (; at + 8 <= bytes.size(); at += 8) {
    uint64_t word;
    std::memcpy(&word, bytes.data() + at, 8);
    h = (h ^ word) * kMultiplier;
    h ^= h >> 31;
  }
  uint64_t tail = 0;
  if (at < bytes.size() && bytes.size() >= 8) {
    std::memcpy(&tail, bytes.data() + bytes.size() - 8, 8);
  } else {
    for (unsigned shift = 0; at < bytes.size(); ++at, shift += 8) {
      tail |= static_cast<uint64_t>(static_cast<uint8_t>(bytes[at])) << shift;
    }
  }
  h = (h ^ tail) * kMultiplier;
  h ^= h >> 33;
  h *= 0xFF51AFD7ED558CCDULL;
  h ^= h >> 33;
  h *= 0xC4CEB9FE1A85EC53ULL;
  return h ^ (h >> 33);
}

class FirstKeyIndex {
 public:
  using Parts = std::initializer_list<std::string_view>;
  static constexpr uint32_t kNone = UINT32_MAX;

  explicit FirstKeyIndex(size_t expectedKeys = 0);

  // The entry of the key: the one it already has, or the next entry number (Count()) when the
  // key is new. `added` tells which.
  uint32_t Add(Parts key, bool& added);
  // The entry of the key, or kNone.
  uint32_t Find(Parts key) const {
    const PackedKey packed(key);
    const uint64_t held = slots_[Place(packed.bytes(), HashBytes(packed.bytes()))];
    return held == 0 ? kNone : StoredEntry(held);
  }
  // The number of distinct keys, which is the next entry number.
  uint32_t Count() const { return count_; }

 private:
  // A slot: 0 when empty, else the hash's top 24 bits and, below them, where the key's
  // record starts in keys_, plus one.
  static constexpr int kTagShift = 40;
  static uint64_t Tag(uint64_t hash) { return hash >> kTagShift; }
  static uint64_t RecordAt(uint64_t held) {
    return (held & ((uint64_t{1} << kTagShift) - 1)) - 1;
  }

  // A key's texts as bytes: each text's length (one byte below 0xFF, else 0xFF and four
  // bytes) and then its bytes. Short keys, all the ROVA files and tables have, stay on the
  // stack.
  class PackedKey {
   public:
    explicit PackedKey(Parts key);
    std::string_view bytes() const { return {data_, size_}; }

   private:
    char small_[48];
    std::string large_;
    const char* data_ = small_;
    size_t size_ = 0;
  };

  // A key's record in keys_: its entry number (four bytes), its length (one byte below 0xFF,
  // else 0xFF and four), its packed bytes.
  uint32_t StoredEntry(uint64_t held) const {
    uint32_t entry;
    std::memcpy(&entry, keys_.data() + RecordAt(held), sizeof entry);
    return entry;
  }
  std::string_view StoredKey(uint64_t held) const {
    const char* p = keys_.data() + RecordAt(held) + sizeof(uint32_t);
    size_t length = static_cast<uint8_t>(*p++);
    if (length == 0xFF) {
      uint32_t longer;
      std::memcpy(&longer, p, sizeof longer);
      p += sizeof longer;
      length = longer;
    }
    return {p, length};
  }

  // The slot holding the key, or the empty slot where it would go.
  size_t Place(std::string_view packed, uint64_t hash) const {
    for (size_t slot = hash & mask_;; slot = (slot + 1) & mask_) {
      const uint64_t held = slots_[slot];
      if (held == 0) return slot;
      if (held >> kTagShift == Tag(hash) && StoredKey(held) == packed) return slot;
    }
  }

  void Grow();

  std::string keys_;  // every key's record, in entry order
  std::vector<uint64_t> slots_;
  size_t mask_ = 0;
  uint32_t count_ = 0;
};

}  // namespace norvalde::exchange
