#include "bench/sample_timetable.h"

#include <vector>

#include "bench/rova_generator.h"
#include "platform/env.h"
#include "tables/table.h"

namespace norvalde::bench {
namespace {

// The subjects of samples/rova_asignatgrupo.txt with their weekly sessions (the course-hours
// file's 2,5 hours of TEC rounded up), each taught by the teacher whose speciality it is in
// rova_prof.txt, in a room of its own or, when `room` is empty, in the group's room.
struct Subject {
  const char* code;
  int sessions;
  const char* teacher;
  const char* room;
};
const Subject kSubjects[] = {
    {"MAT", 4, "GAR", ""},    {"LEN", 4, "MUN", ""},    {"ING", 3, "OLM", ""},
    {"BIO", 3, "CAS", "LAB"}, {"GEH", 3, "PE\xD1", ""}, {"EFI", 2, "ROD", "GIM"},
    {"MUS", 2, "SAN", "MUS"}, {"TEC", 3, "VAL", "TALL"},
};
struct Group {
  const char* code;
  const char* room;
};
const Group kGroups[] = {{"1A", "A101"}, {"1B", "A102"}, {"2A", "A201"}};
constexpr int kDays = 5;            // L to V in rova_sesiones.txt
constexpr int kPeriodsPerDay = 6;   // 08:00 to 14:00
constexpr int kSlots = kDays * kPeriodsPerDay;

}  // namespace

void GenerateSampleSoluc(const std::string& workFolder) {
  // The week's lessons of one group in a fixed sequence of slot positions, each subject's
  // sessions next to each other and the free periods last. Group g takes position p of the
  // sequence at position (p + g * 10) of the week, so the three groups meet the same position
  // only ten places apart, and no subject has more than ten sessions: no two groups have the
  // same subject (and so teacher or special room) at once. Position p is day p % 5, period
  // p / 5, which spreads a subject's sessions over consecutive days.
  std::vector<const Subject*> sequence;
  for (const Subject& subject : kSubjects) sequence.insert(sequence.end(), subject.sessions, &subject);
  sequence.resize(kSlots, nullptr);

  platform::Env& env = platform::Env::Default();
  tables::Table::Create(env, workFolder, "SOLUC.DBF", SolucFields());
  tables::Table soluc(env);
  soluc.Open(workFolder, "SOLUC", tables::Sharing::kExclusive, tables::Access::kReadWrite);
  const int groups = static_cast<int>(std::size(kGroups));
  for (int g = 0; g < groups; ++g) {
    for (int position = 0; position < kSlots; ++position) {
      const Subject* subject = sequence[(position + g * 10) % kSlots];
      if (subject == nullptr) continue;
      soluc.Append();
      soluc.SetNumber("DIA", 1 + position % kDays);
      soluc.SetNumber("HORA", 1 + position / kDays);
      soluc.SetText("PROF", subject->teacher);
      soluc.SetText("CODGRUPO", kGroups[g].code);
      soluc.SetText("ASIG", subject->code);
      soluc.SetText("AULA", *subject->room != '\0' ? subject->room : kGroups[g].room);
      soluc.Post();
    }
  }
  soluc.Close();
}

}  // namespace norvalde::bench
