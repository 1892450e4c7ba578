// The slot map must answer exactly as a walk of DIASHORAST from its first row would.
#include "import/slot_codes.h"

#include <gtest/gtest.h>

#include <random>

#include "import_work_folder.h"
#include "tables/work_tables.h"

namespace norvalde::importing::testing {
namespace {

std::string WalkForSlot(tables::Table& slots, const std::string& day, const std::string& hora) {
  for (slots.First(); !slots.AtEnd(); slots.Next()) {
    if (slots.AsText("DIA") == day && slots.AsText("HORA") == hora) {
      return slots.AsText("CODDIHO");
    }
  }
  return {};
}

TEST(SlotCodesTest, AnswersAsTheWalkFromTheFirstRow) {
  // Few days and periods, so that many rows repeat a pair; blanks and case differences too.
  const std::vector<std::string> days = {"L", "M", "l", "1", "", "8", "L "};
  const std::vector<std::string> horas = {"1", "2", "10", "", "01"};
  std::mt19937 random(20261209);
  std::vector<SlotRow> rows;
  for (int i = 0; i < 120; ++i) {
    rows.push_back({days[random() % days.size()], horas[random() % horas.size()],
                    "S" + std::to_string(i)});
  }
  ImportWorkFolder folder;
  folder.WriteSlots(rows);
  tables::Table slots(folder.env());
  slots.Open(folder.workFolder(), "DIASHORAST", tables::Sharing::kShared,
             tables::Access::kReadOnly);

  const SlotCodes codes(slots);
  for (const std::string& day : days) {
    for (const std::string& hora : horas) {
      EXPECT_EQ(codes.Find(day, hora), WalkForSlot(slots, day, hora))
          << "day '" << day << "' hora '" << hora << "'";
    }
  }
}

}  // namespace
}  // namespace norvalde::importing::testing
