// COM automation for scripts: CreateObject and GetObject reach any
// registered automation class, moniker or running object through IDispatch.
#pragma once

#include <memory>

#include "platform/win32/com_apartment.h"
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

// COM for as long as it lives: the UI thread's own apartment and the COM
// threads where scripts' objects live (com_apartment.h). Every script
// object must be gone before it ends.
class ComApartment {
  public:
    ComApartment();
    ~ComApartment();
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

  private:
    bool initialised_ = false;
    std::unique_ptr<ComThreads> threads_;
};

}  // namespace vantrel::com
