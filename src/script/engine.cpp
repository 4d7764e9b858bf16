#include "script/engine.h"

#include <new>
#include <stdexcept>
#include <unordered_map>

#include "script/builtins.h"
#include "script/compile_bytes.h"
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
// straight back. A client may send many distinct lines of tens of kilobytes,
// each of which compiles to megabytes, so the cache is bounded by what its
// entries really hold (counted as each is compiled) as well as by count.
// 24 MB keeps a console that is sent such lines without end within a few
// tens of megabytes of its usual size, and is still room for tens of
// thousands of the short texts it lives on. A text that alone would hold a
// quarter of that is almost surely run once: it is compiled, run and dropped.
constexpr size_t kCacheLimit = 2048;
constexpr size_t kCacheByteLimit = 24 << 20;
constexpr size_t kMaxEntryBytes = kCacheByteLimit / 4;

// Beside the counted parts, an entry holds strings that are pieces of its
// text: the text itself as the key, and the names (each as written and
// lower-cased) and literals copied from it, a few times its length with
// their allocation headers; and a few hundred bytes of bookkeeping (the
// Unit, its shared owner, the map's node).
constexpr size_t kStringBytesPerChar = 4;
constexpr size_t kEntryBytes = 512;

size_t EntryCost(std::string_view text, size_t counted) {
    return kEntryBytes + kStringBytesPerChar * text.size() + counted;
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
        CompileBytes counted;
        std::shared_ptr<Unit> unit =
            expression ? CompileExpression(rt, text) : CompileStatements(rt, text);
        const size_t cost = EntryCost(text, counted.Total());
        if (cost > kMaxEntryBytes) return unit;
        if (expressions.size() + statements.size() >= kCacheLimit ||
            cachedBytes + cost > kCacheByteLimit) {
            ClearCaches();
        }
        cache.emplace(std::string(text), unit);
        cachedBytes += cost;
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

bool Engine::Declares(std::string_view name) const {
    const int slot = impl_->rt.FindGlobal(text::LowerCase(name));
    return slot >= 0 && (impl_->rt.globals[slot].declared || impl_->rt.globals[slot].exists);
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

size_t Engine::CachedBytes() const {
    return impl_->cachedBytes;
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
