#include "export/assignment_lookups.h"

#include <algorithm>
#include <cstring>

#include "exchange/cr_or_lf_line_reader.h"
#include "exchange/exchange_fields.h"
#include "export/number_conversions.h"

namespace norvalde::exporting {

GroupFields FindGroupFields(const tables::Table& table) {
  GroupFields fields;
  for (size_t i = 0; i < kGroupFields.size(); ++i) fields[i] = table.FindField(kGroupFields[i]);
  return fields;
}

Groups::Groups(tables::Table& grupost) {
  const GroupFields fields = FindGroupFields(grupost);
  const tables::FieldHandle abrev = grupost.FindField("ABREV");
  for (grupost.First(); !grupost.AtEnd(); grupost.Next()) {
    bool added = false;
    index_.Add({grupost.AsText(abrev)}, added);
    if (added) groups_.push_back(ReadGroup(grupost, fields));
  }
}

// A field the table lacks fails here as at any row, with the table's own error.
GroupData Groups::ReadGroup(tables::Table& grupost, const GroupFields& fields) {
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

CourseHours::CourseHours(platform::Env& env, const std::string& path) {
  using exchange::FieldView;
  exchange::CrOrLfLineReader lines(env);
  lines.Open(path);
  std::string_view line;
  while (lines.Next(line)) {
    if (!exchange::IsDetailLine(line, exchange::kGuardAsignatCurso)) continue;
    // Subject, level and course.
    bool added = false;
    index_.Add({FieldView(line, 24, 27), FieldView(line, 2, 4), FieldView(line, 8, 10)}, added);
    if (added) hours_.emplace_back(FieldView(line, 28, 33));
  }
}

CourseHours::Hours::Hours(std::string_view field) : length(static_cast<uint8_t>(field.size())) {
  if (!field.empty()) std::memcpy(text, field.data(), field.size());
}

double CourseHours::Convert(Hours& hours) {
  if (!hours.converted) {
    std::string text(hours.text, hours.length);
    if (text.empty()) text.push_back('1');
    std::replace(text.begin(), text.end(), ',', '.');
    hours.value = FloatFromText(text);
    hours.converted = true;
  }
  return hours.value;
}

}  // namespace norvalde::exporting
