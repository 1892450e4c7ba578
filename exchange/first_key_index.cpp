#include "exchange/first_key_index.h"

#include <stdexcept>

namespace norvalde::exchange {
namespace {

// One byte of length for the short texts of the ROVA files and tables, five beyond.
void AppendLength(std::string& out, size_t length) {
  if (length < 0xFF) {
    out.push_back(static_cast<char>(length));
    return;
  }
  out.push_back('\xFF');
  const uint32_t longer = static_cast<uint32_t>(length);
  out.append(reinterpret_cast<const char*>(&longer), sizeof longer);
}

}  // namespace

FirstKeyIndex::PackedKey::PackedKey(Parts key) {
  size_t size = 0;
  bool fits = true;
  for (std::string_view part : key) {
    fits = fits && part.size() < 0xFF;
    size += 1 + part.size();
  }
  if (fits && size <= sizeof small_) {
    char* at = small_;
    for (std::string_view part : key) {
      *at++ = static_cast<char>(part.size());
      if (!part.empty()) std::memcpy(at, part.data(), part.size());  // may point nowhere
      at += part.size();
    }
    size_ = size;
    return;
  }
  for (std::string_view part : key) {
    AppendLength(large_, part.size());
    large_.append(part);
  }
  data_ = large_.data();
  size_ = large_.size();
}

FirstKeyIndex::FirstKeyIndex(size_t expectedKeys) {
  size_t capacity = 16;
  while (capacity < expectedKeys * 2) capacity *= 2;
  slots_.assign(capacity, 0);
  mask_ = capacity - 1;
}

uint32_t FirstKeyIndex::Add(Parts key, bool& added) {
  const PackedKey packed(key);
  const uint64_t hash = HashBytes(packed.bytes());
  uint64_t& held = slots_[Place(packed.bytes(), hash)];
  added = held == 0;
  if (!added) return StoredEntry(held);
  if (keys_.size() + 1 >= uint64_t{1} << kTagShift) throw std::length_error("FirstKeyIndex");
  const uint32_t entry = count_++;
  held = Tag(hash) << kTagShift | (keys_.size() + 1);
  keys_.append(reinterpret_cast<const char*>(&entry), sizeof entry);
  AppendLength(keys_, packed.bytes().size());
  keys_.append(packed.bytes());
  if (static_cast<size_t>(count_) * 2 > slots_.size()) Grow();
  return entry;
}

// Doubles the slots; each key goes where its hash now points.
void FirstKeyIndex::Grow() {
  std::vector<uint64_t> old(slots_.size() * 2, 0);
  old.swap(slots_);
  mask_ = slots_.size() - 1;
  for (const uint64_t held : old) {
    if (held == 0) continue;
    size_t slot = HashBytes(StoredKey(held)) & mask_;
    while (slots_[slot] != 0) slot = (slot + 1) & mask_;
    slots_[slot] = held;
  }
}

}  // namespace norvalde::exchange
