// libFuzzer target over whole command lines: arbitrary bytes, cut at line
// breaks, are typed at a console on in-memory services (some edited first:
// suggested, completed, searched), some of them while a served client's
// lines arrive. Any line may name any command, file,
// script or window; nothing may crash the console, leave it running a line,
// or let its pending output outgrow its bound. A line that would run for
// ever is stopped with Esc, as a user would, after a few hundred pumps.
// Build with -DVANTREL_FUZZ=ON and clang.
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/key_codes.h"
#include "socket_console.h"

namespace {

using namespace vantrel;
using namespace vantrel::testing;

constexpr int kPumpsBeforeEsc = 300;
constexpr size_t kMaxLines = 64;

void Seed(SocketConsole& rig) {
    rig.fake.clock.step = 10;
    rig.fake.files.AddFile("C:\\Work\\a.txt", "first\r\nsecond\r\n");
    rig.fake.files.AddFile("C:\\Work\\two lines.dcb", "echo one\r\nset b=%1\r\n");
    rig.fake.files.AddFile("C:\\ProgramData\\Orvane\\Vantrel\\Shortcuts\\go.dcb", "go\r\n");
    rig.fake.files.AddFolder("C:\\Work\\sub");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    SocketConsole rig;
    Seed(rig);
    Interpreter& in = rig.console.In();
    const std::string input(reinterpret_cast<const char*>(data), size);
    // A first byte of '!' lets the lines arrive from a logged-in client too.
    const bool served = !input.empty() && input[0] == '!';
    if (served) {
        in.RunCommand("listen 2319");
        rig.socket.Knock("10.1.2.3");
    }
    int pumps = 0;
    rig.window.onPump = [&] {
        if (++pumps == kPumpsBeforeEsc) rig.console.KeyDown(kVkEscape, 0);
    };
    size_t start = served ? 1 : 0;
    for (size_t n = 0; n < kMaxLines && start <= input.size() && !rig.window.ended; ++n) {
        size_t end = input.find('\n', start);
        if (end == std::string::npos) end = input.size();
        const std::string line = input.substr(start, end - start);
        pumps = 0;
        if (served && n % 2) {
            rig.socket.Receive(line + "\r\n");
        } else {
            rig.fake.bar.command = line;
            rig.fake.bar.caret = -1;
            // Every third line is edited first: suggested, completed and
            // searched for, as typing would.
            if (n % 3 == 2) {
                rig.console.CommandTextChanged();
                rig.console.KeyDown(kVkTab, 0);
                rig.console.KeyDown(kVkTab, 0);
                rig.console.KeyDown(kVkEscape, 0);
                rig.console.KeyDown('R', kModCtrl);
                rig.console.CharTyped(line.substr(0, 1));
                rig.console.KeyDown(kVkEscape, 0);
                rig.console.KeyUp(kVkUp, 0);
                rig.fake.bar.command = line;
            }
            rig.console.EnterClicked();
        }
        rig.console.Tick();
        rig.socket.TakeSent();
        if (in.Running()) __builtin_trap();
        if (in.PendingOutput().size() > Interpreter::kMaxPendingOutput) __builtin_trap();
        start = end + 1;
    }
    return 0;
}
