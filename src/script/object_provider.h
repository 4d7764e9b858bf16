// Objects from outside the engine: the classes CreateObject and GetObject
// reach beyond the engine's own (RegExp, Dictionary). On Windows the program
// supplies COM automation here; elsewhere there is none, and both functions
// fail with "ActiveX component can't create object" (429).
#pragma once

#include <string_view>

#include "script/value.h"

namespace script {

class Runtime;

class ObjectProvider {
  public:
    virtual ~ObjectProvider() = default;
    // A new object of the class progId names, made on server when one is
    // given. Failures raise the script error the caller sees.
    virtual Value CreateObject(Runtime& rt, std::string_view progId, std::string_view server) = 0;
    // An object by path or moniker ("winmgmts:", a file), a running object
    // of progId when the path is left out, or a new one for an empty path.
    // Each text is empty when its argument was left out; pathGiven tells an
    // empty path from none.
    virtual Value GetObject(Runtime& rt, std::string_view path, bool pathGiven,
                            std::string_view progId) = 0;
};

}  // namespace script
