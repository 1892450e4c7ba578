// An index from keys of one or more texts to the first entry that was added under each key:
// what a walk from the start to the first equal key would find, answered without the walk.
//
// Keys are compared text by text, byte for byte. Each key is packed into bytes, each text
// preceded by its length so that no two different lists of texts look alike. A slot of the
// table (open addressing, linear probing, at most half full) holds the entry number and the
// packed key itself when it is short, as the keys of the ROVA files and tables are; a longer
// key lies in a buffer of its own and the slot says where. So a lookup of a short key reads
// one place in memory: on tables of a million keys, far larger than the processor's caches,
// each such read is a wait for memory, and that is what a lookup costs. The lookup is in this
// header: it runs once per row of the largest tables.
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
  // key is new. `added` tells which.
  uint32_t Add(Parts key, bool& added);
  // The entry of the key, or kNone.
  uint32_t Find(Parts key) const {
    const PackedKey packed(key);
    const Slot& slot = slots_[Place(packed.bytes(), Hash(packed.bytes()))];
    return slot.entry == 0 ? kNone : slot.entry - 1;
  }
  // The number of distinct keys, which is the next entry number.
  uint32_t Count() const { return count_; }

 private:
  // 24 bytes: short keys inline, three slots to a little more than a cache line.
  static constexpr size_t kInlineBytes = 19;
  static constexpr uint8_t kOutOfLine = 0xFF;
  struct Slot {
    uint32_t entry = 0;  // the entry number + 1; 0 for an empty slot
    uint8_t size = 0;    // the packed key's size, or kOutOfLine
    char key[kInlineBytes] = {};  // the packed key; kOutOfLine: where it starts in keys_
  };

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

  static constexpr uint64_t kMultiplier = 0x9E3779B97F4A7C15ULL;

  // The bytes eight at a time and the last few gathered one by one: keys are short, and a
  // call to copy a few bytes would cost more than hashing them. The final mixing spreads every
  // bit over the result, the low bits that pick the slot included.
  static uint64_t Hash(std::string_view bytes) {
    uint64_t h = bytes.size() * kMultiplier;
    size_t at = 0;
    for (; at + 8 <= bytes.size(); at += 8) {
      uint64_t word;
      std::memcpy(&word, bytes.data() + at, 8);
      h = (h ^ word) * kMultiplier;
      h ^= h >> 31;
    }
    uint64_t tail = 0;
    for (unsigned shift = 0; at < bytes.size(); ++at, shift += 8) {
      tail |= static_cast<uint64_t>(static_cast<uint8_t>(bytes[at])) << shift;
    }
    h = (h ^ tail) * kMultiplier;
    h ^= h >> 33;
    h *= 0xFF51AFD7ED558CCDULL;
    h ^= h >> 33;
    h *= 0xC4CEB9FE1A85EC53ULL;
    return h ^ (h >> 33);
  }

  // The packed key a slot holds or points to.
  std::string_view StoredKey(const Slot& slot) const {
    if (slot.size != kOutOfLine) return {slot.key, slot.size};
    uint64_t at;
    std::memcpy(&at, slot.key, sizeof at);
    const char* p = keys_.data() + at;
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
    const uint8_t size = packed.size() <= kInlineBytes ? static_cast<uint8_t>(packed.size())
                                                       : kOutOfLine;
    for (size_t slot = hash & mask_;; slot = (slot + 1) & mask_) {
      const Slot& held = slots_[slot];
      if (held.entry == 0) return slot;
      if (held.size == size && StoredKey(held) == packed) return slot;
    }
  }

  void Grow();

  std::string keys_;  // the keys too long for a slot, packed, each with its length first
  std::vector<Slot> slots_;
  size_t mask_ = 0;
  uint32_t count_ = 0;
};

}  // namespace norvalde::exchange
