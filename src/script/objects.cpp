// The Err and WScript objects. Their state lives in the runtime, so each
// object is stateless and one instance serves every script of an engine.
#include "script/objects.h"

#include "script/convert.h"
#include "script/nodes.h"
#include "script/regexp_object.h"

namespace script {
namespace {

class ErrObject : public ScriptObject {
  public:
    std::string TypeName() const override { return "ErrObject"; }

    Value Get(Runtime& rt, std::string_view name, Args args) override {
        ErrState& err = rt.err;
        if (name.empty() || name == "number") {
            NoArgs(args);
            return Value::Long(err.number);
        }
        if (name == "description") {
            NoArgs(args);
            return Value::String(err.description);
        }
        if (name == "source") {
            NoArgs(args);
            return Value::String(err.source);
        }
        if (name == "helpfile") {
            NoArgs(args);
            return Value::String("");
        }
        if (name == "helpcontext") {
            NoArgs(args);
            return Value::Long(0);
        }
        if (name == "clear") {
            NoArgs(args);
            err.Clear();
            return Value();
        }
        if (name == "raise") Raise(rt, args);
        Throw(kErrNoSuchMember);
    }

    void Put(Runtime& rt, std::string_view name, Args args, Value v, bool isSet) override {
        if (isSet || args.count != 0) Throw(kErrWrongArgs);
        ErrState& err = rt.err;
        if (name.empty() || name == "number") {
            err.number = ToLong(v);
        } else if (name == "description") {
            err.description = ToString(v, rt.host);
        } else if (name == "source") {
            err.source = ToString(v, rt.host);
        } else if (name != "helpfile" && name != "helpcontext") {
            Throw(kErrNoSuchMember);
        }
    }

  private:
    static void NoArgs(Args args) {
        if (args.count != 0) Throw(kErrWrongArgs);
    }

    [[noreturn]] static void Raise(Runtime& rt, Args args) {
        if (args.count < 1 || args.count > 5 || IsMissing(args[0])) Throw(kErrWrongArgs);
        const int32_t number = ToLong(args[0]);
        if (number == 0) Throw(kErrInvalidCall);
        ScriptError e{number, ErrorText(number), {}};
        if (args.count > 1 && !IsMissing(args[1])) e.source = ToString(args[1], rt.host);
        if (args.count > 2 && !IsMissing(args[2])) e.description = ToString(args[2], rt.host);
        if (e.source.empty()) e.source = "Microsoft VBScript runtime error";
        throw e;
    }
};

// WScript.Echo: text for the host's output, arguments joined by spaces. The
// script host turns each argument into text without the language's words
// for Booleans, so True shows as -1 and False as 0.
class WScriptObject : public ScriptObject {
  public:
    std::string TypeName() const override { return "Object"; }

    Value Get(Runtime& rt, std::string_view name, Args args) override {
        if (name != "echo") Throw(kErrNoSuchMember);
        std::string text;
        for (size_t i = 0; i < args.count; ++i) {
            if (i > 0) text += ' ';
            const Value& v = args[i];
            if (IsMissing(v)) continue;
            if (v.IsNull()) {
                text += "Null";
            } else if (v.type() == Type::Boolean) {
                text += v.AsBoolean() ? "-1" : "0";
            } else {
                text += ToString(v.IsObject() ? Dereference(rt, v) : v, rt.host);
            }
        }
        rt.host.Echo(text);
        return Value();
    }
};

}  // namespace

Ref<ScriptObject> MakeWScriptObject() {
    return Ref<ScriptObject>(new WScriptObject);
}

Ref<ScriptObject> MakeErrObject() {
    return Ref<ScriptObject>(new ErrObject);
}

bool MakeBuiltinObject(Runtime&, std::string_view lname, Value* out) {
    if (lname != "regexp") return false;
    *out = Value::Object(MakeRegExp());
    return true;
}

}  // namespace script
