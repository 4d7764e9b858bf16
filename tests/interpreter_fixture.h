// An interpreter on in-memory platform services, with the start-up
// defaults assigned, for tests that run command lines.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "commands/command_table.h"
#include "fake_console_host.h"
#include "fake_platform.h"
#include "interpreter/interpreter.h"
#include "startup/defaults.h"
#include "text/compare.h"

namespace vantrel::testing {

class InterpreterTest : public ::testing::Test {
  protected:
    InterpreterTest() {
        os.environment.variables = {{"ALLUSERSPROFILE", "C:\\ProgramData"},
                                    {"USERPROFILE", "C:\\Users\\me"},
                                    {"TEMP", "C:\\Temp"},
                                    {"PATH", "C:\\Windows;C:\\Tools\\"}};
        AssignDefaults(in, 1280);
    }

    // Runs a line and returns what it printed, form feeds shown as "<FF>"
    // and line breaks as "\n".
    std::string Run(const std::string& line) {
        in.PendingOutput().clear();
        in.RunCommand(line);
        return Shown(in.PendingOutput());
    }

    // Output with the automatic clear request of a line dropped.
    std::string Output(const std::string& line) {
        std::string out = Run(line);
        if (out.rfind("<FF>\n", 0) == 0) return out.substr(5);
        return out == "<FF>" ? "" : out;
    }

    static std::string Shown(const std::string& text) {
        return text::ReplaceAll(text::ReplaceAll(text, "\f", "<FF>"), "\r\n", "\n");
    }

    FakePlatform os;
    RecordingConsoleHost host;
    Interpreter in{os.platform, host, BuiltInCommands()};
};

}  // namespace vantrel::testing
