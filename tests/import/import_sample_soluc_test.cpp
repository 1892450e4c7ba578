// The Import on the sample SOLUC tables of the engine's tests: the same lessons written by
// other programs in every common dBASE variant, each with its own types and code page.
#include <gtest/gtest.h>

#include <filesystem>

#include "import_work_folder.h"
#include "platform/error.h"

namespace norvalde::importing::testing {
namespace {

namespace fs = std::filesystem;

struct Sample {
  std::string name;          // soluc_<name>.dbf, with its .fpt or .cpg when present
  std::string failure = {};  // the message the run ends with; empty when it succeeds
};

void PrintTo(const Sample& sample, std::ostream* out) { *out << sample.name; }

class ImportSampleSolucTest : public ::testing::TestWithParam<Sample> {};

TEST_P(ImportSampleSolucTest, WritesTheSameTimetable) {
  ImportWorkFolder folder;
  folder.Prepare('L',
                 {{"L", "1", "T011"}, {"L", "2", "T012"}, {"M", "3", "T023"},
                  {"X", "6", "T036"}, {"J", "1", "T041"}},
                 {});
  const std::string sample = std::string(IMPORT_TABLE_SAMPLES) + "/soluc_" + GetParam().name;
  fs::copy_file(sample + ".dbf", folder.workFolder() + "/SOLUC.DBF",
                fs::copy_options::overwrite_existing);
  for (const char* sidecar : {".fpt", ".cpg"}) {
    if (fs::exists(sample + sidecar)) {
      fs::copy_file(sample + sidecar, folder.workFolder() + "/SOLUC" + sidecar);
    }
  }

  RecordingMessageSink sink;
  if (!GetParam().failure.empty()) {
    try {
      folder.Run(sink);
      ADD_FAILURE() << "the run did not fail";
    } catch (const Error& error) {
      EXPECT_EQ(std::string(error.what()), GetParam().failure);
    }
    return;
  }
  folder.Run(sink);
  // Day 0 and a blank day give nothing; Friday's period 7 has no slot.
  EXPECT_EQ(folder.ReadOutput(), CrLfLines({HorarioHeader(),
                                            "1T011LP0011ESOALEC MAT A101",
                                            "1T012LP0021ESOALEC LEN A101",
                                            "1T023MP01052BACBLEC FIS LAB1",
                                            "1T036XP0051ESOBLEC M\xFAsicaA105",
                                            "1T041JP0062ESOALEC Educaci\xF3nA201",
                                            "1    VP0071BACALEC Espa\xF1olA204",
                                            HorarioTrailer(6)}));
}

INSTANTIATE_TEST_SUITE_P(
    Variants, ImportSampleSolucTest,
    ::testing::Values(Sample{"db3_numeric_dia"}, Sample{"fox"}, Sample{"vfp"}, Sample{"gdal"},
                      Sample{"lowercase_fields"}, Sample{"dbase7"},
                      // A text day must be a whole number; the blank one is not.
                      Sample{"db3_text_dia", "'' no es un valor entero válido"}),
    [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace norvalde::importing::testing
