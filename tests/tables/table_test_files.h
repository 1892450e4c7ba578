// Helpers for tests that read table files: the fixture tables written by other programs, and
// the bytes of a small table of our own to damage.
#pragma once

#include <string>

#include "tests/support/error_of.h"
#include "tests/support/temp_folder.h"

namespace norvalde::tables::test {

// The bytes of a fixture file in tests/tables/data.
std::string FixtureBytes(const std::string& name);

// Copies a fixture file into `folder` under `as` (default: its own name).
void CopyFixture(const testing::TempFolder& folder, const std::string& name,
                 const std::string& as = {});

// Little-endian 16- and 32-bit values written into `bytes` at `at`.
void PutLittle16(std::string& bytes, size_t at, unsigned value);
void PutLittle32(std::string& bytes, size_t at, unsigned value);

}  // namespace norvalde::tables::test
