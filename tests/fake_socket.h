// An in-memory socket: it records what the link asked of it and lets a test
// play the network by raising the socket's events itself.
#pragma once

#include <string>
#include <vector>

#include "platform/socket.h"

namespace vantrel::testing {

class FakeSocket : public Socket {
  public:
    enum class Mode { kIdle, kListening, kConnecting, kConnected };

    void SetEvents(SocketEvents* e) override { events = e; }
    void Close() override {
        ++closeCount;
        mode = Mode::kIdle;
        peer.clear();
    }
    void SetLocalPort(long port) override { localPort = port; }
    bool Listen(std::string* err) override {
        ++listenCount;
        if (!listenError.empty()) {
            *err = listenError;
            return false;
        }
        mode = Mode::kListening;
        listeningPort = localPort;
        return true;
    }
    bool Accept(long requestId, std::string* err) override {
        accepted.push_back(requestId);
        if (!acceptError.empty()) {
            *err = acceptError;
            return false;
        }
        mode = Mode::kConnected;
        peer = knocking;
        return true;
    }
    bool Connect(const std::string& host, long port, std::string* err) override {
        (void)err;
        connects.push_back(host + ":" + std::to_string(port));
        mode = Mode::kConnecting;
        peer = connectAddress;
        return true;
    }
    bool SendData(const std::string& text, std::string*) override {
        sent += text;
        sends.push_back(text);
        return true;
    }
    std::string GetData(std::size_t maxBytes) override {
        std::string data = incoming.substr(0, maxBytes);
        incoming.erase(0, data.size());
        return data;
    }
    std::string RemoteHostIP() const override {
        return mode == Mode::kIdle && !knocking.empty() ? knocking : peer;
    }

    // --- playing the network -----------------------------------------
    void Knock(const std::string& address, long requestId = 7) {
        knocking = address;
        events->OnConnectionRequest(requestId);
        knocking.clear();
    }
    void Receive(const std::string& data) {
        incoming += data;
        events->OnDataArrival(incoming.size());
    }
    void Connected() {
        mode = Mode::kConnected;
        events->OnConnect();
    }
    // Everything sent so far, and forgets it.
    std::string TakeSent() {
        std::string out;
        out.swap(sent);
        sends.clear();
        return out;
    }

    SocketEvents* events = nullptr;
    Mode mode = Mode::kIdle;
    long localPort = 0, listeningPort = 0;
    int closeCount = 0, listenCount = 0;
    std::vector<long> accepted;
    std::vector<std::string> connects, sends;
    std::string sent, incoming, peer, knocking, connectAddress = "10.0.0.9";
    std::string listenError, acceptError;
};

}  // namespace vantrel::testing
