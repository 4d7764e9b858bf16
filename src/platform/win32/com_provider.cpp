#include "platform/win32/com_provider.h"

#include <functional>
#include <string>
#include <utility>

#include "platform/win32/com_api.h"
#include "platform/win32/com_object.h"
#include "platform/win32/com_owners.h"
#include "platform/win32/com_values.h"

namespace vantrel::com {

using script::Value;

namespace {

// Class names are registry key names, which are at most 255 characters;
// a longer one is refused before the system sees it.
constexpr size_t kMaxClassName = 255;
// Monikers and file names beyond the longest path the system takes.
constexpr size_t kMaxPath = 32767;

[[noreturn]] void CantCreate(std::string_view progId) {
    const std::string shown(progId.substr(0, kMaxClassName));
    script::Throw(script::kErrCantCreateObject,
                  script::ErrorText(script::kErrCantCreateObject) + ": '" + shown + "'");
}

bool ClassOf(std::string_view progId, CLSID* clsid) {
    if (progId.empty() || progId.size() > kMaxClassName) return false;
    std::wstring wide = Widen(progId);
    if (SUCCEEDED(CLSIDFromProgID(wide.c_str(), clsid))) return true;
    return wide.front() == L'{' && SUCCEEDED(CLSIDFromString(wide.data(), clsid));
}

// Whether binding failed for want of an object behind the name. Wine's
// binder answers a path to no file with E_NOTIMPL, where Windows' says the
// file cannot be opened.
bool IsNameFailure(HRESULT hr) {
    return hr == E_NOTIMPL || hr == MK_E_SYNTAX || hr == MK_E_CANTOPENFILE || hr == MK_E_NOOBJECT ||
           hr == MK_E_INVALIDEXTENSION || hr == MK_E_UNAVAILABLE || hr == CO_E_CLASSSTRING ||
           hr == HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND) ||
           hr == HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND) || hr == STG_E_FILENOTFOUND;
}

[[noreturn]] void NotFound() {
    script::Throw(script::kErrFileOrClassNotFound);
}

// Creation and binding run on the thread for new objects and may take
// long (a local server starting, a moniker reaching another machine): a
// stop abandons the wait, and an object made after that is released there.
// make gives the new reference and the HRESULT; done turns the object
// into the script's value, or raises the error for the failure.
// make is the work's own copy, and holds copies of what it reads: the
// caller's frame may be gone while it runs.
Value MakeObject(script::Runtime& rt, std::function<HRESULT(ComPtr<IDispatch>*)> make,
                 const std::function<Value(HRESULT, ComPtr<IDispatch>*)>& done) {
    Value object;
    ComThreads* threads = ComThreads::Current();
    const std::shared_ptr<ComThread> thread = threads ? threads->ForNewObjects() : nullptr;
    RunForScript(thread.get(), rt, [&, make = std::move(make)](ForeignCall& foreign) {
        ComPtr<IDispatch> dispatch;
        HRESULT hr = E_UNEXPECTED;
        if (!foreign.Run([&] { hr = make(&dispatch); })) return;
        object = done(hr, &dispatch);
    });
    return object;
}

// A new object of the class, loaded from the file with IPersistFile.
Value LoadFile(script::Runtime& rt, std::string_view path, std::string_view progId) {
    Value object = ComObjectProvider().CreateObject(rt, progId, {});
    auto* made = static_cast<ComObject*>(object.AsObject());
    IDispatch* dispatch = made->Dispatch();
    const std::wstring wide = Widen(path);
    HRESULT hr = E_UNEXPECTED;
    RunForScript(made->Thread(), rt, [&, dispatch, wide](ForeignCall& foreign) {
        ComPtr<IPersistFile> file;
        if (FAILED(dispatch->QueryInterface(IID_IPersistFile, file.OutVoid()))) return;
        HRESULT loaded = E_UNEXPECTED;
        if (!foreign.Run([&] { loaded = file->Load(wide.c_str(), STGM_READ); })) return;
        hr = loaded;
    });
    if (FAILED(hr)) NotFound();
    return object;
}

}  // namespace

Value ComObjectProvider::CreateObject(script::Runtime& rt, std::string_view progId,
                                      std::string_view server) {
    CLSID clsid;
    if (!ClassOf(progId, &clsid)) CantCreate(progId);
    if (server.size() > kMaxClassName) CantCreate(progId);
    const std::wstring name = Widen(server);
    auto make = [clsid, name](ComPtr<IDispatch>* dispatch) {
        if (name.empty()) {
            return CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER,
                                    IID_IDispatch, dispatch->OutVoid());
        }
        std::wstring host = name;
        COSERVERINFO where{0, host.data(), nullptr, 0};
        MULTI_QI wanted{&IID_IDispatch, nullptr, S_OK};
        HRESULT hr = CoCreateInstanceEx(clsid, nullptr, CLSCTX_REMOTE_SERVER | CLSCTX_LOCAL_SERVER,
                                        &where, 1, &wanted);
        dispatch->Reset(static_cast<IDispatch*>(wanted.pItf));
        return SUCCEEDED(hr) ? wanted.hr : hr;
    };
    return MakeObject(rt, make, [&](HRESULT hr, ComPtr<IDispatch>* dispatch) {
        if (FAILED(hr) || !*dispatch) CantCreate(progId);
        return WrapMadeObject(std::move(*dispatch));
    });
}

Value ComObjectProvider::GetObject(script::Runtime& rt, std::string_view path, bool pathGiven,
                                   std::string_view progId) {
    if (path.size() > kMaxPath) NotFound();
    if (!progId.empty()) {
        if (pathGiven && path.empty()) return CreateObject(rt, progId, {});
        if (pathGiven) return LoadFile(rt, path, progId);
        CLSID clsid;
        if (!ClassOf(progId, &clsid)) CantCreate(progId);
        auto running = [clsid](ComPtr<IDispatch>* dispatch) {
            ComPtr<IUnknown> unknown;
            HRESULT hr = GetActiveObject(clsid, nullptr, unknown.Out());
            if (SUCCEEDED(hr) && unknown) *dispatch = unknown.As<IDispatch>(IID_IDispatch);
            return hr;
        };
        return MakeObject(rt, running, [&](HRESULT hr, ComPtr<IDispatch>* dispatch) {
            if (FAILED(hr) || !*dispatch) CantCreate(progId);
            return WrapMadeObject(std::move(*dispatch));
        });
    }
    if (path.empty()) script::Throw(script::kErrInvalidCall);
    const std::wstring wide = Widen(path);
    auto bind = [wide](ComPtr<IDispatch>* dispatch) {
        return CoGetObject(wide.c_str(), nullptr, IID_IDispatch, dispatch->OutVoid());
    };
    return MakeObject(rt, bind, [&](HRESULT hr, ComPtr<IDispatch>* dispatch) {
        if (FAILED(hr) || !*dispatch) {
            if (SUCCEEDED(hr) || IsNameFailure(hr)) NotFound();
            ThrowComError(hr, nullptr, {});
        }
        return WrapMadeObject(std::move(*dispatch));
    });
}

// The UI thread is an apartment of its own too (the shell's dialogs and
// calls want one); the objects scripts make live on COM threads of their
// own, the first made when the first object is.
ComApartment::ComApartment() {
    initialised_ = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    threads_ = std::make_unique<ComThreads>();
}

ComApartment::~ComApartment() {
    threads_.reset();
    if (initialised_) CoUninitialize();
}

}  // namespace vantrel::com
