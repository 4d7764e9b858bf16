// The engine's own objects (class instances, RegExp, Dictionary, ...) handed
// to COM: an IDispatch whose names are the object's members and whose calls
// run in the script's runtime. Failures come back as DISP_E_EXCEPTION with
// the script error's number and text.
#pragma once

#include "platform/win32/com_api.h"
#include "platform/win32/com_owners.h"
#include "script/runtime.h"

namespace vantrel::com {

// A new reference to an IDispatch for a script object: a COM object's own,
// or a wrapper that calls into rt for the engine's objects.
ComPtr<IDispatch> DispatchFor(script::Runtime& rt, const script::Value& object);
// The script object behind a wrapper DispatchFor made; false for any other
// IDispatch.
bool UnwrapScriptDispatch(IDispatch* dispatch, script::Value* object);
// Wrappers alive in this process.
int ScriptDispatchAlive();

}  // namespace vantrel::com
