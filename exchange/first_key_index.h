// An index from keys of one or more texts to the first entry that was added under each key:
// what a walk from the start to the first equal key would find, answered without the walk.
//
// Keys are compared text by text, byte for byte. The keys are packed back to back in one
// buffer, each text preceded by its length so that no two different lists of texts look
// alike, and the slots of the table hold only part of a hash and an entry number (open
// addressing, linear probing, at most half full): an index of a million keys is a few
// allocations, and a lookup hashes and compares the texts where they are, without building a
// key. The lookup is in this header: it runs once per row of the largest tables.
#pragma once

#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace norvalde::exchange {

class FirstKeyIndex {
 public:
  using Parts = std::initializer_list<std::string_view>;
  static constexpr uint32_t kNone = UINT32_MAX;

  explicit FirstKeyIndex(size_t expectedKeys = 0);

  // The entry of the key: the one it already has, or the next entry number (Count()) when the
  // key is new. `added` tells which. Every key of one index has the same number of texts.
  uint32_t Add(Parts key, bool& added);
  // The entry of the key, or kNone.
  uint32_t Find(Parts key) const {
    const uint64_t held = slots_[Slot(key, Hash(key))];
    return held == 0 ? kNone : static_cast<uint32_t>(held) - 1;
  }
  // The number of distinct keys, which is the next entry number.
  uint32_t Count() const { return static_cast<uint32_t>(keyEnds_.size()); }

 private:
  static constexpr uint64_t kMultiplier = 0x9E3779B97F4A7C15ULL;

  static uint64_t Step(uint64_t h, uint64_t word) {
    h = (h ^ word) * kMultiplier;
    return h ^ (h >> 31);
  }

  // Each text's length, then its bytes eight at a time and the last few gathered one by one:
  // texts are short, and a call to copy a few bytes would cost more than hashing them. The
  // final mixing spreads every bit over the result, the low bits that pick the slot included.
  static uint64_t Hash(Parts key) {
    uint64_t h = key.size() * kMultiplier;
    for (std::string_view part : key) {
      h = Step(h, part.size());
      size_t at = 0;
      for (; at + 8 <= part.size(); at += 8) {
        uint64_t word;
        std::memcpy(&word, part.data() + at, 8);
        h = Step(h, word);
      }
      uint64_t tail = 0;
      for (unsigned shift = 0; at < part.size(); ++at, shift += 8) {
        tail |= static_cast<uint64_t>(static_cast<uint8_t>(part[at])) << shift;
      }
      h = Step(h, tail);
    }
    h ^= h >> 33;
    h *= 0xFF51AFD7ED558CCDULL;
    h ^= h >> 33;
    h *= 0xC4CEB9FE1A85EC53ULL;
    return h ^ (h >> 33);
  }

  // Whether the packed key of `entry` holds exactly these texts.
  bool Holds(uint32_t entry, Parts key) const {
    const char* at = keys_.data() + (entry == 0 ? 0 : keyEnds_[entry - 1]);
    const char* end = keys_.data() + keyEnds_[entry];
    for (std::string_view part : key) {
      size_t length = static_cast<uint8_t>(*at++);
      if (length == 0xFF) {
        uint32_t longer;
        std::memcpy(&longer, at, sizeof longer);
        at += sizeof longer;
        length = longer;
      }
      if (length != part.size() || std::memcmp(at, part.data(), length) != 0) return false;
      at += length;
    }
    return at == end;
  }

  // The slot holding the key, or the empty slot where it would go.
  size_t Slot(Parts key, uint64_t hash) const {
    const uint64_t tag = hash >> 32;
    for (size_t slot = hash & mask_;; slot = (slot + 1) & mask_) {
      const uint64_t held = slots_[slot];
      if (held == 0) return slot;
      if ((held >> 32) == tag && Holds(static_cast<uint32_t>(held) - 1, key)) return slot;
    }
  }

  void Grow();

  std::string keys_;                // every key packed, back to back in entry order
  std::vector<uint32_t> keyEnds_;   // where each entry's key ends in keys_
  std::vector<uint32_t> lowHashes_;  // each entry's hash, lower half, to place it on growing
  // 0 for an empty slot; else the hash's upper half and the entry number + 1.
  std::vector<uint64_t> slots_;
  size_t mask_ = 0;
};

}  // namespace norvalde::exchange
