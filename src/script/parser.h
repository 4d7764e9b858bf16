// Turns script text into a Unit: parses it and binds every name to its
// storage. Compile errors throw ScriptError with VBScript's 10xx numbers.
#pragma once

#include <memory>
#include <string_view>

#include "script/ast.h"
#include "script/runtime.h"

namespace script {

struct CompileScope {
    const Procedure* proc = nullptr;  // code running inside this procedure
    const ClassDef* cls = nullptr;    // ... of this class
    // The running call, for Execute and Eval inside a procedure: variables
    // they declare or first use become variables of this call.
    Frame* frame = nullptr;
};

// One expression, nothing after it.
std::shared_ptr<Unit> CompileExpression(Runtime& rt, std::string_view text,
                                        CompileScope scope = {});
// Statements separated by line breaks or ':', with Sub/Function/Class
// definitions allowed at the outer level.
std::shared_ptr<Unit> CompileStatements(Runtime& rt, std::string_view text,
                                        CompileScope scope = {});

}  // namespace script
