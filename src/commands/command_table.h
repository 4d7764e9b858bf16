// The console's built-in command language: one ordered table of rows
// {words, handler, argument counts, syntax lines, rewrite}, tested in order,
// the first match wins. The program gives it to the interpreter.
#pragma once

#include "interpreter/dispatch.h"

namespace vantrel {

const CommandTable& BuiltInCommands();

}  // namespace vantrel
