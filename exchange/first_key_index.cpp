#include "exchange/first_key_index.h"

namespace norvalde::exchange {

FirstKeyIndex::FirstKeyIndex(size_t expectedKeys) {
  size_t capacity = 16;
  while (capacity < expectedKeys * 2) capacity *= 2;
  slots_.assign(capacity, 0);
  mask_ = capacity - 1;
  keyEnds_.reserve(expectedKeys);
  lowHashes_.reserve(expectedKeys);
}

uint32_t FirstKeyIndex::Add(Parts key, bool& added) {
  const uint64_t hash = Hash(key);
  const size_t slot = Slot(key, hash);
  added = slots_[slot] == 0;
  if (!added) return static_cast<uint32_t>(slots_[slot]) - 1;
  for (std::string_view part : key) {
    // One byte of length for the short texts of the ROVA files and tables, five beyond.
    if (part.size() < 0xFF) {
      keys_.push_back(static_cast<char>(part.size()));
    } else {
      keys_.push_back('\xFF');
      const uint32_t length = static_cast<uint32_t>(part.size());
      keys_.append(reinterpret_cast<const char*>(&length), sizeof length);
    }
    keys_.append(part);
  }
  const uint32_t entry = Count();
  keyEnds_.push_back(static_cast<uint32_t>(keys_.size()));
  lowHashes_.push_back(static_cast<uint32_t>(hash));
  slots_[slot] = (hash >> 32 << 32) | (entry + 1);
  if (keyEnds_.size() * 2 > slots_.size()) Grow();
  return entry;
}

// Doubles the slots; each entry goes where the lower half of its hash now points.
void FirstKeyIndex::Grow() {
  std::vector<uint64_t> old(slots_.size() * 2, 0);
  old.swap(slots_);
  mask_ = slots_.size() - 1;
  for (const uint64_t held : old) {
    if (held == 0) continue;
    size_t slot = lowHashes_[static_cast<uint32_t>(held) - 1] & mask_;
    while (slots_[slot] != 0) slot = (slot + 1) & mask_;
    slots_[slot] = held;
  }
}

}  // namespace norvalde::exchange
