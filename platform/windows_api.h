// windows.h as the Windows halves of the seams include it: without the parts of the API they
// never use, and without the min and max macros that would break the standard library's.
#pragma once

#define WIN32_LEAN_AND_MEAN
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
