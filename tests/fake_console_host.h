// A console host that records what the interpreter and the commands asked
// of it, for tests that run command lines without a whole console.
#pragma once

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "interpreter/console_host.h"

namespace vantrel::testing {

// Where the bar was docked.
class RecordingPlacement : public WindowPlacement {
  public:
    DockState Docking() const override { return dock; }
    void Dock(DockState where) override { dock = where; }
    void DockOn(DockState where, Point p) override {
        dock = where;
        dockedOn = p;
    }
    std::optional<Point> DockedMonitor() const override { return dockedOn; }
    void ShowWin() override {}
    void HideWin() override {}

    DockState dock = DockState::kTop;
    std::optional<Point> dockedOn;
};

class RecordingConsoleHost : public ConsoleHost {
  public:
    void LineStarted() override { calls.push_back("LineStarted"); }
    void LineEnded() override { calls.push_back("LineEnded"); }
    void KeepAlive() override {}
    void UpdatePrompt() override { calls.push_back("UpdatePrompt"); }
    void ShowPendingOutput() override { calls.push_back("ShowPendingOutput"); }
    void Exit() override { calls.push_back("Exit"); }
    WindowPlacement& Placement() override { return placement; }
    SiteAccount& Account() override { return account; }
    void AskAccountPassword() override { calls.push_back("AskAccountPassword"); }
    // Without a link, as a console without a socket.
    RemoteConsole* Remote() override { return nullptr; }
    bool Private() const override { return privateMode; }
    void SetPrivate(bool on) override { privateMode = on; }

    // How often a call was made.
    int Count(const std::string& call) const {
        return static_cast<int>(std::count(calls.begin(), calls.end(), call));
    }

    std::vector<std::string> calls;
    RecordingPlacement placement;
    SiteAccount account;
    bool privateMode = false;
};

}  // namespace vantrel::testing
