#include "script/engine.h"

#include <new>
#include <stdexcept>
#include <unordered_map>

#include "script/builtins.h"
#include "script/convert.h"
#include "script/nodes.h"
#include "script/objects.h"
#include "script/parser.h"
#include "script/runtime.h"
#include "text/case_fold.h"

namespace script {
namespace {

// The console evaluates the same short texts over and over; each is compiled
// once. The cache is simply emptied when it fills: texts in steady use come
// straight back. It is bounded by what it holds as well as by count, since a
// client may send lines of hundreds of kilobytes: a compiled text costs a few
// times its length. A text longer than kMaxCachedText is almost surely run
// once, so it is compiled, run and dropped.
constexpr size_t kCacheLimit = 2048;
constexpr size_t kCacheByteLimit = 16 << 20;
constexpr size_t kMaxCachedText = 64 << 10;

size_t CacheCost(std::string_view text) {
    return 512 + 8 * text.size();
}

struct TextHash {
    using is_transparent = void;
    size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
};

using Cache = std::unordered_map<std::string, std::shared_ptr<Unit>, TextHash, std::equal_to<>>;

}  // namespace

struct Engine::Impl {
    explicit Impl(Host* host) : rt(host) {
        rt.errObject = MakeErrObject();
        rt.wscriptObject = MakeWScriptObject();
    }

    // Objects still referenced when the engine goes run their Class_Terminate
    // now, while the runtime and host are still there, as at a script's end.
    ~Impl() {
        Entry entry(*this);
        for (GlobalSlot& g : rt.globals) g.value = Value();
    }

    Runtime rt;
    Error last;
    Cache expressions;
    Cache statements;
    size_t cachedBytes = 0;

    std::shared_ptr<Unit> Compile(Cache& cache, std::string_view text, bool expression) {
        auto it = cache.find(text);
        if (it != cache.end()) return it->second;
        std::shared_ptr<Unit> unit =
            expression ? CompileExpression(rt, text) : CompileStatements(rt, text);
        if (text.size() > kMaxCachedText) return unit;
        if (expressions.size() + statements.size() >= kCacheLimit ||
            cachedBytes + CacheCost(text) > kCacheByteLimit) {
            ClearCaches();
        }
        cache.emplace(std::string(text), unit);
        cachedBytes += CacheCost(text);
        return unit;
    }

    void ClearCaches() {
        expressions.clear();
        statements.clear();
        cachedBytes = 0;
    }

    // A script that declares a name the library already has (its own Left,
    // say) changes what earlier texts meant: compile them again.
    void Declare(const std::shared_ptr<Unit>& unit) {
        rt.Declare(unit);
        Value ignored;
        for (const std::string& name : unit->declaredNames) {
            if (FindBuiltin(name) || FindConstant(name, &ignored)) {
                ClearCaches();
                return;
            }
        }
    }

    // Every public call that may run script code enters here.
    class Entry {
      public:
        explicit Entry(Impl& impl) : entry_(impl.rt) { impl.last = Error{}; }

      private:
        Runtime::Entry entry_;
    };

    bool Fail(int number, std::string description) {
        last = Error{number, std::move(description)};
        return false;
    }

    template <typename Fn>
    bool Guard(Fn fn) {
        try {
            fn();
            return true;
        } catch (const ScriptError& e) {
            last = Error{e.number, e.description, e.line, e.column, e.compilation};
            return false;
        } catch (const std::bad_alloc&) {
            return Fail(kErrOutOfMemory, ErrorText(kErrOutOfMemory));
        } catch (const std::length_error&) {
            return Fail(kErrOutOfMemory, ErrorText(kErrOutOfMemory));
        } catch (...) {
            return Fail(kErrInternal, ErrorText(kErrInternal));
        }
    }
};

Engine::Engine(Host* host) : impl_(std::make_unique<Impl>(host)) {}

Engine::~Engine() = default;

bool Engine::Eval(std::string_view expression, Value* result) {
    Impl::Entry entry(*impl_);
    return impl_->Guard([&] {
        std::shared_ptr<Unit> unit = impl_->Compile(impl_->expressions, expression, true);
        Frame frame(impl_->rt);
        *result = EvalUnit(frame, *unit);
    });
}

bool Engine::ExecuteStatement(std::string_view statement) {
    Impl::Entry entry(*impl_);
    return impl_->Guard([&] {
        std::shared_ptr<Unit> unit = impl_->Compile(impl_->statements, statement, false);
        impl_->Declare(unit);
        Frame frame(impl_->rt);
        ExecBlock(frame, unit->body);
    });
}

bool Engine::ReadVariable(std::string_view name, Value* value) const {
    const int slot = impl_->rt.FindGlobal(text::LowerCase(name));
    if (slot < 0) return false;
    const GlobalSlot& g = impl_->rt.globals[slot];
    if (!g.exists || g.proc || g.cls) return false;
    *value = g.value;
    return true;
}

std::vector<std::string> Engine::VariableNames() const {
    std::vector<std::string> names;
    for (const GlobalSlot& g : impl_->rt.globals) {
        if (g.exists && !g.proc && !g.cls) names.push_back(g.name);
    }
    return names;
}

bool Engine::AssignText(std::string_view name, std::string_view text) {
    // The assignment of "" is compiled once per name and does every check a
    // script's own assignment does; the text itself is then stored as it is,
    // so it is never compiled, and any bytes may be kept.
    std::string statement;
    statement.reserve(name.size() + 3);
    statement.append(name).append("=\"\"");
    if (!ExecuteStatement(statement)) return false;
    const int slot = impl_->rt.FindGlobal(text::LowerCase(name));
    if (slot < 0) return impl_->Fail(kErrInternal, ErrorText(kErrInternal));
    impl_->rt.globals[slot].value = Value::String(std::string(text));
    return true;
}

const Error& Engine::LastError() const {
    return impl_->last;
}

void Engine::ClearError() {
    impl_->last = Error{};
}

bool Engine::ToText(const Value& value, std::string* text) {
    if (!value.IsObject()) return script::ToText(value, text, &impl_->last, &impl_->rt.host);
    // An object shows its default member, which may be script code.
    Impl::Entry entry(*impl_);
    Value plain;
    if (!impl_->Guard([&] { plain = Dereference(impl_->rt, value); })) return false;
    return script::ToText(plain, text, &impl_->last, &impl_->rt.host);
}

void Engine::Interrupt() {
    impl_->rt.interrupt = true;
}

void Engine::ReleaseObjects() {
    Impl::Entry entry(*impl_);
    std::vector<Value> dropped;
    for (GlobalSlot& g : impl_->rt.globals) {
        if (g.value.IsObject() || g.value.IsArray()) dropped.push_back(std::exchange(g.value, {}));
    }
    impl_->Guard([&] { dropped.clear(); });
}

void Engine::SetObjectProvider(ObjectProvider* provider) {
    impl_->rt.objects = provider;
}

void Engine::SetStackLimit(size_t bytes) {
    impl_->rt.SetStackBudget(bytes);
}

std::string HostErrorLine(std::string_view path, const Error& error) {
    return std::string(path) + "(" + std::to_string(error.line) + ", " +
           std::to_string(error.column) + ") VBScript " +
           (error.compilation ? "compilation" : "runtime") + " error: " + error.description;
}

}  // namespace script
