// The objects the runtime library provides: Err and RegExp with its Match
// and Matches collections.
#pragma once

#include <string_view>

#include "script/runtime.h"

namespace script {

// Makes the built-in class a New names (lower-cased); false when none.
bool MakeBuiltinObject(Runtime& rt, std::string_view lname, Value* out);
// The Err object of a runtime.
Ref<ScriptObject> MakeErrObject();
// WScript, whose Echo writes through Host::Echo.
Ref<ScriptObject> MakeWScriptObject();

}  // namespace script
