// An index from short keys of a fixed size to the first slot added under each key: the key and
// the data that goes with it side by side, in sixteen or thirty-two bytes. For the lookups that
// run once per row of the largest tables, where the time goes in waiting for memory, not in
// work:
// - A slot is aligned to its size, so it never spans two cache lines: a lookup that finds its
//   key on the first probe reads one line of memory, and a prefetch can bring that line in
//   while earlier rows are still being worked on (Prefetch).
// - A key is its texts, each zero-padded to its size. Callers' texts never end with a zero byte
//   (trimmed or read back without the blanks and zeros that fill a field), so two different
//   texts never pad to the same bytes.
// - The slots are split into 256 chunks by the top byte of the key's hash, each an open-
//   addressing table with linear probing, at most three quarters full, that grows on its own:
//   a growing chunk needs its old and new slots at once, and that is a 256th of the index, not
//   the whole of it beside a copy twice its size.
#pragma once

#include <array>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string_view>
#include <type_traits>

namespace norvalde::exchange {

// `Data` is the caller's, of bytes only (char arrays), so that nothing pads the slot.
template <size_t kKeySize, typename Data>
class ShortKeySlots {
 public:
  using Key = std::array<char, kKeySize>;
  static constexpr size_t kSlotSize = kKeySize + sizeof(Data) + 1 <= 16 ? 16 : 32;

  struct alignas(kSlotSize) Slot {
    Key key;
    Data data;
    uint8_t used;  // 0 for a free slot
  };
  static_assert(sizeof(Slot) == kSlotSize && std::is_trivially_copyable_v<Data>);

  ShortKeySlots() {
    for (Chunk& chunk : chunks_) chunk.Allocate(kFirstChunkSlots);
  }

  // The slot of `key`: the one it already has (`added` false), or a new one holding the key,
  // with its data zero and `used` 1 (`added` true). Valid until the next Add.
  Slot& Add(const Key& key, bool& added) {
    const uint64_t hash = Hash(key);
    Chunk& chunk = chunks_[hash >> 56];
    Slot* slot = chunk.Place(key, hash);
    added = slot->used == 0;
    if (!added) return *slot;
    if ((chunk.count + 1) * 4 > (chunk.mask + 1) * 3) {
      chunk.Grow();
      slot = chunk.Place(key, hash);
    }
    ++chunk.count;
    slot->key = key;
    slot->used = 1;
    return *slot;
  }

  // The slot of `key`, or null. `hash` is Hash(key): a caller that prefetches a key's slot
  // works it out once for both.
  const Slot* Find(const Key& key) const { return Find(key, Hash(key)); }
  const Slot* Find(const Key& key, uint64_t hash) const {
    const Slot* slot = chunks_[hash >> 56].Place(key, hash);
    return slot->used == 0 ? nullptr : slot;
  }

  // Starts bringing in the line where the search for the key of this Hash begins, so that a
  // Find of it a little later does not wait for memory.
  void Prefetch(uint64_t hash) const {
    const Chunk& chunk = chunks_[hash >> 56];
#if defined(__GNUC__)
    __builtin_prefetch(&chunk.slots[hash & chunk.mask]);
#else
    (void)chunk;
#endif
  }

  // The key's words mixed so that every bit counts in both the top byte, which picks the
  // chunk, and the low bits, which pick the slot.
  static uint64_t Hash(const Key& key) {
    const auto [low, high] = Words(key);
    uint64_t h = (low ^ (high * 0x9E3779B97F4A7C15ULL)) * 0xFF51AFD7ED558CCDULL;
    h ^= h >> 32;
    h *= 0xC4CEB9FE1A85EC53ULL;
    return h ^ (h >> 29);
  }

 private:
  static constexpr uint32_t kFirstChunkSlots = 4;

  struct Chunk {
    std::unique_ptr<Slot[]> slots;
    uint64_t mask = 0;  // slots - 1, a power of two less one
    uint64_t count = 0;

    void Allocate(uint64_t size) {
      slots = std::make_unique<Slot[]>(size);  // zeroed: every slot free
      mask = size - 1;
    }
    // The slot holding `key`, or the free slot where it would go.
    Slot* Place(const Key& key, uint64_t hash) const {
      for (uint64_t at = hash & mask;; at = (at + 1) & mask) {
        Slot* slot = &slots[at];
        if (slot->used == 0 || SameKey(slot->key, key)) return slot;
      }
    }
    // Twice the slots; each used one moves to where its hash now points.
    void Grow() {
      std::unique_ptr<Slot[]> old = std::move(slots);
      const uint64_t oldSize = mask + 1;
      Allocate(oldSize * 2);
      for (uint64_t i = 0; i < oldSize; ++i) {
        if (old[i].used != 0) *Place(old[i].key, Hash(old[i].key)) = old[i];
      }
    }
  };

  // The key's bytes as two words, zero beyond the key. Copies of a fixed size compile to plain
  // loads, where comparing or hashing the bytes through calls would cost more than the work.
  static std::array<uint64_t, 2> Words(const Key& key) {
    char bytes[16] = {};
    std::memcpy(bytes, key.data(), kKeySize);
    std::array<uint64_t, 2> words;
    std::memcpy(words.data(), bytes, sizeof words);
    return words;
  }
  static bool SameKey(const Key& a, const Key& b) { return Words(a) == Words(b); }

  std::array<Chunk, 256> chunks_;
};

// `text` into `key` from `at`, zero-padded to `size` bytes. False, with nothing written, when
// it is longer: no key of that size holds it. Byte by byte: a few bytes cost less so than calls
// to copy and fill them.
template <size_t kKeySize>
bool PutKeyText(std::array<char, kKeySize>& key, size_t at, size_t size, std::string_view text) {
  if (text.size() > size) return false;
  for (size_t i = 0; i < size; ++i) key[at + i] = i < text.size() ? text[i] : '\0';
  return true;
}

}  // namespace norvalde::exchange
