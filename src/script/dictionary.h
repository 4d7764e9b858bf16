// Scripting.Dictionary, built into the engine: keys of any subtype mapped to
// items, kept in the order they were added.
#pragma once

#include "script/runtime.h"

namespace script {

Ref<ScriptObject> MakeDictionary();

}  // namespace script
