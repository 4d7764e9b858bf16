// <windows.h> for the Win32 layer. The ANSI/wide macros of a few functions
// share their names with methods of the platform interfaces
// (FileSystem::SetCurrentDirectory would silently become
// SetCurrentDirectoryA in some files and not in others), so they are
// removed here; this layer calls the A functions by their full names.
#pragma once

// shellapi.h needs what windows.h declares, so the order stays.
// clang-format off
#include <windows.h>
#include <shellapi.h>
// clang-format on

#undef SetCurrentDirectory
#undef GetCurrentDirectory
#undef CreateDirectory
#undef RemoveDirectory
#undef CopyFile
#undef MoveFile
#undef DeleteFile
#undef ReplaceFile
#undef GetEnvironmentVariable
#undef SetEnvironmentVariable
