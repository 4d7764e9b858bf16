// Runs every testdata/NAME.vbs and compares what it prints (WScript.Echo,
// MsgBox) with testdata/NAME.out. An error that ends the script is printed
// as its last line, as vantrel_vbs prints it: NAME.vbs(LINE, COLUMN) ...
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "script/engine.h"

namespace script {
namespace {

// A host with a fixed clock (1/2/2003 3:04:05 PM) that records output.
class RecordingHost : public Host {
  public:
    double Now() const override { return 37623.0 + (15 * 3600 + 4 * 60 + 5) / 86400.0; }
    void Echo(std::string_view text) override { output.append(text) += '\n'; }
    int MsgBox(std::string_view prompt, int buttons, std::string_view title) override {
        output += "MsgBox(" + std::string(title) + ", " + std::to_string(buttons) + "): ";
        output.append(prompt) += '\n';
        return 1;
    }
    std::string output;
};

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream buffer;
    buffer << in.rdbuf();
    std::string text = buffer.str();
    std::erase(text, '\r');
    return text;
}

// The engine is gone before the output is read: objects still alive at the
// end run their Class_Terminate then, as at the end of a script.
std::string RunScript(const std::string& name, const std::string& source) {
    RecordingHost host;
    {
        Engine engine(&host);
        if (!engine.ExecuteStatement(source)) {
            host.output += HostErrorLine(name, engine.LastError()) + "\n";
        }
    }
    return host.output;
}

TEST(ScriptGolden, TestdataScripts) {
    const std::filesystem::path dir =
        std::filesystem::path(VANTREL_SOURCE_DIR) / "src" / "script" / "testdata";
    int count = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        if (entry.path().extension() != ".vbs") continue;
        std::filesystem::path expected = entry.path();
        expected.replace_extension(".out");
        ASSERT_TRUE(std::filesystem::exists(expected)) << expected;
        EXPECT_EQ(RunScript(entry.path().filename().string(), ReadFile(entry.path())),
                  ReadFile(expected))
            << entry.path();
        ++count;
    }
    EXPECT_GT(count, 0);
}

}  // namespace
}  // namespace script
