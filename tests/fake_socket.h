// An in-memory socket: it records what the link asked of it and lets a test
// play the network by raising the socket's events itself.
#pragma once

#include <string>
#include <vector>

#include "fault_injector.h"
#include "platform/socket.h"

namespace vantrel::testing {

class FakeSocket : public Socket {
  public:
    enum class Mode { kIdle, kListening, kConnecting, kConnected };

    void SetEvents(SocketEvents* e) override { events = e; }
    // Closing the listener leaves a knocking client to be accepted; any
    // other close, a Listen and a Connect refuse it.
    void Close() override {
        if (mode != Mode::kListening) knocking_.clear();
        mode = Mode::kIdle;
        peer.clear();
    }
    void SetLocalPort(long port) override { localPort = port; }
    bool Listen(ListenScope s, std::string* err) override {
        if (!listenError.empty() || Injected()) {
            *err = listenError.empty() ? kInjectedFailure : listenError;
            return false;
        }
        knocking_.clear();
        mode = Mode::kListening;
        listeningPort = localPort;
        scope = s;
        return true;
    }
    bool Accept(long requestId, std::string* err) override {
        accepted.push_back(requestId);
        if (!acceptError.empty() || Injected()) {
            *err = acceptError.empty() ? kInjectedFailure : acceptError;
            return false;
        }
        mode = Mode::kConnected;
        peer = knocking_;
        knocking_.clear();
        return true;
    }
    bool Connect(const std::string& host, long port, std::string*) override {
        knocking_.clear();
        connects.push_back(host + ":" + std::to_string(port));
        mode = Mode::kConnecting;
        peer = host;
        return true;
    }
    bool SendData(const std::string& text, std::string* err) override {
        if (Injected()) {
            *err = kInjectedFailure;
            return false;
        }
        sent += text;
        return true;
    }
    std::string GetData(std::size_t maxBytes) override {
        if (Injected()) return std::string();
        std::string data = incoming_.substr(0, maxBytes);
        incoming_.erase(0, data.size());
        return data;
    }
    // A knocking client's address is known before it is accepted.
    std::string RemoteHostIP() const override {
        return mode == Mode::kIdle && !knocking_.empty() ? knocking_ : peer;
    }
    long RemotePort() const override { return RemoteHostIP().empty() ? 0 : 50000; }

    // --- playing the network -----------------------------------------
    void Knock(const std::string& address, long requestId = 7) {
        knocking_ = address;
        events->OnConnectionRequest(requestId);
    }
    void Receive(const std::string& data) {
        incoming_ += data;
        events->OnDataArrival(incoming_.size());
    }
    void Connected() {
        mode = Mode::kConnected;
        events->OnConnect();
    }
    // Everything sent so far, and forgets it.
    std::string TakeSent() {
        std::string out;
        out.swap(sent);
        return out;
    }

    SocketEvents* events = nullptr;
    Mode mode = Mode::kIdle;
    long localPort = 0, listeningPort = 0;
    ListenScope scope = ListenScope::kEveryAddress;
    std::vector<long> accepted;
    std::vector<std::string> connects;
    std::string sent, peer;
    std::string listenError, acceptError;  // set: the call fails with it
    FaultInjector* faults = nullptr;
    bool Injected() { return faults && faults->Fails(); }

  private:
    std::string incoming_, knocking_;
};

}  // namespace vantrel::testing
