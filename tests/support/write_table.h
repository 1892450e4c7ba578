// A table written through the engine for a test to read, in one call.
#pragma once

#include <string>
#include <vector>

#include "platform/env.h"
#include "tables/table.h"

namespace norvalde::testing {

// Creates `name` (with .DBF) in `folder` with `fields` and appends `rows`, each giving its
// values as text in the fields' order: a number or integer field's text is read as a number;
// an empty value, or one past the row's end, leaves the field blank.
void WriteTable(platform::Env& env, const std::string& folder, const std::string& name,
                const std::vector<tables::FieldDefinition>& fields,
                const std::vector<std::vector<std::string>>& rows);

}  // namespace norvalde::testing
