#include "import/slot_codes.h"

namespace norvalde::importing {
SlotCodes::SlotCodes(tables::Table& diashorast) {
  const tables::FieldHandle dia = diashorast.FindField("DIA"),
                            hora = diashorast.FindField("HORA"),
                            coddiho = diashorast.FindField("CODDIHO");
  for (diashorast.First(); !diashorast.AtEnd(); diashorast.Next()) {
    bool added = false;
    index_.Add({diashorast.AsText(dia), diashorast.AsText(hora)}, added);
    if (!added) continue;  // a later row with the same day and period is never reached
    // A table without CODDIHO fails here as at any row, with the table's own error, raised
    // only when a lesson takes this slot.
    Code code;
    try {
      code.coddiho = diashorast.AsText(coddiho);
    } catch (...) {
      code.failure = std::current_exception();
    }
    codes_.push_back(std::move(code));
  }
}

const std::string& SlotCodes::Find(std::string_view day, std::string_view hora) const {
  static const std::string kNoSlot;
  const uint32_t entry = index_.Find({day, hora});
  if (entry == exchange::FirstKeyIndex::kNone) return kNoSlot;
  const Code& code = codes_[entry];
  if (code.failure) std::rethrow_exception(code.failure);
  return code.coddiho;
}

}  // namespace norvalde::importing
