#include "import/slot_codes.h"

#include "exchange/exchange_fields.h"

namespace norvalde::importing {
namespace {

// The table's own error when it lacks CODDIHO, found once rather than at every row.
std::exception_ptr AbsentCode(tables::Table& diashorast) {
  for (const std::string& name : diashorast.FieldNames()) {
    if (exchange::UpperCaseAscii(name) == "CODDIHO") return nullptr;
  }
  try {
    diashorast.AsText("CODDIHO");
  } catch (...) {
    return std::current_exception();
  }
  return nullptr;
}

}  // namespace

SlotCodes::SlotCodes(tables::Table& diashorast) {
  const std::exception_ptr absent = AbsentCode(diashorast);
  for (diashorast.First(); !diashorast.AtEnd(); diashorast.Next()) {
    bool added = false;
    index_.Add({diashorast.AsText("DIA"), diashorast.AsText("HORA")}, added);
    if (!added) continue;  // a later row with the same day and period is never reached
    Code code{{}, absent};
    if (!absent) {
      try {
        code.coddiho = diashorast.AsText("CODDIHO");
      } catch (...) {
        code.failure = std::current_exception();
      }
    }
    codes_.push_back(std::move(code));
  }
}

std::string SlotCodes::Find(const std::string& day, const std::string& hora) const {
  const uint32_t entry = index_.Find({day, hora});
  if (entry == exchange::FirstKeyIndex::kNone) return {};
  const Code& code = codes_[entry];
  if (code.failure) std::rethrow_exception(code.failure);
  return code.coddiho;
}

}  // namespace norvalde::importing
