// The script engine and COM through the bridge, under Wine: an object of
// the test's own, described by a type library built at run time and called
// through the system's standard IDispatch, so that what crosses is what a
// real automation server would see and give back.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <stdexcept>
#include <string>
#include <thread>

#include "platform/win32/com_apartment.h"
#include "platform/win32/com_object.h"
#include "platform/win32/com_owners.h"
#include "platform/win32/com_provider.h"
#include "platform/win32/com_values.h"
#include "platform/win32/script_dispatch.h"
#include "script/engine.h"

namespace vantrel::com {
namespace {

// What the standard dispatcher calls: its vtable order is the METHODDATA
// order below. Store and Load take a VARIANT by reference, so a value goes
// to COM through one call and comes back through the other.
class Target {
  public:
    virtual ~Target() = default;
    virtual void STDMETHODCALLTYPE Bump(LONG* n) { *n += 1; }
    virtual void STDMETHODCALLTYPE Append(BSTR* text) {
        std::wstring joined(*text ? *text : L"");
        joined += L"\x00e9!";
        SysFreeString(*text);
        *text = SysAllocString(joined.c_str());
    }
    virtual void STDMETHODCALLTYPE Store(VARIANT* v) { VariantCopy(&stored, v); }
    virtual void STDMETHODCALLTYPE Load(VARIANT* v) {
        VariantClear(v);
        VariantCopy(v, &stored);
    }
    virtual void STDMETHODCALLTYPE Twice(DECIMAL* d) {
        DECIMAL sum;
        if (SUCCEEDED(VarDecAdd(d, d, &sum))) *d = sum;
    }
    // Calls Ping on the object passed, as an object that calls back into
    // what a script gave it.
    virtual void STDMETHODCALLTYPE Poke(VARIANT* v) {
        pokedOn = GetCurrentThreadId();
        IDispatch* d = v->vt == VT_DISPATCH ? v->pdispVal : nullptr;
        if (!d) return;
        OLECHAR* names[] = {const_cast<OLECHAR*>(L"Ping")};
        DISPID id = 0;
        pokeResult = d->GetIDsOfNames(IID_NULL, names, 1, 0, &id);
        if (FAILED(pokeResult)) return;
        DISPPARAMS none{};
        ExceptionInfo info;
        pokeResult =
            d->Invoke(id, IID_NULL, 0, DISPATCH_METHOD, &none, nullptr, info.Get(), nullptr);
    }
    // A call that takes as long as the test says: until release is set.
    virtual void STDMETHODCALLTYPE Wait() {
        WaitForSingleObject(release, 10000);
        waited = true;
    }
    VARIANT stored{};
    DWORD pokedOn = 0;
    HRESULT pokeResult = S_OK;
    HANDLE release = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::atomic<bool> waited{false};
};

// The object's identity and reference count, which the standard
// dispatcher delegates to.
class Outer final : public IUnknown {
  public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (IsEqualIID(iid, IID_IUnknown)) {
            *out = static_cast<IUnknown*>(this);
            AddRef();
            return S_OK;
        }
        return inner->QueryInterface(iid, out);
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
    ULONG STDMETHODCALLTYPE Release() override { return --refs; }
    ULONG refs = 1;
    IUnknown* inner = nullptr;
};

PARAMDATA kRefI4[] = {{const_cast<OLECHAR*>(L"n"), VT_I4 | VT_BYREF}};
PARAMDATA kRefBstr[] = {{const_cast<OLECHAR*>(L"text"), VT_BSTR | VT_BYREF}};
PARAMDATA kRefVariant[] = {{const_cast<OLECHAR*>(L"v"), VT_VARIANT | VT_BYREF}};
PARAMDATA kRefDecimal[] = {{const_cast<OLECHAR*>(L"d"), VT_DECIMAL | VT_BYREF}};
// The vtable index counts the virtual destructor's two entries.
METHODDATA kMethods[] = {
    {const_cast<OLECHAR*>(L"Bump"), kRefI4, 1, 2, CC_STDCALL, 1, DISPATCH_METHOD, VT_EMPTY},
    {const_cast<OLECHAR*>(L"Append"), kRefBstr, 2, 3, CC_STDCALL, 1, DISPATCH_METHOD, VT_EMPTY},
    {const_cast<OLECHAR*>(L"Store"), kRefVariant, 3, 4, CC_STDCALL, 1, DISPATCH_METHOD, VT_EMPTY},
    {const_cast<OLECHAR*>(L"Load"), kRefVariant, 4, 5, CC_STDCALL, 1, DISPATCH_METHOD, VT_EMPTY},
    {const_cast<OLECHAR*>(L"Twice"), kRefDecimal, 5, 6, CC_STDCALL, 1, DISPATCH_METHOD, VT_EMPTY},
    {const_cast<OLECHAR*>(L"Poke"), kRefVariant, 6, 7, CC_STDCALL, 1, DISPATCH_METHOD, VT_EMPTY},
    {const_cast<OLECHAR*>(L"Wait"), nullptr, 7, 8, CC_STDCALL, 0, DISPATCH_METHOD, VT_EMPTY},
};

class EchoHost : public script::Host {
  public:
    void Echo(std::string_view text) override { out += std::string(text) + "\n"; }
    bool KeepGoing() override {
        ++asked;
        return !keepGoing || keepGoing();
    }
    std::string out;
    std::function<bool()> keepGoing;
    int asked = 0;
};

// CreateObject("Test.Target") gives the test's object; anything else goes
// to COM.
class TestProvider : public ComObjectProvider {
  public:
    explicit TestProvider(IDispatch* target) : target_(target) {}
    script::Value CreateObject(script::Runtime& rt, std::string_view progId,
                               std::string_view server) override {
        if (progId != "Test.Target") return ComObjectProvider::CreateObject(rt, progId, server);
        target_->AddRef();
        return WrapMadeObject(ComPtr<IDispatch>(target_));
    }

  private:
    IDispatch* target_;
};

// Waits until every COM thread has returned from what it was left doing
// and has run what it was handed.
void Settle() {
    ComThreads* threads = ComThreads::Current();
    if (!threads) return;
    for (const auto& thread : threads->All()) {
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (thread->Stranded() && std::chrono::steady_clock::now() < until) Sleep(1);
        thread->Do([] {});
    }
}

// A member's DISPID, which must be found.
DISPID IdOf(IDispatch* d, const wchar_t* name) {
    OLECHAR* names[] = {const_cast<OLECHAR*>(name)};
    DISPID id = DISPID_UNKNOWN;
    EXPECT_EQ(d->GetIDsOfNames(IID_NULL, names, 1, 0, &id), S_OK);
    return id;
}

// Calls a method with one argument, or none for VT_EMPTY.
HRESULT Call(IDispatch* d, DISPID id, VARIANT arg, VARIANT* result, EXCEPINFO* info = nullptr) {
    DISPPARAMS params{&arg, nullptr, arg.vt == VT_EMPTY ? 0u : 1u, 0};
    return d->Invoke(id, IID_NULL, 0, DISPATCH_METHOD, &params, result, info, nullptr);
}

class ComBridgeTest : public testing::Test {
  protected:
    void SetUp() override {
        INTERFACEDATA data{kMethods, static_cast<UINT>(std::size(kMethods))};
        ITypeInfo* made = nullptr;
        ASSERT_EQ(CreateDispTypeInfo(&data, LOCALE_SYSTEM_DEFAULT, &made), S_OK);
        // Wine's dispatcher finds the members on the interface, not on the
        // class CreateDispTypeInfo describes.
        HREFTYPE ref = 0;
        ASSERT_EQ(made->GetRefTypeOfImplType(0, &ref), S_OK);
        ASSERT_EQ(made->GetRefTypeInfo(ref, &info_), S_OK);
        made->Release();
        ASSERT_EQ(CreateStdDispatch(&outer_, &target_, info_, &outer_.inner), S_OK);
        ASSERT_EQ(outer_.inner->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch_)),
                  S_OK);
        baseRefs_ = Refs();
        provider_ = std::make_unique<TestProvider>(dispatch_);
        engine_ = std::make_unique<script::Engine>(&host_);
        engine_->SetObjectProvider(provider_.get());
    }
    void TearDown() override {
        SetEvent(target_.release);
        engine_.reset();
        // What the COM threads were left doing ends before the object goes.
        Settle();
        CloseHandle(target_.release);
        VariantClear(&target_.stored);
        if (dispatch_) dispatch_->Release();
        if (outer_.inner) outer_.inner->Release();
        if (info_) info_->Release();
    }
    // The dispatcher's count, which Wine keeps apart from the outer object's,
    // once the releases the COM thread was handed are done.
    ULONG Refs() const {
        Settle();
        dispatch_->AddRef();
        return dispatch_->Release();
    }
    std::string Run(const std::string& script) {
        host_.out.clear();
        if (!engine_->ExecuteStatement(script)) {
            return "error " + std::to_string(engine_->LastError().number) + ": " +
                   engine_->LastError().description;
        }
        return host_.out;
    }

    ComApartment apartment_;
    Target target_;
    Outer outer_;
    ITypeInfo* info_ = nullptr;
    IDispatch* dispatch_ = nullptr;
    ULONG baseRefs_ = 0;
    EchoHost host_;
    std::unique_ptr<TestProvider> provider_;
    std::unique_ptr<script::Engine> engine_;
};

// Every testdata/NAME.vbs runs in a fresh engine that has the test's
// object, and must print what testdata/NAME.out holds.
// VANTREL_GOLDEN_UPDATE=1 writes the .out files instead, to be read before
// they are kept.
TEST_F(ComBridgeTest, TestdataScripts) {
    const std::filesystem::path dir =
        std::filesystem::path(VANTREL_SOURCE_DIR) / "src" / "platform" / "win32" / "testdata";
    auto read = [](const std::filesystem::path& path) {
        std::ifstream in(path, std::ios::binary);
        std::string text{std::istreambuf_iterator<char>(in), {}};
        std::erase(text, '\r');
        return text;
    };
    int count = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        if (entry.path().extension() != ".vbs") continue;
        std::filesystem::path expected = entry.path();
        expected.replace_extension(".out");
        engine_ = std::make_unique<script::Engine>(&host_);
        engine_->SetObjectProvider(provider_.get());
        const std::string printed = Run(read(entry.path()));
        if (std::getenv("VANTREL_GOLDEN_UPDATE")) {
            std::ofstream(expected, std::ios::binary) << printed;
        }
        ASSERT_TRUE(std::filesystem::exists(expected)) << expected;
        EXPECT_EQ(printed, read(expected)) << entry.path();
        ++count;
    }
    ASSERT_GT(count, 0) << "no scripts in " << dir;
}

// The element (i, j) COM sees is the script's a(i, j); a typed array that
// starts at 1 and 5, as COM servers hand them out, keeps its bounds.
TEST_F(ComBridgeTest, ArraysKeepTheirShapeAndBounds) {
    EXPECT_EQ(Run("Set t = CreateObject(\"Test.Target\")\n"
                  "Dim a(1, 2) : For i = 0 To 1 : For j = 0 To 2 : a(i, j) = i * 10 + j : Next : "
                  "Next\nt.Store a\n"),
              "");
    ASSERT_EQ(target_.stored.vt, VT_ARRAY | VT_VARIANT);
    LONG at[] = {1, 2};
    UniqueVariant item;
    ASSERT_EQ(SafeArrayGetElement(target_.stored.parray, at, item.Get()), S_OK);
    EXPECT_EQ(item->vt, VT_I2);
    EXPECT_EQ(item->iVal, 12);

    SAFEARRAYBOUND bounds[] = {{2, 1}, {3, 5}};
    SAFEARRAY* typed = SafeArrayCreate(VT_I4, 2, bounds);
    for (LONG i = 1; i <= 2; ++i) {
        for (LONG j = 5; j <= 7; ++j) {
            LONG index[] = {i, j};
            LONG value = i * 100 + j;
            SafeArrayPutElement(typed, index, &value);
        }
    }
    VariantClear(&target_.stored);
    target_.stored.vt = VT_ARRAY | VT_I4;
    target_.stored.parray = typed;
    EXPECT_EQ(Run("r = 0 : t.Load r\n"
                  "WScript.Echo LBound(r, 1) & \"-\" & UBound(r, 1) & \" \" & LBound(r, 2) & "
                  "\"-\" & UBound(r, 2) & \" \" & r(2, 7) & \" \" & TypeName(r(1, 5))\n"
                  "ReDim Preserve r(2, 8) : r(2, 8) = 1 : WScript.Echo LBound(r, 2) & r(1, 6)\n"
                  "On Error Resume Next : x = r(0, 5) : WScript.Echo Err.Number\n"),
              "1-2 5-7 207 Long\n5106\n9\n");
}

// The engine's own objects go to COM as IDispatch and come back as
// themselves; COM can call their members, and script code runs on the UI
// thread even when the object that calls it runs on the COM thread.
TEST_F(ComBridgeTest, ScriptObjectsAreDispatchObjects) {
    EXPECT_EQ(Run("Class Box\n Public Size, N\n Function Twice(x) : Twice = x * 2 : End Function\n"
                  " Sub Ping : N = N + 1 : End Sub\nEnd Class\n"
                  "Set t = CreateObject(\"Test.Target\")\n"
                  "Set b = New Box : b.Size = 3 : t.Store b\n"
                  "Set r = Nothing : t.Load r : WScript.Echo CStr(r Is b)\n"
                  "t.Poke b : t.Poke b : WScript.Echo b.N\n"),
              "True\n2\n");
    EXPECT_EQ(target_.pokeResult, S_OK);
    EXPECT_NE(target_.pokedOn, 0u);
    EXPECT_NE(target_.pokedOn, GetCurrentThreadId());
    ASSERT_EQ(target_.stored.vt, VT_DISPATCH);
    IDispatch* box = target_.stored.pdispVal;
    VARIANT arg;
    arg.vt = VT_I4;
    arg.lVal = 21;
    UniqueVariant result;
    ASSERT_EQ(Call(box, IdOf(box, L"Twice"), arg, result.Get()), S_OK);
    EXPECT_EQ(result->vt, VT_I4);
    EXPECT_EQ(result->lVal, 42);
    // A script error inside comes back as the exception VBScript would raise.
    OLECHAR* missing[] = {const_cast<OLECHAR*>(L"Nope")};
    DISPID id = 0;
    EXPECT_EQ(box->GetIDsOfNames(IID_NULL, missing, 1, 0, &id), DISP_E_UNKNOWNNAME);
    UniqueVariant text;
    text->vt = VT_BSTR;
    text->bstrVal = SysAllocString(L"x");
    ExceptionInfo info;
    EXPECT_EQ(Call(box, IdOf(box, L"Twice"), *text, result.Out(), info.Get()), DISP_E_EXCEPTION);
    EXPECT_EQ(info.Get()->scode, MAKE_HRESULT(SEVERITY_ERROR, FACILITY_CONTROL, 13));
}

TEST_F(ComBridgeTest, NoObjectOutlivesItsLastReference) {
    EXPECT_EQ(Run("Set t = CreateObject(\"Test.Target\") : Set u = t\n"
                  "Class Box : End Class\n"
                  "Set b = New Box : t.Store b\n"),
              "");
    EXPECT_GT(Refs(), baseRefs_);
    EXPECT_EQ(ScriptDispatchAlive(), 1);
    EXPECT_EQ(Run("Set t = Nothing : Set u = Nothing\n"), "");
    EXPECT_EQ(Refs(), baseRefs_);
    EXPECT_EQ(ComObject::Alive(), 0);
    VariantClear(&target_.stored);
    EXPECT_EQ(ScriptDispatchAlive(), 0);

    // At the end, whatever the script still holds is let go.
    EXPECT_EQ(Run("Set t = CreateObject(\"Test.Target\") : Dim list(0) : Set list(0) = t\n"), "");
    engine_->ReleaseObjects();
    EXPECT_EQ(Refs(), baseRefs_);
    EXPECT_EQ(Run("Set t = CreateObject(\"Test.Target\")\n"), "");
    engine_.reset();
    EXPECT_EQ(Refs(), baseRefs_);
    EXPECT_EQ(ComObject::Alive(), 0);
}

// An HRESULT with no text of VBScript's: the number as it is, the system's
// message.
TEST_F(ComBridgeTest, AnHresultWithoutAScriptTextKeepsItsNumber) {
    try {
        ThrowComError(HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED), nullptr, "x");
        ADD_FAILURE() << "nothing raised";
    } catch (const script::ScriptError& e) {
        EXPECT_EQ(e.number, static_cast<int>(0x80070005));
        EXPECT_FALSE(e.description.empty());
    }
}

// A script object with members that do what each case says.
class Scripted final : public script::ScriptObject {
  public:
    std::string TypeName() const override { return "Scripted"; }
    script::Value Get(script::Runtime&, std::string_view, script::Args args) override {
        ranOn = GetCurrentThreadId();
        return member(args);
    }
    std::function<script::Value(script::Args)> member;
    DWORD ranOn = 0;
};

// The dispatch COM sees for a script object.
ComPtr<IDispatch> DispatchOf(script::Runtime& rt, Scripted* object) {
    return DispatchFor(rt, script::Value::Object(script::Ref<script::Object>(object)));
}

HRESULT ControlError(int number) {
    return MAKE_HRESULT(SEVERITY_ERROR, FACILITY_CONTROL, number);
}

// Whatever a script object's member raises comes back to COM as an error,
// both when COM calls on the UI thread and when it calls from the COM
// thread (handed to the UI thread). Nothing crosses as an exception; a
// call-back's failure is also raised to the script once the call is done.
TEST_F(ComBridgeTest, NothingRaisedCrossesInvoke) {
    struct Case {
        const char* what;
        std::function<script::Value(script::Args)> member;
        HRESULT hr;
        HRESULT scode;  // for DISP_E_EXCEPTION
    } cases[] = {
        {"a script error", [](script::Args) -> script::Value { script::Throw(5); },
         DISP_E_EXCEPTION, ControlError(5)},
        {"a standard exception",
         [](script::Args) -> script::Value { throw std::runtime_error("broken"); },
         DISP_E_EXCEPTION, ControlError(script::kErrInternal)},
        {"something not an exception", [](script::Args) -> script::Value { throw 42; },
         DISP_E_EXCEPTION, ControlError(script::kErrInternal)},
        {"no memory", [](script::Args) -> script::Value { throw std::bad_alloc(); }, E_OUTOFMEMORY,
         0},
        {"nothing", [](script::Args) { return script::Value::Long(7); }, S_OK, 0},
    };
    script::Runtime rt(&host_);
    const std::shared_ptr<ComThread> thread = ComThreads::Current()->ForNewObjects();
    for (const Case& c : cases) {
        for (bool fromComThread : {false, true}) {
            SCOPED_TRACE(std::string(c.what) + (fromComThread ? " from the COM thread" : ""));
            auto* object = new Scripted;
            object->member = c.member;
            ComPtr<IDispatch> d = DispatchOf(rt, object);
            const DISPID id = IdOf(d.Get(), L"Go");
            UniqueVariant result, none;
            ExceptionInfo info;
            HRESULT hr = E_FAIL;
            auto invoke = [&] { hr = Call(d.Get(), id, *none, result.Get(), info.Get()); };
            bool raised = false;
            if (fromComThread) {
                try {
                    thread->Run([&](ForeignCall& foreign) { foreign.Run(invoke); }, nullptr);
                } catch (...) {
                    raised = true;
                }
            } else {
                invoke();
            }
            EXPECT_EQ(raised, fromComThread && c.hr != S_OK);
            EXPECT_EQ(hr, c.hr);
            if (c.hr == DISP_E_EXCEPTION) {
                EXPECT_EQ(info.Get()->scode, c.scode);
                EXPECT_NE(info.Get()->bstrDescription, nullptr);
            }
            if (c.hr == S_OK) {
                EXPECT_EQ(result->vt, VT_I4);
            }
            EXPECT_EQ(object->ranOn, GetCurrentThreadId());
        }
    }
    EXPECT_EQ(ScriptDispatchAlive(), 0);
}

// A member's ByRef writes go back before its result is made: when one
// cannot (an array too large for COM), the call fails and no result is
// left behind holding the object it would have returned.
TEST_F(ComBridgeTest, AFailedWriteBackLeavesNoResult) {
    script::Runtime rt(&host_);
    // More dimensions than a SAFEARRAY can have.
    script::Ref<script::Array> huge(new script::Array);
    huge->SetBounds(std::vector<int32_t>(65536, 0));
    struct Case {
        const char* what;
        script::Value written;
        HRESULT hr;
        VARTYPE resultType;
        VARTYPE argType;
    } cases[] = {
        {"an array COM cannot hold", script::Value::Array(huge), DISP_E_EXCEPTION, VT_EMPTY,
         VT_BSTR},
        {"a number", script::Value::Long(9), S_OK, VT_DISPATCH, VT_I4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        {
            auto* object = new Scripted;
            script::Value written = c.written;
            object->member = [written](script::Args args) {
                args[0] = written;
                auto* other = new Scripted;
                other->member = [](script::Args) { return script::Value(); };
                return script::Value::Object(script::Ref<script::Object>(other));
            };
            ComPtr<IDispatch> d = DispatchOf(rt, object);
            UniqueVariant held;
            held->vt = VT_BSTR;
            held->bstrVal = SysAllocString(L"before");
            VARIANT arg;
            arg.vt = VT_BYREF | VT_VARIANT;
            arg.pvarVal = held.Get();
            UniqueVariant result;
            ExceptionInfo info;
            EXPECT_EQ(Call(d.Get(), IdOf(d.Get(), L"Go"), arg, result.Get(), info.Get()), c.hr);
            EXPECT_EQ(result->vt, c.resultType);
            EXPECT_EQ(held->vt, c.argType);
            EXPECT_EQ(ScriptDispatchAlive(), c.resultType == VT_DISPATCH ? 2 : 1);
        }
        EXPECT_EQ(ScriptDispatchAlive(), 0);
    }
}

// A call that does not return is abandoned by a stop request: the script
// ends at once with "User interrupt occurred", the object goes on with its
// call on the COM thread, and what the call held is released there when it
// returns.
TEST_F(ComBridgeTest, AStopAbandonsASlowCall) {
    struct Case {
        const char* what;
        std::function<void(EchoHost&, script::Engine&)> stop;
    } cases[] = {
        {"the host says stop",
         [](EchoHost& host, script::Engine&) {
             const auto at = std::chrono::steady_clock::now() + std::chrono::milliseconds(200);
             host.keepGoing = [at] { return std::chrono::steady_clock::now() < at; };
         }},
        {"a stop from another thread",
         [](EchoHost& host, script::Engine& engine) {
             host.keepGoing = nullptr;
             std::thread([&engine] {
                 std::this_thread::sleep_for(std::chrono::milliseconds(200));
                 engine.Interrupt();
             }).detach();
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ResetEvent(target_.release);
        target_.waited = false;
        ASSERT_EQ(Run("Class Box : End Class\nSet e = CreateObject(\"Test.Target\")\n"
                      "Set t = CreateObject(\"Test.Target\")\n"),
                  "");
        const std::string typeName = Run("WScript.Echo TypeName(t)\n");
        c.stop(host_, *engine_);
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(Run("Set b = New Box : t.Store b : t.Wait : WScript.Echo \"after\"\n"),
                  "error 18: User interrupt occurred");
        const auto took = std::chrono::steady_clock::now() - start;
        EXPECT_LT(took, std::chrono::milliseconds(1500));
        EXPECT_FALSE(target_.waited);
        host_.keepGoing = nullptr;
        // The object finishes when it will; the script goes on meanwhile.
        EXPECT_EQ(Run("WScript.Echo \"next\"\n"), "next\n");
        // Until it returns, its thread answers at once: a call on the object,
        // or on one made before it on its thread, fails; what it knows it
        // tells, and new objects live elsewhere.
        const auto held = std::chrono::steady_clock::now();
        for (const char* call : {"n = 1 : t.Bump n\n", "n = 1 : e.Bump n\n"}) {
            // RPC_E_SERVERCALL_RETRYLATER: COM's "busy".
            EXPECT_EQ(Run(call),
                      "error -2147417846: The object is busy: it was made on the same thread as "
                      "a call that was stopped and has not returned yet");
        }
        EXPECT_EQ(Run("WScript.Echo TypeName(t)\n"), typeName);
        EXPECT_EQ(
            Run("Set u = CreateObject(\"Test.Target\") : n = 1 : u.Bump n : WScript.Echo n\n"),
            "2\n");
        EXPECT_EQ(Run("u.Store t\n"),
                  "error 440: Objects made before and after a stopped call cannot be passed to "
                  "each other");
        EXPECT_LT(std::chrono::steady_clock::now() - held, std::chrono::milliseconds(1500));
        EXPECT_FALSE(target_.waited);
        SetEvent(target_.release);
        Settle();
        EXPECT_TRUE(target_.waited);
        // Returned, the retired thread serves its objects again.
        EXPECT_EQ(Run("n = 1 : t.Bump n : WScript.Echo n : Set u = Nothing\n"), "2\n");
        EXPECT_EQ(Run("Set t = Nothing : Set e = Nothing : Set b = Nothing\n"), "");
        VariantClear(&target_.stored);
        EXPECT_EQ(ComObject::Alive(), 0);
        EXPECT_EQ(ScriptDispatchAlive(), 0);
        EXPECT_EQ(Refs(), baseRefs_);
    }
}

// Each stranded thread is retired for a fresh one, up to a bound; past it
// new objects are refused until a stopped call returns.
TEST_F(ComBridgeTest, StrandedThreadsAreBounded) {
    ResetEvent(target_.release);
    std::string script;
    for (size_t i = 0; i <= ComThreads::kMaxStranded; ++i) {
        const auto at = std::chrono::steady_clock::now() + std::chrono::milliseconds(100);
        host_.keepGoing = [at] { return std::chrono::steady_clock::now() < at; };
        std::string name = "t";
        name += std::to_string(i);
        const std::string made = Run("Set " + name + " = CreateObject(\"Test.Target\")\n");
        if (i == ComThreads::kMaxStranded) {
            EXPECT_EQ(made,
                      "error 429: ActiveX component can't create object: 8 stopped calls "
                      "have not returned yet; end what they wait for");
            break;
        }
        ASSERT_EQ(made, "");
        EXPECT_EQ(Run(name + ".Wait\n"), "error 18: User interrupt occurred");
        script += "Set " + name + " = Nothing\n";
    }
    host_.keepGoing = nullptr;
    SetEvent(target_.release);
    Settle();
    EXPECT_EQ(Run("Set t = CreateObject(\"Test.Target\") : n = 1 : t.Bump n : WScript.Echo n\n"),
              "2\n");
    EXPECT_EQ(Run(script + "Set t = Nothing\n"), "");
    EXPECT_EQ(ComObject::Alive(), 0);
    EXPECT_EQ(Refs(), baseRefs_);
}

}  // namespace
}  // namespace vantrel::com
