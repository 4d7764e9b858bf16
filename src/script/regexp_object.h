// The RegExp object scripts create with New RegExp, and the Matches, Match
// and SubMatches objects its Execute returns.
#pragma once

#include "script/runtime.h"

namespace script {

Ref<ScriptObject> MakeRegExp();

}  // namespace script
