// Windows-1252, the legacy code page older files and peers were written in,
// for what is still a single byte of it: a stray byte read as a character,
// and Chr and Asc in scripts. Bytes with no character (0x81, 0x8D, 0x8F,
// 0x90, 0x9D) map to themselves.
#pragma once

namespace text {

char16_t FromWindows1252(char byte);
// '?' for a character the code page lacks.
char ToWindows1252(char16_t unit);

}  // namespace text
