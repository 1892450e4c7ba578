// Subject-group assignments -> ASIGT: one row per line of rova_asignatgrupo.txt, with its
// group's data from GRUPOST, its weekly hours and session pattern from rova_asignatcurso.txt,
// and one hour for the rows that found none.
//
// The table left is the one four passes over it would leave (the rows of the file, then each
// row's group data, then its hours, then the default hours), at the end and after a failure at
// any row of any pass. Each row is written once, with every field the passes give it, and what
// would have stopped a later pass is held until every row is written:
// - GRUPOST that cannot be opened or read, or a group whose copied fields cannot be read: the
//   rows from the first that takes that group on (every row, for GRUPOST itself) are written
//   without group data, and no row keeps hours; the error comes at the end.
// - rova_asignatcurso.txt missing or not loadable: no row gets hours; its message or error
//   comes at the end.
// - an hours text that is not a number: the rows from the first that takes it on get no hours,
//   the rows before it keep theirs but lose the default hours; the error comes at the end.
// - a failure of the rows themselves (the file cannot be read, the table cannot be written):
//   the rows stored so far are brought back to the fields of the file alone.
//
// Both lookups are answered from an index built once, holding for each key the first row or
// line that a walk from the start would meet, so a run costs time in proportion to its data.
// The copied values are read only at the first row or line a key meets, and so fail only
// there: a value that cannot be read fails the assignment row that first matches it, and one
// that no assignment matches never fails the run.
#include <algorithm>
#include <array>
#include <cstring>
#include <exception>
#include <initializer_list>
#include <optional>
#include <string_view>
#include <vector>

#include "exchange/exchange_fields.h"
#include "exchange/exchange_line_stream.h"
#include "exchange/first_key_index.h"
#include "export/export.h"
#include "export/input_files.h"
#include "export/line_conversion.h"
#include "export/number_conversions.h"
#include "export/session_pattern.h"
#include "platform/error.h"

namespace norvalde::exporting {
namespace {

using exchange::FieldText;

// The GRUPOST fields an assignment takes, in the order they are copied.
constexpr std::array<const char*, 4> kGroupFields{"TURNO", "NIVEL", "CURSO", "GRUPO"};

using GroupFields = std::array<tables::FieldHandle, kGroupFields.size()>;

// The handles of the copied fields in `table`.
GroupFields FindGroupFields(const tables::Table& table) {
  GroupFields fields;
  for (size_t i = 0; i < kGroupFields.size(); ++i) fields[i] = table.FindField(kGroupFields[i]);
  return fields;
}

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
  explicit Groups(tables::Table& grupost) {
    const GroupFields fields = FindGroupFields(grupost);
    const tables::FieldHandle abrev = grupost.FindField("ABREV");
    for (grupost.First(); !grupost.AtEnd(); grupost.Next()) {
      bool added = false;
      index_.Add({grupost.AsText(abrev)}, added);
      if (added) groups_.push_back(ReadGroup(grupost, fields));
    }
  }

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
  // A field the table lacks fails here as at any row, with the table's own error.
  GroupData ReadGroup(tables::Table& grupost, const GroupFields& fields) {
    GroupData group;
    group.valuesAt = texts_.size();
    for (size_t i = 0; i < kGroupFields.size(); ++i) {
      try {
        const std::string value = grupost.AsText(fields[i]);
        group.lengths[i] = static_cast<uint16_t>(value.size());
        texts_ += value;
      } catch (...) {
        group.readable = static_cast<uint8_t>(i);
        group.failure = std::current_exception();
        break;
      }
    }
    return group;
  }

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
  CourseHours(platform::Env& env, const std::string& path) {
    exchange::ExchangeLineStream lines(env);
    lines.Open(path);
    std::string_view line;
    while (lines.Next(line)) {
      if (!exchange::IsDetailLine(line, exchange::kGuardAsignatCurso)) continue;
      // Subject, level and course.
      bool added = false;
      index_.Add({FieldText(line, 24, 27), FieldText(line, 2, 4), FieldText(line, 8, 10)}, added);
      if (added) hours_.emplace_back(FieldText(line, 28, 33));
    }
  }

  struct Hours {
    explicit Hours(const std::string& field) : length(static_cast<uint8_t>(field.size())) {
      std::memcpy(text, field.data(), field.size());
    }
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
  static double Convert(Hours& hours) {
    if (!hours.converted) {
      std::string text = hours.length == 0 ? "1" : std::string(hours.text, hours.length);
      std::replace(text.begin(), text.end(), ',', '.');
      hours.value = FloatFromText(text);
      hours.converted = true;
    }
    return hours.value;
  }

 private:
  exchange::FirstKeyIndex index_;
  std::vector<Hours> hours_;
};

// The ASIGT fields the conversion sets or reads back.
struct AsigtFields {
  explicit AsigtFields(const tables::Table& asigt)
      : casig(asigt.FindField("CASIG")),
        cgrup(asigt.FindField("CGRUP")),
        nivel(asigt.FindField("NIVEL")),
        curso(asigt.FindField("CURSO")),
        horas(asigt.FindField("HORAS")),
        sesiones(asigt.FindField("SESIONES")),
        group(FindGroupFields(asigt)) {}
  tables::FieldHandle casig, cgrup, nivel, curso, horas, sesiones;
  GroupFields group;
};

// Blanks `fields` in the first `rows` rows that `select` picks, as edits of stored rows.
template <typename Select>
void BlankFields(tables::Table& asigt, uint32_t rows,
                 std::initializer_list<const tables::FieldHandle*> fields, Select select) {
  uint32_t row = 0;
  for (asigt.First(); !asigt.AtEnd() && row < rows; asigt.Next(), ++row) {
    if (!select()) continue;
    asigt.Edit();
    for (const tables::FieldHandle* field : fields) asigt.SetText(*field, "");
    asigt.Post();
  }
}

// The group data and hours of each row, as the passes after the first would set them, and
// what would have ended those passes, held until every row is written.
class Joins {
 public:
  Joins(const ExportContext& context, const tables::Table& asigt)
      : context_(context), fields_(asigt) {}

  // Fills the later passes' fields of the row just appended (row number `rows_`).
  void FillRow(tables::Table& asigt) {
    const uint32_t row = rows_++;
    if (!prepared_) Prepare(true);
    if (groupsFailure_ && row >= groupsFailureRow_) return;
    if (const GroupData* group = groups_->Find(asigt.TextView(fields_.cgrup, scratch_[0]))) {
      if (group->failure) {
        groupsFailure_ = group->failure;
        groupsFailureRow_ = row;
        return;
      }
      for (size_t i = 0; i < kGroupFields.size(); ++i) {
        asigt.SetText(fields_.group[i], groups_->Value(*group, i));
      }
    }
    if (groupsFailure_ || !courseHours_ || hoursFailure_) return;
    CourseHours::Hours* found = FindHours(asigt);
    if (found == nullptr) {
      // The default hours, taken back at the end should a later row's hours fail.
      asigt.SetNumber(fields_.horas, 1);
      asigt.SetText(fields_.sesiones, "1");
      return;
    }
    double value = 0;
    try {
      value = CourseHours::Convert(*found);
    } catch (const Error&) {
      hoursFailure_ = std::current_exception();
      hoursFailureRow_ = row;
      return;
    }
    asigt.SetNumber(fields_.horas, value);
    // The pattern follows the value as stored, so it always agrees with HORAS.
    double hours = asigt.AsNumber(fields_.horas);
    if (hours < 1) {
      hours = 1;
      asigt.SetNumber(fields_.horas, hours);
    }
    asigt.SetText(fields_.sesiones, SessionPattern(hours));
  }

  // Once every row is written: what held back is raised or shown, after the rows written
  // ahead of it are brought to what the passes would have left. Closes the table when the
  // conversion ends normally.
  void Finish(tables::Table& asigt) {
    if (!prepared_) Prepare(false);
    if (groupsFailure_) {
      // The hours pass never ran.
      if (courseHours_) {  // never loaded when GRUPOST failed in Prepare
        BlankFields(asigt, groupsFailureRow_, {&fields_.horas, &fields_.sesiones},
                    [] { return true; });
      }
      std::rethrow_exception(groupsFailure_);
    }
    if (courseFileMissing_) {
      context_.messages.ShowMessage("No existe archivo de grupos (ROVA_ASIGNATCURSO.TXT)");
      asigt.Close();
      return;
    }
    if (courseFailure_) std::rethrow_exception(courseFailure_);
    if (hoursFailure_) {
      // The default-hours pass never ran: the rows before that found no hours lose them.
      BlankFields(asigt, hoursFailureRow_, {&fields_.horas, &fields_.sesiones},
                  [&] { return FindHours(asigt) == nullptr; });
      std::rethrow_exception(hoursFailure_);
    }
    asigt.Close();
  }

  // After a failure while the rows were written: every row stored so far holds only the
  // fields of its line, as when the first pass fails. The pending row is dropped by closing
  // the table; it is then reopened for the edits. Best effort: a table that cannot be changed
  // any more keeps what it has, and the caller raises the first failure.
  void KeepOnlyFileFields(tables::Table& asigt) noexcept {
    try {
      asigt.Close();
    } catch (...) {
    }
    try {
      asigt.Open(context_.workFolder, tables::AsigtTable().name + ".DBF",
                 tables::Sharing::kShared, tables::Access::kReadWrite);
      const AsigtFields fields(asigt);
      BlankFields(asigt, rows_,
                  {&fields.group[0], &fields.group[1], &fields.group[2], &fields.group[3],
                   &fields.horas, &fields.sesiones},
                  [] { return true; });
      asigt.Close();
    } catch (...) {
    }
  }

 private:
  // The hours of the row's subject, level and course as the row holds them.
  CourseHours::Hours* FindHours(const tables::Table& asigt) {
    return courseHours_->Find(asigt.TextView(fields_.casig, scratch_[0]),
                              asigt.TextView(fields_.nivel, scratch_[1]),
                              asigt.TextView(fields_.curso, scratch_[2]));
  }

  // GRUPOST read (its rows only when there is an assignment to look up) and the course-hours
  // file loaded, each failure held. The file is looked for only when GRUPOST could be read,
  // as the hours pass runs only after the group pass.
  void Prepare(bool anyRow) {
    prepared_ = true;
    tables::Table grupost(context_.env);
    try {
      grupost.Open(context_.workFolder, "GRUPOST.DBF", tables::Sharing::kShared,
                   tables::Access::kReadOnly);
      if (anyRow) groups_.emplace(grupost);
    } catch (const Error&) {
      groupsFailure_ = std::current_exception();
      groupsFailureRow_ = 0;
      return;
    }
    try {
      grupost.Close();
    } catch (const Error&) {
      // The group pass would fail only when it closes GRUPOST, after its last row.
      groupsFailure_ = std::current_exception();
      groupsFailureRow_ = UINT32_MAX;
      return;
    }
    const std::optional<std::string> coursePath =
        LocateInputFile(context_, "rova_asignatcurso.txt");
    if (!coursePath) {
      courseFileMissing_ = true;
      return;
    }
    try {
      courseHours_.emplace(context_.env, *coursePath);
    } catch (const Error&) {
      courseFailure_ = std::current_exception();
    }
  }

  const ExportContext& context_;
  const AsigtFields fields_;
  std::string scratch_[3];  // texts read back that are no plain bytes of the row (TextView)
  uint32_t rows_ = 0;  // rows appended so far
  bool prepared_ = false;
  std::optional<Groups> groups_;
  std::exception_ptr groupsFailure_;
  uint32_t groupsFailureRow_ = 0;  // the rows from this one on have no group data
  bool courseFileMissing_ = false;
  std::optional<CourseHours> courseHours_;
  std::exception_ptr courseFailure_;
  std::exception_ptr hoursFailure_;
  uint32_t hoursFailureRow_ = 0;
};

}  // namespace

void ExportarAsignaturasGrupos(const ExportContext& context) {
  tables::Table asigt(context.env);
  std::optional<Joins> joins;
  try {
    const bool found = ConvertLineByLine(
        context,
        {"rova_asignatgrupo.txt", "No existe archivo de grupos (ROVA_ASIGNATGRUPO.TXT)",
         tables::AsigtTable(), exchange::kGuardAsignatGrupo, std::nullopt,
         {{"CASIG", 16, 19}, {"CGRUP", 12, 15}},
         [&](std::string_view, tables::Table& row) {
           if (!joins) joins.emplace(context, row);
           joins->FillRow(row);
         }},
        asigt);
    if (!found) return;
  } catch (...) {
    if (joins) joins->KeepOnlyFileFields(asigt);
    throw;
  }
  if (!joins) joins.emplace(context, asigt);
  joins->Finish(asigt);
}

}  // namespace norvalde::exporting
