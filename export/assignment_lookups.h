// The two lookups of the assignments conversion: each ASIGT row's group in GRUPOST and its
// weekly hours in rova_asignatcurso.txt. Each is answered from an index built once, holding for
// each key the first row or line that a walk from the start would meet. The copied values are
// read only at the first row or line a key meets, and a value that cannot be read fails only
// the assignment row that first takes it.
#pragma once

#include <array>
#include <cstdint>
#include <exception>
#include <string>
#include <string_view>
#include <vector>

#include "exchange/first_key_index.h"
#include "platform/env.h"
#include "tables/table.h"

namespace norvalde::exporting {

// The GRUPOST fields an assignment takes, in the order they are copied.
inline constexpr std::array<const char*, 4> kGroupFields{"TURNO", "NIVEL", "CURSO", "GRUPO"};

using GroupFields = std::array<tables::FieldHandle, kGroupFields.size()>;

// The handles of the copied fields in `table`.
GroupFields FindGroupFields(const tables::Table& table);

// The copied fields of the first GRUPOST row of one ABREV, read in order up to the first that
// could not be read, and that failure, which is raised when an assignment takes the group.
// Small and flat, the values kept elsewhere (Groups::Value): every assignment row reads one,
// from anywhere in a large table, and each cache line it spans is a wait for memory.
struct GroupData {
  std::exception_ptr failure;
  size_t valuesAt = 0;  // where the values lie, back to back, in the Groups' texts
  std::array<uint16_t, kGroupFields.size()> lengths{};  // a field holds at most 65,535 bytes
  uint8_t readable = kGroupFields.size();
};

// GRUPOST's rows by ABREV as read back (cut to width, trailing blanks gone); matching is byte
// for byte, case included. A repeated ABREV keeps its first row, and only that row's copied
// fields are read.
class Groups {
 public:
  explicit Groups(tables::Table& grupost);

  const GroupData* Find(std::string_view abbreviation) const {
    const uint32_t entry = index_.Find({abbreviation});
    return entry == exchange::FirstKeyIndex::kNone ? nullptr : &groups_[entry];
  }

  // The value of copied field `i` (below group.readable).
  std::string_view Value(const GroupData& group, size_t i) const {
    size_t at = group.valuesAt;
    for (size_t before = 0; before < i; ++before) at += group.lengths[before];
    return std::string_view(texts_).substr(at, group.lengths[i]);
  }

 private:
  GroupData ReadGroup(tables::Table& grupost, const GroupFields& fields);

  exchange::FirstKeyIndex index_;
  std::vector<GroupData> groups_;
  std::string texts_;  // every group's values, back to back
};

// The weekly hours of the first detail line of rova_asignatcurso.txt for each subject, level
// and course, each converted when a row first takes it, so a text that is not a number fails
// at the first row that takes it and nowhere else.
class CourseHours {
 public:
  // The file is split into lines as a line list loads it, but streamed: only the index is
  // held, never the whole file beside it.
  CourseHours(platform::Env& env, const std::string& path);

  struct Hours {
    explicit Hours(std::string_view field);
    char text[6];  // the field of columns 28-33, trimmed, so never longer
    uint8_t length;
    bool converted = false;
    double value = 0;
  };

  // The hours of the first line for this subject, level and course, or null when none has.
  Hours* Find(std::string_view subject, std::string_view level, std::string_view course) {
    const uint32_t entry = index_.Find({subject, level, course});
    return entry == exchange::FirstKeyIndex::kNone ? nullptr : &hours_[entry];
  }

  // The field as a number: empty counts as "1", and ROVA may write a decimal comma.
  static double Convert(Hours& hours);

 private:
  exchange::FirstKeyIndex index_;
  std::vector<Hours> hours_;
};

}  // namespace norvalde::exporting
