// Arrays, the Err object, code evaluation (Eval, Execute, GetRef), the host's
// dialogs and the engine's identity.
#include <cmath>

#include "script/builtins.h"
#include "script/convert.h"
#include "script/dictionary.h"
#include "script/nodes.h"
#include "script/object_provider.h"
#include "script/objects.h"
#include "script/parser.h"
#include "text/case_fold.h"

namespace script {
namespace {

Value ErrFn(Frame& f, Value*, int) {
    return Value::Object(f.rt.errObject);
}

Value WScriptFn(Frame& f, Value*, int) {
    return Value::Object(f.rt.wscriptObject);
}

Value ArrayFn(Frame&, Value* a, int n) {
    Ref<Array> arr(new Array);
    arr->items.assign(a, a + n);
    arr->SetBounds({n - 1});
    return Value::Array(arr);
}

const Array& ArrayArg(const Value& v) {
    if (!v.IsArray()) Throw(kErrTypeMismatch);
    return *v.AsArray();
}

size_t Dimension(const Array& a, const Value* args, int n) {
    const int32_t dim = Present(args, n, 1) ? ToLong(args[1]) : 1;
    if (a.Dimensions() == 0 || dim < 1 || static_cast<size_t>(dim) > a.Dimensions()) {
        Throw(kErrSubscript);
    }
    return static_cast<size_t>(dim) - 1;
}

Value UBound(Frame&, Value* a, int n) {
    const Array& arr = ArrayArg(a[0]);
    return Value::Long(arr.Upper(Dimension(arr, a, n)));
}

Value LBound(Frame&, Value* a, int n) {
    const Array& arr = ArrayArg(a[0]);
    return Value::Long(arr.Lower(Dimension(arr, a, n)));
}

CompileScope ScopeOf(Frame& f) {
    return CompileScope{f.proc, f.me ? f.me->cls : nullptr, &f};
}

// Code that Eval, Execute and ExecuteGlobal run reports a failure at its
// place in the text they were given, not at the statement that called them:
// that text is what holds the fault.
Value EvalFn(Frame& f, Value* a, int) {
    const std::string text = ArgText(f, a[0]);
    std::shared_ptr<Unit> unit = CompileExpression(f.rt, text, ScopeOf(f));
    return EvalUnit(f, *unit);
}

void Run(Frame& f, const std::string& text, bool global) {
    std::shared_ptr<Unit> unit =
        CompileStatements(f.rt, text, global ? CompileScope{} : ScopeOf(f));
    f.rt.Declare(unit);
    if (global) {
        Frame top(f.rt);
        ExecBlock(top, unit->body);
    } else {
        ExecBlock(f, unit->body);
    }
}

Value Execute(Frame& f, Value* a, int) {
    Run(f, ArgText(f, a[0]), false);
    return Value();
}

Value ExecuteGlobal(Frame& f, Value* a, int) {
    Run(f, ArgText(f, a[0]), true);
    return Value();
}

// What GetRef returns: calling its default member calls the procedure.
class ProcRef : public ScriptObject {
  public:
    ProcRef(const Procedure* p, std::shared_ptr<Unit> owner) : proc_(p), owner_(std::move(owner)) {}
    std::string TypeName() const override { return "Object"; }
    Value Get(Runtime& rt, std::string_view name, Args args) override {
        if (!name.empty()) Throw(kErrNoSuchMember);
        return CallProcedure(rt, *proc_, nullptr, args);
    }

  private:
    const Procedure* proc_;
    std::shared_ptr<Unit> owner_;
};

Value GetRef(Frame& f, Value* a, int) {
    const std::string name = text::LowerCase(ArgText(f, a[0]));
    const int slot = f.rt.FindGlobal(name);
    if (slot < 0 || !f.rt.globals[slot].proc) Throw(kErrInvalidCall);
    const GlobalSlot& g = f.rt.globals[slot];
    return Value::Object(Ref<Object>(new ProcRef(g.proc, g.owner)));
}

// The engine's own classes first; the rest are the program's to provide.
Value CreateObject(Frame& f, Value* a, int n) {
    const std::string progId = ArgText(f, a[0]);
    const std::string name = text::LowerCase(progId);
    Value out;
    if (name == "vbscript.regexp" && MakeBuiltinObject(f.rt, "regexp", &out)) return out;
    if (name == "scripting.dictionary") return Value::Object(MakeDictionary());
    if (!f.rt.objects) Throw(kErrCantCreateObject);
    const std::string server = Present(a, n, 1) ? ArgText(f, a[1]) : "";
    return f.rt.objects->CreateObject(f.rt, progId, server);
}

Value GetObject(Frame& f, Value* a, int n) {
    const bool pathGiven = Present(a, n, 0);
    const std::string path = pathGiven ? ArgText(f, a[0]) : "";
    const std::string progId = Present(a, n, 1) ? ArgText(f, a[1]) : "";
    if (!pathGiven && progId.empty()) Throw(kErrArgNotOptional);
    if (!f.rt.objects) Throw(kErrCantCreateObject);
    return f.rt.objects->GetObject(f.rt, path, pathGiven, progId);
}

Value Rgb(Frame&, Value* a, int) {
    int32_t c[3];
    for (int i = 0; i < 3; ++i) {
        c[i] = ToLong(a[i]);
        if (c[i] < 0) Throw(kErrInvalidCall);
        if (c[i] > 255) c[i] = 255;
    }
    return Value::Long(c[0] + c[1] * 256 + c[2] * 65536);
}

Value ScriptEngine(Frame&, Value*, int) {
    return Value::String("VBScript");
}
Value MajorVersion(Frame&, Value*, int) {
    return Value::Long(5);
}
Value MinorVersion(Frame&, Value*, int) {
    return Value::Long(8);
}
Value BuildVersion(Frame&, Value*, int) {
    return Value::Long(16384);
}

Value MsgBox(Frame& f, Value* a, int n) {
    const std::string prompt = ArgText(f, a[0]);
    const int32_t buttons = Present(a, n, 1) ? ToLong(a[1]) : 0;
    const std::string title = Present(a, n, 2) ? ArgText(f, a[2]) : f.rt.host.ApplicationName();
    const int pressed = f.rt.host.MsgBox(prompt, buttons, title);
    // A stop that closed the box ends the script here, before the answer
    // it did not give is acted on.
    f.rt.AskHostToGoOn();
    return Value::Integer(static_cast<int16_t>(pressed));
}

Value InputBox(Frame& f, Value* a, int n) {
    const std::string prompt = ArgText(f, a[0]);
    const std::string title = Present(a, n, 1) ? ArgText(f, a[1]) : f.rt.host.ApplicationName();
    const std::string initial = Present(a, n, 2) ? ArgText(f, a[2]) : "";
    BoxPosition position;
    if (Present(a, n, 3)) position.x = ToLong(a[3]);
    if (Present(a, n, 4)) position.y = ToLong(a[4]);
    std::string answer;
    const bool accepted = f.rt.host.InputBox(prompt, title, initial, position, &answer);
    f.rt.AskHostToGoOn();  // as for MsgBox
    if (!accepted) return Value::String("");
    return Value::String(std::move(answer));
}

const Builtin kTable[] = {
    {"err", 0, 0, ErrFn, kImpure},
    {"wscript", 0, 0, WScriptFn, kImpure},
    {"array", 0, -1, ArrayFn, kPure},
    {"ubound", 1, 2, UBound, kPure},
    {"lbound", 1, 2, LBound, kPure},
    {"eval", 1, 1, EvalFn, kImpure},
    {"execute", 1, 1, Execute, kImpure},
    {"executeglobal", 1, 1, ExecuteGlobal, kImpure},
    {"getref", 1, 1, GetRef, kImpure},
    {"rgb", 3, 3, Rgb, kPure},
    {"createobject", 1, 2, CreateObject, kImpure},
    {"getobject", 0, 2, GetObject, kImpure},
    {"scriptengine", 0, 0, ScriptEngine, kPure},
    {"scriptenginemajorversion", 0, 0, MajorVersion, kPure},
    {"scriptengineminorversion", 0, 0, MinorVersion, kPure},
    {"scriptenginebuildversion", 0, 0, BuildVersion, kPure},
    {"msgbox", 1, 5, MsgBox, kImpure},
    {"inputbox", 1, 7, InputBox, kImpure},
};

}  // namespace

BuiltinTable MiscBuiltins() {
    return {kTable, std::size(kTable)};
}

}  // namespace script
