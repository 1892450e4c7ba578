// Subject-group assignments -> ASIGT, in four passes over the new table: one row per line of
// rova_asignatgrupo.txt, then each row's group data from GRUPOST, then its weekly hours and
// session pattern from rova_asignatcurso.txt, and at last one hour for the rows that found none.
//
// Both lookups are answered from an index built once, holding for each key the first row or
// line that a walk from the start would meet, so a run costs time in proportion to its data.
// The walk reads the copied values only at the first row or line it matches, and so fails on
// them only there: a value that cannot be read fails the assignment row that first matches it,
// and one that no assignment matches never fails the run.
#include <algorithm>
#include <array>
#include <cstring>
#include <exception>
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
struct GroupData {
  std::array<std::string, kGroupFields.size()> values;
  size_t readable = kGroupFields.size();
  std::exception_ptr failure;
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

  const GroupData* Find(const std::string& abbreviation) const {
    const uint32_t entry = index_.Find({abbreviation});
    return entry == exchange::FirstKeyIndex::kNone ? nullptr : &groups_[entry];
  }

 private:
  // A field the table lacks fails here as at any row, with the table's own error.
  static GroupData ReadGroup(tables::Table& grupost, const GroupFields& fields) {
    GroupData group;
    for (size_t i = 0; i < kGroupFields.size(); ++i) {
      try {
        group.values[i] = grupost.AsText(fields[i]);
      } catch (...) {
        group.readable = i;
        group.failure = std::current_exception();
        break;
      }
    }
    return group;
  }

  exchange::FirstKeyIndex index_;
  std::vector<GroupData> groups_;
};

// Rows whose group is not in GRUPOST keep the four fields empty.
void CopyGroupData(const ExportContext& context, tables::Table& asigt) {
  tables::Table grupost(context.env);
  grupost.Open(context.workFolder, "GRUPOST.DBF", tables::Sharing::kShared,
               tables::Access::kReadOnly);
  asigt.First();
  if (!asigt.AtEnd()) {  // GRUPOST is read only when there is an assignment to look up
    const Groups groups(grupost);
    const tables::FieldHandle cgrup = asigt.FindField("CGRUP");
    const GroupFields fields = FindGroupFields(asigt);
    for (; !asigt.AtEnd(); asigt.Next()) {
      const GroupData* group = groups.Find(asigt.AsText(cgrup));
      if (group == nullptr) continue;
      asigt.Edit();
      for (size_t i = 0; i < group->readable; ++i) asigt.SetText(fields[i], group->values[i]);
      if (group->failure) std::rethrow_exception(group->failure);
      asigt.Post();
    }
  }
  grupost.Close();
}

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

// Rows without a course-hours line keep HORAS and SESIONES empty here; returns whether there
// was one. A text that is not a number ends the run at its row, which is left unchanged.
bool SetHours(tables::Table& asigt, CourseHours& courseHours) {
  bool rowWithoutHours = false;
  const tables::FieldHandle casig = asigt.FindField("CASIG"), nivel = asigt.FindField("NIVEL"),
                            curso = asigt.FindField("CURSO"), horas = asigt.FindField("HORAS"),
                            sesiones = asigt.FindField("SESIONES");
  for (asigt.First(); !asigt.AtEnd(); asigt.Next()) {
    const std::string subject = asigt.AsText(casig);
    const std::string level = asigt.AsText(nivel);
    const std::string course = asigt.AsText(curso);
    CourseHours::Hours* found = courseHours.Find(subject, level, course);
    if (found == nullptr) {
      rowWithoutHours = true;
      continue;
    }
    asigt.Edit();
    asigt.SetNumber(horas, CourseHours::Convert(*found));
    // The pattern follows the value as stored, so it always agrees with HORAS.
    double hours = asigt.AsNumber(horas);
    if (hours < 1) {
      hours = 1;
      asigt.SetNumber(horas, hours);
    }
    asigt.SetText(sesiones, SessionPattern(hours));
    asigt.Post();
  }
  return rowWithoutHours;
}

// Every assignment is taught at least one hour a week. Only the rows that SetHours left empty
// read 0.
void SetDefaultHours(tables::Table& asigt) {
  const tables::FieldHandle horas = asigt.FindField("HORAS"),
                            sesiones = asigt.FindField("SESIONES");
  for (asigt.First(); !asigt.AtEnd(); asigt.Next()) {
    if (asigt.AsNumber(horas) != 0) continue;
    asigt.Edit();
    asigt.SetNumber(horas, 1);
    asigt.SetText(sesiones, "1");
    asigt.Post();
  }
}

}  // namespace

void ExportarAsignaturasGrupos(const ExportContext& context) {
  tables::Table asigt(context.env);
  const bool found = ConvertLineByLine(
      context,
      {"rova_asignatgrupo.txt", "No existe archivo de grupos (ROVA_ASIGNATGRUPO.TXT)",
       tables::AsigtTable(), exchange::kGuardAsignatGrupo, std::nullopt,
       {{"CASIG", 16, 19}, {"CGRUP", 12, 15}}},
      asigt);
  if (!found) return;

  CopyGroupData(context, asigt);

  const std::optional<std::string> coursePath = FindInputFile(
      context, "rova_asignatcurso.txt", "No existe archivo de grupos (ROVA_ASIGNATCURSO.TXT)");
  if (!coursePath) {
    asigt.Close();
    return;
  }
  // When every row found its hours, a walk for the defaults would change nothing.
  CourseHours courseHours(context.env, *coursePath);
  if (SetHours(asigt, courseHours)) SetDefaultHours(asigt);
  asigt.Close();
}

}  // namespace norvalde::exporting
