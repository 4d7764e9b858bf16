// Everything the core reaches of the operating system, in one bundle that
// the Win32 build fills with real services and tests with in-memory ones.
#pragma once

#include "platform/bar_window.h"
#include "platform/clock.h"
#include "platform/code_pages.h"
#include "platform/desktop_windows.h"
#include "platform/dialogs.h"
#include "platform/environment.h"
#include "platform/file_system.h"
#include "platform/input.h"
#include "platform/processes.h"
#include "platform/registry.h"
#include "platform/secrets.h"
#include "platform/shell.h"

namespace vantrel {

struct Platform {
    BarWindow& bar;
    Shell& shell;
    FileSystem& files;
    Environment& environment;
    Clock& clock;
    Processes& processes;
    Registry& registry;
    DesktopWindows& windows;
    Input& input;
    Dialogs& dialogs;
    CodePages& codePages;
    SecretProtection& secrets;
};

}  // namespace vantrel
