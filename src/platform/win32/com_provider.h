// COM automation for scripts: CreateObject and GetObject reach any
// registered automation class, moniker or running object through IDispatch.
#pragma once

#include "platform/win32/com_api.h"
#include "script/object_provider.h"

namespace vantrel::com {

class ComObjectProvider : public script::ObjectProvider {
  public:
    script::Value CreateObject(script::Runtime& rt, std::string_view progId,
                               std::string_view server) override;
    script::Value GetObject(script::Runtime& rt, std::string_view path, bool pathGiven,
                            std::string_view progId) override;
};

// COM on the thread that runs scripts (a single-threaded apartment, whose
// calls the UI thread's message loop serves) for as long as it lives. Every
// script object must be gone before it ends.
class ComApartment {
  public:
    ComApartment();
    ~ComApartment();
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

  private:
    bool initialised_ = false;
};

}  // namespace vantrel::com
