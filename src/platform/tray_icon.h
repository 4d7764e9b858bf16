// The console's icon in the notification area.
#pragma once

#include <string>

namespace vantrel {

class TrayIcon {
  public:
    virtual ~TrayIcon() = default;
    // False when the notification area refused the icon.
    virtual bool Add(const std::string& tooltip) = 0;
    // Takes the icon out of the notification area; harmless when not added.
    virtual void Remove() = 0;
};

}  // namespace vantrel
