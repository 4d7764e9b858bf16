// Shared by the engine's tests: evaluates text and renders the outcome as
// one comparable string, "Type:text" on success or "#number:description".
#pragma once

#include <string>
#include <string_view>

#include "script/engine.h"

namespace script {

inline std::string Failure(const Engine& engine) {
    std::string out = "#";
    out += std::to_string(engine.LastError().number);
    out += ':';
    out += engine.LastError().description;
    return out;
}

inline std::string Show(Engine& engine, std::string_view expression) {
    Value v;
    if (!engine.Eval(expression, &v)) return Failure(engine);
    std::string text;
    if (!engine.ToText(v, &text)) text.assign(1, '?');
    std::string out = TypeName(v);
    out += ':';
    out += text;
    return out;
}

inline std::string Exec(Engine& engine, std::string_view statements) {
    if (engine.ExecuteStatement(statements)) return "ok";
    return Failure(engine);
}

}  // namespace script
