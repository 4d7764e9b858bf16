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

// The user's own folder of a console whose APPDATA is kProfile.
inline constexpr char kProfile[] = "C:\\Users\\me\\AppData\\Roaming";
inline constexpr char kProfileFolder[] = "C:\\Users\\me\\AppData\\Roaming\\Orvane\\Vantrel";

// Gives a console with APPDATA at kProfile a link key of its own, the same
// at every run, so that what LISTEN shows of it can be written down.
inline void SeedLinkKey(FakePlatform& fake) {
    for (const char* folder : {"C:\\Users", "C:\\Users\\me", "C:\\Users\\me\\AppData", kProfile,
                               "C:\\Users\\me\\AppData\\Roaming\\Orvane", kProfileFolder}) {
        fake.files.AddFolder(folder);
    }
    std::string sealed, err;
    fake.secrets.Seal(std::string(32, '\x07'), &sealed, &err);
    fake.files.AddFile(std::string(kProfileFolder) + "\\LinkKey.dat", sealed);
}

struct SocketConsole {
    SocketConsole() {
        // A console with a folder of its own, as every user has: without one
        // the link keeps no transcript and serves nobody.
        fake.environment.variables = {
            {"ALLUSERSPROFILE", "C:\\ProgramData"}, {"TEMP", "C:\\Temp"}, {"APPDATA", kProfile}};
        for (const char* folder :
             {"C:\\ProgramData", "C:\\ProgramData\\Orvane", "C:\\ProgramData\\Orvane\\Vantrel",
              "C:\\Work", "C:\\Temp", "C:\\Users", "C:\\Users\\me", "C:\\Users\\me\\AppData",
              kProfile}) {
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
