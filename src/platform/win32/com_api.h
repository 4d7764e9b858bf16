// The COM and automation headers for the script bridge. GetObject is a
// GDI macro (GetObjectA) that would rename the script function's member.
#pragma once

// clang-format off
#include <windows.h>
#include <ole2.h>
#include <oleauto.h>
#include <ocidl.h>
// clang-format on

#undef GetObject
