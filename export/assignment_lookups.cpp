#include "export/assignment_lookups.h"

#include <algorithm>
#include <stdexcept>

#include "exchange/cr_or_lf_line_reader.h"
#include "exchange/exchange_fields.h"
#include "export/number_conversions.h"
#include "tables/dbf_values.h"

namespace norvalde::exporting {

GroupFields FindGroupFields(const tables::Table& table) {
  GroupFields fields;
  for (size_t i = 0; i < kGroupFields.size(); ++i) fields[i] = table.FindField(kGroupFields[i]);
  return fields;
}

namespace {

// Where `fields` of `table`, which must lie side by side in this order and take `bytes`
// together, start in a record.
size_t Block(const tables::Table& table, const std::vector<tables::FieldHandle>& fields,
             size_t bytes) {
  const size_t start = table.Span(fields.front()).offset;
  size_t end = start;
  for (const tables::FieldHandle& field : fields) {
    const tables::Table::FieldSpan span = table.Span(field);
    if (span.offset != end) throw std::logic_error("ASIGT: fields not side by side");
    end += span.length;
  }
  if (end - start != bytes) throw std::logic_error("ASIGT: fields of another width");
  return start;
}

// The level and course of a group as a course-hours key holds them, from its bytes in ASIGT;
// false when they are wider than the file's columns, so that no line has them.
bool LevelAndCourseOf(const Groups::Data& group, const tables::Table& asigt,
                      const AsigtFields& fields, LevelAndCourse& levelAndCourse) {
  // As a row reads them back once the group's bytes are in it.
  const auto readBack = [&](const tables::FieldHandle& field) {
    const tables::Table::FieldSpan span = asigt.Span(field);
    return tables::WithoutTrailingBlanks({group.asigt + (span.offset - fields.groupAt),
                                          span.length});
  };
  return exchange::PutKeyText(levelAndCourse, 0, 3, readBack(fields.nivel)) &&
         exchange::PutKeyText(levelAndCourse, 3, 3, readBack(fields.curso));
}

}  // namespace

AsigtFields::AsigtFields(const tables::Table& asigt)
    : casig(asigt.FindField("CASIG")),
      cgrup(asigt.FindField("CGRUP")),
      nivel(asigt.FindField("NIVEL")),
      curso(asigt.FindField("CURSO")),
      horas(asigt.FindField("HORAS")),
      sesiones(asigt.FindField("SESIONES")),
      group(FindGroupFields(asigt)),
      casigSpan(asigt.Span(casig)),
      cgrupSpan(asigt.Span(cgrup)),
      groupAt(Block(asigt, {group.begin(), group.end()}, kGroupBytes)),
      hoursAt(Block(asigt, {horas, sesiones}, kHoursBytes)) {
  // The codes of a line, at most four bytes each, are put in their rows as they are.
  for (const tables::FieldHandle* code : {&casig, &cgrup}) {
    if (!asigt.StoresTextAsIs(*code) || asigt.Span(*code).length != 4) {
      throw std::logic_error("ASIGT: code fields that do not store a code as it is");
    }
  }
}

Groups::Groups(tables::Table& grupost, const tables::Table& asigt, const AsigtFields& fields) {
  const GroupFields copied = FindGroupFields(grupost);
  const tables::FieldHandle abrev = grupost.FindField("ABREV");
  for (grupost.First(); !grupost.AtEnd(); grupost.Next()) {
    Abbreviation key;
    if (!PadCode(grupost.AsText(abrev), key)) continue;
    bool added = false;
    Slot& group = slots_.Add(key, added);
    if (!added) continue;
    // A field the table lacks fails here as at any row, with the table's own error.
    try {
      for (size_t i = 0; i < kGroupFields.size(); ++i) {
        const tables::Table::FieldSpan span = asigt.Span(fields.group[i]);
        asigt.PutText(fields.group[i], grupost.AsText(copied[i]),
                      group.data.asigt + (span.offset - fields.groupAt));
      }
      group.data.hasHours = LevelAndCourseOf(group.data, asigt, fields, group.data.levelAndCourse);
      group.used = kReadable;
    } catch (...) {
      group.used = kFailed;
      failures_.emplace_back(key, std::current_exception());
    }
  }
}

std::exception_ptr Groups::Failure(const Slot& group) const {
  for (const auto& [key, failure] : failures_) {
    if (key == group.key) return failure;
  }
  return nullptr;
}

CourseHours::CourseHours(platform::Env& env, const std::string& path) {
  using exchange::FieldView;
  // Each distinct hours text and the number of its value.
  exchange::ShortKeySlots<6, ValueNumber> texts;
  exchange::CrOrLfLineReader lines(env);
  lines.Open(path);
  std::string_view line;
  while (lines.Next(line)) {
    if (!exchange::IsDetailLine(line, exchange::kGuardAsignatCurso)) continue;
    // Each field is at most as wide as its columns, so it always fits.
    Subject subject;
    LevelAndCourse levelAndCourse;
    PadCode(FieldView(line, 24, 27), subject);
    exchange::PutKeyText(levelAndCourse, 0, 3, FieldView(line, 2, 4));
    exchange::PutKeyText(levelAndCourse, 3, 3, FieldView(line, 8, 10));
    bool added = false;
    Slot& slot = slots_.Add(MakeKey(subject, levelAndCourse), added);
    if (!added) continue;
    // An empty field counts as "1", so a kept text is never empty.
    std::string_view text = FieldView(line, 28, 33);
    if (text.empty()) text = "1";
    std::array<char, 6> textKey;
    PadCode(text, textKey);
    auto& known = texts.Add(textKey, added);
    if (added) {
      const auto index = static_cast<uint32_t>(values_.size());
      std::memcpy(known.data.data(), &index, sizeof index);
      values_.emplace_back(text);
    }
    slot.data = known.data;
  }
}

double CourseHours::Convert(const Value& value) {
  std::string text = value.text;
  std::replace(text.begin(), text.end(), ',', '.');
  return FloatFromText(text);
}

}  // namespace norvalde::exporting
