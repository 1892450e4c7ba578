// The user's decimal separator on Windows, from the regional settings of the user's locale.
// scripts/test-windows.sh runs this under a Spanish and an English user locale as well.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <map>
#include <string>

#include "core/action.h"
#include "platform/decimal_separator.h"
#include "tables/table.h"
#include "tests/support/recording_message_sink.h"
#include "tests/support/temp_folder.h"
#include "tests/support/write_table.h"

namespace norvalde::platform {
namespace {

// The decimal separator each locale's user sees, as Windows ships the locale.
const std::map<std::wstring, char> kSeparators = {
    {L"es-ES", ','}, {L"en-US", '.'}, {L"de-DE", ','}, {L"en-GB", '.'}};

TEST(UserDecimalSeparator, IsTheUsersAndNumbersReadAsTextTakeIt) {
  wchar_t name[LOCALE_NAME_MAX_LENGTH] = {};
  ASSERT_GT(GetUserDefaultLocaleName(name, LOCALE_NAME_MAX_LENGTH), 0);
  const std::wstring locale = name;
  if (const char* asked = std::getenv("NORVALDE_USER_LOCALE")) {
    EXPECT_EQ(locale, std::wstring(asked, asked + std::strlen(asked)));  // the run's setting
  }
  ASSERT_EQ(kSeparators.count(locale), 1u) << "a user locale this test does not know";
  const char separator = kSeparators.at(locale);
  EXPECT_EQ(UserDecimalSeparator(), separator);

  // An action's tables read numbers with it; whole numbers, and the stored bytes, keep theirs.
  testing::TempFolder folder;
  testing::RecordingMessageSink sink;
  const ActionContext context{Env::Default(), folder.Carpeta(), folder.path(), sink};
  EXPECT_EQ(context.decimalSeparator, separator);
  testing::WriteTable(context.env, folder.path(), "SOLUC.DBF",
                      {{"HORA", tables::FieldType::kNumber}}, {{"3.5"}, {"3"}});
  tables::Table table(context.env, "wwTableSoluc", context.decimalSeparator);
  table.Open(folder.path(), "SOLUC", tables::Sharing::kExclusive, tables::Access::kReadOnly);
  EXPECT_EQ(table.AsText("HORA"), std::string("3") + separator + "5");
  table.Next();
  EXPECT_EQ(table.AsText("HORA"), "3");
  table.Close();
  EXPECT_NE(folder.ReadFile("SOLUC.DBF").find("3.500000"), std::string::npos);
}

}  // namespace
}  // namespace norvalde::platform
