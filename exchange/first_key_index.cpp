#include "exchange/first_key_index.h"

#include <cstring>

namespace norvalde::exchange {
namespace {

constexpr uint64_t kMultiplier = 0x9E3779B97F4A7C15ULL;

uint64_t Mix(uint64_t h) {
  h ^= h >> 32;
  h *= kMultiplier;
  return h ^ (h >> 29);
}

}  // namespace

void PackKey(std::string& key, std::initializer_list<std::string_view> parts) {
  for (std::string_view part : parts) {
    // One byte of length for the short texts of the ROVA files and tables, five beyond.
    if (part.size() < 0xFF) {
      key += static_cast<char>(part.size());
    } else {
      key += '\xFF';
      const uint32_t size = static_cast<uint32_t>(part.size());
      key.append(reinterpret_cast<const char*>(&size), sizeof size);
    }
    key += part;
  }
}

FirstKeyIndex::FirstKeyIndex(size_t expectedKeys) {
  size_t capacity = 16;
  while (capacity < expectedKeys * 2) capacity *= 2;
  slots_.assign(capacity, 0);
  mask_ = capacity - 1;
  keyEnds_.reserve(expectedKeys);
}

uint64_t FirstKeyIndex::Hash(std::string_view key) {
  uint64_t h = key.size() * kMultiplier;
  size_t at = 0;
  for (; at + 8 <= key.size(); at += 8) {
    uint64_t word;
    std::memcpy(&word, key.data() + at, 8);
    h = Mix(h ^ word);
  }
  uint64_t tail = 0;
  if (at < key.size()) std::memcpy(&tail, key.data() + at, key.size() - at);
  return Mix(h ^ tail ^ (static_cast<uint64_t>(key.size() - at) << 59));
}

std::string_view FirstKeyIndex::Key(uint32_t entry) const {
  const size_t start = entry == 0 ? 0 : keyEnds_[entry - 1];
  return std::string_view(keys_).substr(start, keyEnds_[entry] - start);
}

size_t FirstKeyIndex::Slot(std::string_view key, uint64_t hash) const {
  const uint64_t tag = hash >> 32;
  for (size_t slot = hash & mask_;; slot = (slot + 1) & mask_) {
    const uint64_t held = slots_[slot];
    if (held == 0) return slot;
    if ((held >> 32) == tag && Key(static_cast<uint32_t>(held) - 1) == key) return slot;
  }
}

uint32_t FirstKeyIndex::Add(std::string_view key, bool& added) {
  const uint64_t hash = Hash(key);
  size_t slot = Slot(key, hash);
  added = slots_[slot] == 0;
  if (!added) return static_cast<uint32_t>(slots_[slot]) - 1;
  const uint32_t entry = Count();
  keys_ += key;
  keyEnds_.push_back(static_cast<uint32_t>(keys_.size()));
  slots_[slot] = (hash >> 32 << 32) | (entry + 1);
  if (keyEnds_.size() * 2 > slots_.size()) Grow();
  return entry;
}

uint32_t FirstKeyIndex::Find(std::string_view key) const {
  const uint64_t held = slots_[Slot(key, Hash(key))];
  return held == 0 ? kNone : static_cast<uint32_t>(held) - 1;
}

// Doubles the slots; each key is hashed again, since a slot keeps only half its hash.
void FirstKeyIndex::Grow() {
  std::vector<uint64_t> old(slots_.size() * 2, 0);
  old.swap(slots_);
  mask_ = slots_.size() - 1;
  for (const uint64_t held : old) {
    if (held == 0) continue;
    const uint64_t hash = Hash(Key(static_cast<uint32_t>(held) - 1));
    size_t slot = hash & mask_;
    while (slots_[slot] != 0) slot = (slot + 1) & mask_;
    slots_[slot] = held;
  }
}

}  // namespace norvalde::exchange
