#include <string>

#include "bench/random.h"
#include "bench/rova_generator.h"
#include "platform/env.h"
#include "tables/table.h"

namespace norvalde::bench {

std::vector<tables::FieldDefinition> SolucFields() {
  using tables::FieldType;
  return {{"DIA", FieldType::kInteger},    {"HORA", FieldType::kInteger},
          {"PROF", FieldType::kText, 5},   {"CODGRUPO", FieldType::kText, 4},
          {"ASIG", FieldType::kText, 4},   {"AULA", FieldType::kText, 4}};
}

void GenerateSoluc(const Scale& scale, uint64_t seed, const std::string& workFolder) {
  using tables::FieldType;
  platform::Env& env = platform::Env::Default();
  // The fields a timetabling program leaves, with one the Import does not read.
  std::vector<tables::FieldDefinition> fields = SolucFields();
  fields.push_back({"SESION", FieldType::kInteger});
  tables::Table::Create(env, workFolder, "SOLUC.DBF", fields);
  tables::Table soluc(env);
  soluc.Open(workFolder, "SOLUC", tables::Sharing::kExclusive, tables::Access::kReadWrite);
  Random random(seed * 8);
  for (int64_t i = 0; i < scale.solucRows; ++i) {
    soluc.Append();
    // One row in twenty holds no lesson (day 0), as the timetabler leaves unplaced sessions.
    bool placed = !random.Percent(5);
    soluc.SetNumber("DIA", static_cast<double>(placed ? 1 + random.Below(scale.days) : 0));
    soluc.SetNumber("HORA", static_cast<double>(1 + random.Below(scale.periodsPerDay)));
    // Some teachers' codes have a fifth character, which the Import writes whole.
    soluc.SetText("PROF", Code4(random.Below(scale.teachers)) + (random.Percent(2) ? "X" : ""));
    soluc.SetText("CODGRUPO", Code4(random.Below(scale.groups)));
    soluc.SetText("ASIG", Code4(random.Below(scale.subjects)));
    soluc.SetText("AULA", Code4(random.Below(scale.rooms)));
    soluc.SetNumber("SESION", static_cast<double>(i % 10000));
    soluc.Post();
  }
  soluc.Close();
}

}  // namespace norvalde::bench
