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
// - an hours text that is not a number, or whose number does not fit in HORAS: the rows from
//   the first that takes it on get no hours, the rows before it keep theirs but lose the
//   default hours; the error comes at the end.
// - a failure of the rows themselves (the file cannot be read, the table cannot be written):
//   the rows stored so far are brought back to the fields of the file alone.
//
// The lookups are in assignment_lookups.h. Lines are read a few rows before they are written,
// so that the memory a row's lookups read is on its way in before the row needs it (RowsAhead).
#include <array>
#include <cstdint>
#include <cstring>
#include <exception>
#include <initializer_list>
#include <optional>
#include <string>

#include "core/error.h"
#include "exchange/exchange_fields.h"
#include "export/assignment_lookups.h"
#include "export/export.h"
#include "export/input_files.h"
#include "export/line_conversion.h"
#include "export/session_pattern.h"
#include "tables/work_tables.h"

namespace norvalde::exporting {
namespace {

// An assignment line read ahead of its row: the two codes it gives the row (trimmed, so at most
// the four bytes of their columns) as keys, zero-padded, and as ASIGT stores them, blank-padded;
// and what the lookups found for them.
struct PendingRow {
  Subject casig;
  Groups::Abbreviation cgrup;
  std::array<char, 4> storedCasig, storedCgrup;
  uint64_t cgrupHash = 0;
  const Groups::Slot* group = nullptr;
  bool hasHours = false;  // whether hoursKey can have hours
  CourseHours::Key hoursKey;
  uint64_t hoursHash = 0;

  void Read(std::string_view line) {
    Pad(exchange::FieldView(line, 16, 19), casig, storedCasig);
    Pad(exchange::FieldView(line, 12, 15), cgrup, storedCgrup);
    group = nullptr;
    hasHours = false;
  }

 private:
  // Byte by byte: four bytes cost less so than calls to copy and fill them.
  static void Pad(std::string_view code, std::array<char, 4>& key, std::array<char, 4>& stored) {
    for (size_t i = 0; i < 4; ++i) {
      key[i] = i < code.size() ? code[i] : '\0';
      stored[i] = i < code.size() ? code[i] : ' ';
    }
  }
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
      : context_(context),
        fields_(asigt),
        blank_(asigt.RecordLength(), ' '),
        record_(blank_) {}

  // Before the first row: GRUPOST read and the course-hours file loaded.
  void Prepare(const tables::Table& asigt) {
    if (!prepared_) Prepare(asigt, true);
  }

  // Starts bringing in the memory of the row's group.
  void Prefetch(PendingRow& row) const {
    if (!groups_) return;
    row.cgrupHash = Groups::Hash(row.cgrup);
    groups_->Prefetch(row.cgrupHash);
  }

  // The row's group, and the key of its hours: its subject, and its level and course as the
  // row reads them back (empty without a group). The hours' memory starts coming in here, and
  // is in by the time the row is written. Changes nothing else: what a failure does is
  // WriteRow's.
  void LookUp(PendingRow& row) const {
    if (!groups_) return;
    row.group = groups_->Find(row.cgrup, row.cgrupHash);
    if (!courseHours_) return;
    if (row.group == nullptr) {
      row.hasHours = true;
      row.hoursKey = CourseHours::MakeKey(row.casig, LevelAndCourse{});
    } else if (row.group->used == Groups::kReadable && row.group->data.hasHours) {
      row.hasHours = true;
      row.hoursKey = CourseHours::MakeKey(row.casig, row.group->data.levelAndCourse);
    }
    if (!row.hasHours) return;
    row.hoursHash = CourseHours::Hash(row.hoursKey);
    courseHours_->Prefetch(row.hoursHash);
  }

  // Appends the row of a line that LookUp has seen, with every field the passes would give
  // it, built whole in a record of its own from bytes worked out once each and copied, and
  // stored at once. The first row to take an hours value works it out through the engine, on
  // itself.
  void WriteRow(const PendingRow& pending, tables::Table& asigt) {
    char* record = record_.data();
    std::memcpy(record, blank_.data(), record_.size());
    std::memcpy(record + fields_.casigSpan.offset, pending.storedCasig.data(), 4);
    std::memcpy(record + fields_.cgrupSpan.offset, pending.storedCgrup.data(), 4);
    CourseHours::Value* unworked = FillRow(pending, record);
    if (unworked == nullptr) {
      asigt.AppendRecord(record);
      return;
    }
    asigt.Append();
    std::memcpy(asigt.EditableRow(), record, record_.size());
    WorkOut(*unworked, asigt);
    asigt.Post();
  }

  // Once every row is written: what held back is raised or shown, after the rows written
  // ahead of it are brought to what the passes would have left. Closes the table when the
  // conversion ends normally.
  void Finish(tables::Table& asigt) {
    if (!prepared_) Prepare(asigt, false);
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
  // The later passes' fields of row number `rows_`, put in `record`; or the hours value the
  // row takes when no row has worked it out yet, for WriteRow to do so.
  CourseHours::Value* FillRow(const PendingRow& pending, char* record) {
    const uint32_t row = rows_++;
    if (groupsFailure_ && row >= groupsFailureRow_) return nullptr;
    if (const Groups::Slot* group = pending.group) {
      if (group->used == Groups::kFailed) {
        groupsFailure_ = groups_->Failure(*group);
        groupsFailureRow_ = row;
        return nullptr;
      }
      std::memcpy(record + fields_.groupAt, group->data.asigt, kGroupBytes);
    }
    if (groupsFailure_ || !courseHours_ || hoursFailure_) return nullptr;
    // Without hours, the default hours, taken back at the end should a later row's fail.
    CourseHours::Value* found =
        pending.hasHours ? courseHours_->Find(pending.hoursKey, pending.hoursHash) : nullptr;
    CourseHours::Value& hours = found != nullptr ? *found : defaultHours_;
    if (!hours.worked) return &hours;
    if (hours.failure) {
      hoursFailure_ = hours.failure;
      hoursFailureRow_ = row;
      return nullptr;
    }
    std::memcpy(record + fields_.hoursAt, hours.stored, kHoursBytes);
    return nullptr;
  }

  // The hours of a stored row's subject, level and course as the row holds them.
  CourseHours::Value* FindHours(const tables::Table& asigt) {
    Subject subject;
    LevelAndCourse levelAndCourse;
    const bool fits = PadCode(asigt.TextView(fields_.casig, scratch_[0]), subject) &&
                      exchange::PutKeyText(levelAndCourse, 0, 3,
                                           asigt.TextView(fields_.nivel, scratch_[1])) &&
                      exchange::PutKeyText(levelAndCourse, 3, 3,
                                           asigt.TextView(fields_.curso, scratch_[2]));
    return fits ? courseHours_->Find(CourseHours::MakeKey(subject, levelAndCourse)) : nullptr;
  }

  // HORAS and SESIONES as the hours pass stores `hours` (the default-hours pass, for the
  // default), set through the engine on the row being appended (row number rows_ - 1), kept
  // for the later rows that take the same hours. A text that is no number, or a number that
  // does not fit, is kept as the failure, held from this row on; the row keeps no hours.
  void WorkOut(CourseHours::Value& hours, tables::Table& asigt) {
    hours.worked = true;
    try {
      if (&hours == &defaultHours_) {
        asigt.SetNumber(fields_.horas, 1);
        asigt.SetText(fields_.sesiones, "1");
      } else {
        asigt.SetNumber(fields_.horas, CourseHours::Convert(hours));
        // The pattern follows the value as stored, so it always agrees with HORAS.
        double value = asigt.AsNumber(fields_.horas);
        if (value < 1) {
          value = 1;
          asigt.SetNumber(fields_.horas, value);
        }
        asigt.SetText(fields_.sesiones, SessionPattern(value));
      }
      std::memcpy(hours.stored, asigt.EditableRow() + fields_.hoursAt, kHoursBytes);
    } catch (const Error&) {
      hours.failure = std::current_exception();
      hoursFailure_ = hours.failure;
      hoursFailureRow_ = rows_ - 1;
      std::memset(asigt.EditableRow() + fields_.hoursAt, ' ', kHoursBytes);
    }
  }

  // GRUPOST read (its rows only when there is an assignment to look up) and the course-hours
  // file loaded, each failure held. The file is looked for only when GRUPOST could be read,
  // as the hours pass runs only after the group pass.
  void Prepare(const tables::Table& asigt, bool anyRow) {
    prepared_ = true;
    tables::Table grupost(context_.env, {}, context_.decimalSeparator);
    try {
      grupost.Open(context_.workFolder, "GRUPOST.DBF", tables::Sharing::kShared,
                   tables::Access::kReadOnly);
      if (anyRow) groups_.emplace(grupost, asigt, fields_);
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
  const std::string blank_;  // a new row's record: every field empty
  std::string record_;       // the row being built
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
  CourseHours::Value defaultHours_{"1"};  // one hour, pattern "1"
};

// The rows of the assignment lines, each line read kRowsAhead rows before its row is written:
// its group's memory is asked for when it is read, its hours' memory when it is looked up,
// kLookedUpAhead rows before it is written, and each has arrived by the time it is needed.
// Rows are written in the order of their lines and only after every earlier one, so the table
// changes exactly as it would line by line; a line that cannot be read fails after the rows of
// the lines before it are written, as it would.
class RowsAhead {
 public:
  RowsAhead(Joins& joins, tables::Table& asigt) : joins_(joins), asigt_(asigt) {}

  void Add(std::string_view line) {
    if (read_ - written_ == kRowsAhead) WriteNext();
    if (read_ == 0) joins_.Prepare(asigt_);
    PendingRow& row = rows_[read_++ % kRowsAhead];
    row.Read(line);
    joins_.Prefetch(row);
    if (read_ - lookedUp_ > kRowsAhead - kLookedUpAhead) {
      joins_.LookUp(rows_[lookedUp_++ % kRowsAhead]);
    }
  }

  // Writes the rows still pending.
  void Finish() {
    while (written_ < read_) WriteNext();
  }

 private:
  static constexpr uint64_t kRowsAhead = 16, kLookedUpAhead = 8;

  void WriteNext() {
    if (lookedUp_ == written_) joins_.LookUp(rows_[lookedUp_++ % kRowsAhead]);
    joins_.WriteRow(rows_[written_++ % kRowsAhead], asigt_);
  }

  Joins& joins_;
  tables::Table& asigt_;
  PendingRow rows_[kRowsAhead];
  uint64_t read_ = 0, lookedUp_ = 0, written_ = 0;
};

void WriteRows(exchange::ExchangeReader& reader, Joins& joins, tables::Table& asigt) {
  RowsAhead rows(joins, asigt);
  std::string line;
  for (;;) {
    try {
      if (reader.AtEnd()) break;
      reader.ReadLine(line);
    } catch (...) {
      rows.Finish();  // should a row fail to be written, that failure came first
      throw;
    }
    if (exchange::IsDetailLine(line, exchange::kGuardAsignatGrupo)) rows.Add(line);
  }
  rows.Finish();
  reader.Close();
}

}  // namespace

void ExportarAsignaturasGrupos(const ExportContext& context) {
  exchange::ExchangeReader reader(context.env);
  tables::Table asigt(context.env, {}, context.decimalSeparator);
  if (!OpenLineByLine(context,
                      {"rova_asignatgrupo.txt",
                       "No existe archivo de grupos (ROVA_ASIGNATGRUPO.TXT)", tables::AsigtTable(),
                       exchange::kGuardAsignatGrupo, std::nullopt, {}},
                      reader, asigt)) {
    return;
  }
  Joins joins(context, asigt);
  try {
    WriteRows(reader, joins, asigt);
  } catch (...) {
    joins.KeepOnlyFileFields(asigt);
    throw;
  }
  joins.Finish(asigt);
}

}  // namespace norvalde::exporting
