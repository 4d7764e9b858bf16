#include "platform/win32/com_provider.h"

#include "platform/win32/com_api.h"
#include "platform/win32/com_object.h"
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

IDispatch* AsDispatch(IUnknown* unknown) {
    IDispatch* dispatch = nullptr;
    if (unknown) unknown->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch));
    if (unknown) unknown->Release();
    return dispatch;
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

// A new object of the class, loaded from the file with IPersistFile.
Value LoadFile(script::Runtime& rt, std::string_view path, std::string_view progId) {
    Value object = ComObjectProvider().CreateObject(rt, progId, {});
    auto* com = static_cast<ComObject*>(object.AsObject());
    IPersistFile* file = nullptr;
    if (FAILED(
            com->Dispatch()->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
        NotFound();
    }
    const HRESULT hr = file->Load(Widen(path).c_str(), STGM_READ);
    file->Release();
    if (FAILED(hr)) NotFound();
    return object;
}

}  // namespace

Value ComObjectProvider::CreateObject(script::Runtime&, std::string_view progId,
                                      std::string_view server) {
    CLSID clsid;
    if (!ClassOf(progId, &clsid)) CantCreate(progId);
    IDispatch* dispatch = nullptr;
    HRESULT hr;
    if (server.empty()) {
        hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER,
                              IID_IDispatch, reinterpret_cast<void**>(&dispatch));
    } else {
        if (server.size() > kMaxClassName) CantCreate(progId);
        std::wstring name = Widen(server);
        COSERVERINFO where{0, name.data(), nullptr, 0};
        MULTI_QI wanted{&IID_IDispatch, nullptr, S_OK};
        hr = CoCreateInstanceEx(clsid, nullptr, CLSCTX_REMOTE_SERVER | CLSCTX_LOCAL_SERVER, &where,
                                1, &wanted);
        if (SUCCEEDED(hr)) hr = wanted.hr;
        dispatch = static_cast<IDispatch*>(wanted.pItf);
    }
    if (FAILED(hr) || !dispatch) CantCreate(progId);
    return WrapDispatch(dispatch);
}

Value ComObjectProvider::GetObject(script::Runtime& rt, std::string_view path, bool pathGiven,
                                   std::string_view progId) {
    if (path.size() > kMaxPath) NotFound();
    if (!progId.empty()) {
        if (pathGiven && path.empty()) return CreateObject(rt, progId, {});
        if (pathGiven) return LoadFile(rt, path, progId);
        CLSID clsid;
        if (!ClassOf(progId, &clsid)) CantCreate(progId);
        IUnknown* running = nullptr;
        if (FAILED(GetActiveObject(clsid, nullptr, &running))) CantCreate(progId);
        IDispatch* dispatch = AsDispatch(running);
        if (!dispatch) CantCreate(progId);
        return WrapDispatch(dispatch);
    }
    if (path.empty()) script::Throw(script::kErrInvalidCall);
    IDispatch* dispatch = nullptr;
    const HRESULT hr = CoGetObject(Widen(path).c_str(), nullptr, IID_IDispatch,
                                   reinterpret_cast<void**>(&dispatch));
    if (FAILED(hr) || !dispatch) {
        if (SUCCEEDED(hr) || IsNameFailure(hr)) NotFound();
        ThrowComError(hr, nullptr, {});
    }
    return WrapDispatch(dispatch);
}

ComApartment::ComApartment() {
    initialised_ = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
}

ComApartment::~ComApartment() {
    if (initialised_) CoUninitialize();
}

}  // namespace vantrel::com
