// The two lookups of the assignments conversion: each ASIGT row's group in GRUPOST and its
// weekly hours in rova_asignatcurso.txt. Each is answered from an index built once, holding for
// each key the first row or line that a walk from the start would meet, and beside the key what
// the row takes from it, already as ASIGT stores it: a row copies bytes and reads one place in
// memory per lookup (exchange/short_key_slots.h). A copied value that cannot be read or stored
// fails only the assignment row that first takes it.
#pragma once

#include <array>
#include <cstdint>
#include <cstring>
#include <exception>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "exchange/short_key_slots.h"
#include "platform/env.h"
#include "tables/table.h"

namespace norvalde::exporting {

// The GRUPOST fields an assignment takes, in the order they are copied.
inline constexpr std::array<const char*, 4> kGroupFields{"TURNO", "NIVEL", "CURSO", "GRUPO"};

using GroupFields = std::array<tables::FieldHandle, kGroupFields.size()>;

// The handles of the copied fields in `table`.
GroupFields FindGroupFields(const tables::Table& table);

// What the lookups write into an ASIGT row: the four group fields, side by side from TURNO
// (widths 1, 5, 3 and 2), and HORAS and SESIONES, side by side (20 and 20), as the table's
// definition lists them.
inline constexpr size_t kGroupBytes = 11;
inline constexpr size_t kHoursBytes = 40;

struct AsigtFields {
  // Fails (std::logic_error) should ASIGT's fields not lie as above, or CASIG and CGRUP not be
  // four-byte fields that store a code as it is.
  explicit AsigtFields(const tables::Table& asigt);
  tables::FieldHandle casig, cgrup, nivel, curso, horas, sesiones;
  GroupFields group;
  tables::Table::FieldSpan casigSpan, cgrupSpan;
  size_t groupAt, hoursAt;  // where the two blocks start in a record
};

// The codes of a course-hours key, each zero-padded to the width of its columns in the file.
using Subject = std::array<char, 4>;
using LevelAndCourse = std::array<char, 6>;  // 3 and 3

// `text` zero-padded into `code`; false when it is wider, and so matches no line.
template <size_t n>
bool PadCode(std::string_view text, std::array<char, n>& code) {
  return exchange::PutKeyText(code, 0, n, text);
}

// GRUPOST's rows by ABREV as read back (cut to width, trailing blanks gone); matching is byte
// for byte, case included. A repeated ABREV keeps its first row, and only that row's copied
// fields are read. An ABREV longer than the four columns of CGRUP is never looked for.
class Groups {
 public:
  using Abbreviation = std::array<char, 4>;  // zero-padded

  // What a row takes from its group.
  struct Data {
    char asigt[kGroupBytes];  // the four fields as ASIGT stores them
    // The level and course as the row reads them back, as a course-hours key holds them;
    // hasHours is 0 when the level is wider than a course-hours level, so no line has it.
    LevelAndCourse levelAndCourse;
    char hasHours;
  };
  using Slots = exchange::ShortKeySlots<4, Data>;
  using Slot = Slots::Slot;
  // Slot::used: whether the group's fields could be read (kReadable) or not (kFailed, and
  // Failure gives why).
  static constexpr uint8_t kReadable = 1, kFailed = 2;

  // Reads GRUPOST whole; the values are encoded as `asigt`'s fields store them.
  Groups(tables::Table& grupost, const tables::Table& asigt, const AsigtFields& fields);

  // The group of this CGRUP, or null; `hash` is Hash(abbreviation), worked out once for the
  // prefetch of its slot and the search.
  static uint64_t Hash(const Abbreviation& abbreviation) { return Slots::Hash(abbreviation); }
  const Slot* Find(const Abbreviation& abbreviation, uint64_t hash) const {
    return slots_.Find(abbreviation, hash);
  }
  void Prefetch(uint64_t hash) const { slots_.Prefetch(hash); }
  // Why the copied fields of a kFailed group could not be read.
  std::exception_ptr Failure(const Slot& group) const;

 private:
  Slots slots_;
  std::vector<std::pair<Abbreviation, std::exception_ptr>> failures_;
};

// The weekly hours of the first detail line of rova_asignatcurso.txt for each subject, level
// and course. The hours texts are kept once each, however many lines share one.
class CourseHours {
  using ValueNumber = std::array<char, 4>;  // where in values_, as bytes: slots are not padded
  using Slots = exchange::ShortKeySlots<10, ValueNumber>;
  using Slot = Slots::Slot;

 public:
  // The file is split into lines as a line list loads it, but streamed: only the index is
  // held, never the whole file beside it.
  CourseHours(platform::Env& env, const std::string& path);

  // One distinct hours text, and what storing it gave, worked out when a row first takes it.
  struct Value {
    explicit Value(std::string_view field) : text(field) {}
    std::string text;  // the field of columns 28-33, trimmed; "1" for an empty one
    bool worked = false;
    std::exception_ptr failure;  // the text is no number, or the number does not fit
    char stored[kHoursBytes] = {};  // HORAS and SESIONES as ASIGT stores them
  };

  // A subject, level and course side by side.
  using Key = std::array<char, 10>;
  static Key MakeKey(const Subject& subject, const LevelAndCourse& levelAndCourse) {
    Key key;
    std::memcpy(key.data(), subject.data(), subject.size());
    std::memcpy(key.data() + subject.size(), levelAndCourse.data(), levelAndCourse.size());
    return key;
  }

  // The hours of the first line for this key, or null when none has; `hash` as for Groups.
  static uint64_t Hash(const Key& key) { return Slots::Hash(key); }
  Value* Find(const Key& key) { return Find(key, Hash(key)); }
  Value* Find(const Key& key, uint64_t hash) {
    const Slot* slot = slots_.Find(key, hash);
    return slot == nullptr ? nullptr : &values_[ValueIndex(slot->data)];
  }
  void Prefetch(uint64_t hash) const { slots_.Prefetch(hash); }

  // The text as a number: ROVA may write a decimal comma.
  static double Convert(const Value& value);

 private:
  static uint32_t ValueIndex(const ValueNumber& number) {
    uint32_t index;
    std::memcpy(&index, number.data(), sizeof index);
    return index;
  }

  Slots slots_;
  std::vector<Value> values_;
};

}  // namespace norvalde::exporting
