// A console host that records what the interpreter and the commands asked
// of it, for tests that run command lines without a whole console.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "interpreter/console_host.h"

namespace vantrel::testing {

class RecordingConsoleHost : public ConsoleHost {
  public:
    void LineStarted() override { calls.push_back("LineStarted"); }
    void LineEnded() override { calls.push_back("LineEnded"); }
    void KeepAlive() override {
        ++keepAlives;
        if (onKeepAlive) onKeepAlive();
    }
    void UpdatePrompt() override { calls.push_back("UpdatePrompt"); }
    void Exit() override { calls.push_back("Exit"); }
    DockState Docking() const override { return dock; }
    void Dock(DockState where) override {
        dock = where;
        calls.push_back("Dock");
    }
    void ShowWin() override { calls.push_back("ShowWin"); }
    void HideWin() override { calls.push_back("HideWin"); }
    SiteAccount& Account() override { return account; }
    void AskAccountPassword() override { calls.push_back("AskAccountPassword"); }
    void Listen(const std::string& port, const std::string& password) override {
        calls.push_back("Listen " + port + " " + password);
    }
    bool Connect(const std::string& address, const std::string& password) override {
        calls.push_back("Connect " + address + " " + password);
        return connects;
    }
    void Disconnect() override { calls.push_back("Disconnect"); }

    // How often a call was made.
    int Count(const std::string& call) const {
        int n = 0;
        for (const std::string& c : calls) n += c == call;
        return n;
    }

    std::vector<std::string> calls;
    int keepAlives = 0;
    std::function<void()> onKeepAlive;  // what happens while the line runs
    DockState dock = DockState::kTop;
    SiteAccount account;
    bool connects = true;  // what Connect answers
};

}  // namespace vantrel::testing
