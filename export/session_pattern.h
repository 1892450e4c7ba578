// The session pattern of an assignment: how its weekly hours split into lessons.
#pragma once

#include <string>

namespace norvalde::exporting {

// For hours h (at least 1) with whole part n: n times "1" when n is 13 or less, otherwise
// n - 13 in decimal followed by thirteen "1"; then "½" (the Windows-1252 byte 0xBD) when h has
// a fractional part. 2.5 gives "11½", 15 gives "21111111111111".
std::string SessionPattern(double hours);

}  // namespace norvalde::exporting
