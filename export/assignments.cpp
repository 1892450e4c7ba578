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
// The lookups are in assignment_lookups.h.
#include <cstdint>
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
    tables::Table grupost(context_.env, {}, context_.decimalSeparator);
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
  tables::Table asigt(context.env, {}, context.decimalSeparator);
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
