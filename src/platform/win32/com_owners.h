// Owners for what COM hands out: each frees its thing the way COM says it
// must be freed, as unique_handle.h does for handles.
#pragma once

#include <utility>

#include "platform/win32/com_api.h"
#include "platform/win32/unique_handle.h"

namespace vantrel::com {

using UniqueBstr = win32::Unique<BSTR, win32::ClosedBy<BSTR, nullptr, SysFreeString>>;
using UniqueSafeArray =
    win32::Unique<SAFEARRAY*, win32::ClosedBy<SAFEARRAY*, nullptr, SafeArrayDestroy>>;

// One counted reference to an interface.
template <typename I>
class ComPtr {
  public:
    ComPtr() = default;
    // Takes over the reference p carries.
    explicit ComPtr(I* p) : p_(p) {}
    ~ComPtr() { Reset(); }
    ComPtr(ComPtr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
    ComPtr& operator=(ComPtr&& other) noexcept {
        if (this != &other) {
            Reset();
            p_ = std::exchange(other.p_, nullptr);
        }
        return *this;
    }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;

    I* Get() const { return p_; }
    I* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }
    void Reset(I* p = nullptr) {
        if (p_) p_->Release();
        p_ = p;
    }
    // Gives the reference up to a caller that now owns it; nothing is
    // released (IUnknown::Release is what releases).
    I* Detach() { return std::exchange(p_, nullptr); }
    // For the out-parameter of a call that hands out a reference.
    I** Out() {
        Reset();
        return &p_;
    }
    void** OutVoid() { return reinterpret_cast<void**>(Out()); }
    // A new reference to the interface iid names, null when p has none.
    template <typename J>
    ComPtr<J> As(REFIID iid) const {
        ComPtr<J> other;
        if (p_) p_->QueryInterface(iid, other.OutVoid());
        return other;
    }

  private:
    I* p_ = nullptr;
};

// A VARIANT that clears itself: its BSTR, array or interface go with it.
class UniqueVariant {
  public:
    UniqueVariant() { VariantInit(&v_); }
    ~UniqueVariant() { VariantClear(&v_); }
    UniqueVariant(UniqueVariant&& other) noexcept : v_(other.v_) { VariantInit(&other.v_); }
    UniqueVariant& operator=(UniqueVariant&& other) noexcept {
        if (this != &other) {
            VariantClear(&v_);
            v_ = other.v_;
            VariantInit(&other.v_);
        }
        return *this;
    }
    UniqueVariant(const UniqueVariant&) = delete;
    UniqueVariant& operator=(const UniqueVariant&) = delete;

    VARIANT* Get() { return &v_; }
    const VARIANT& operator*() const { return v_; }
    VARIANT* operator->() { return &v_; }
    // Clears what is held, for a call that fills the VARIANT anew.
    VARIANT* Out() {
        VariantClear(&v_);
        return &v_;
    }
    // Gives the contents up to a caller that now owns them.
    VARIANT Detach() {
        VARIANT out = v_;
        VariantInit(&v_);
        return out;
    }

  private:
    VARIANT v_;
};

// The texts an EXCEPINFO carries.
class ExceptionInfo {
  public:
    ExceptionInfo() = default;
    ~ExceptionInfo() { Clear(); }
    ExceptionInfo(const ExceptionInfo&) = delete;
    ExceptionInfo& operator=(const ExceptionInfo&) = delete;
    EXCEPINFO* Get() { return &info_; }
    void Clear() {
        SysFreeString(info_.bstrSource);
        SysFreeString(info_.bstrDescription);
        SysFreeString(info_.bstrHelpFile);
        info_ = EXCEPINFO{};
    }

  private:
    EXCEPINFO info_{};
};

}  // namespace vantrel::com
