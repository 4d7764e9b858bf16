// A whole console on in-memory services with an in-memory socket attached:
// the unit tests, the benchmark and the fuzzer all play the network through
// its socket.
#pragma once

#include "commands/command_table.h"
#include "console/console.h"
#include "fake_console.h"
#include "fake_platform.h"
#include "fake_socket.h"
#include "startup/defaults.h"

namespace vantrel::testing {

struct SocketConsole {
    SocketConsole() {
        fake.environment.variables = {{"ALLUSERSPROFILE", "C:\\ProgramData"}, {"TEMP", "C:\\Temp"}};
        for (const char* folder : {"C:\\ProgramData", "C:\\ProgramData\\Orvane",
                                   "C:\\ProgramData\\Orvane\\Vantrel", "C:\\Work", "C:\\Temp"}) {
            fake.files.AddFolder(folder);
        }
        fake.files.current = "C:\\Work";
        AssignDefaults(console.In(), 1280);
        console.AttachSocket(socket);
    }

    FakePlatform fake;
    FakeConsoleWindow window;
    FakePane pane;
    FakeTray tray;
    FakeSocket socket;
    Console console{fake.platform, window, pane, tray, BuiltInCommands()};
};

}  // namespace vantrel::testing
