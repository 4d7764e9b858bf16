// The one TCP socket of the console. It serves every role in turn:
// listening, one accepted client, or one outgoing connection. Its events
// arrive one at a time on the user-interface thread, never from inside one
// of its own operations, so a handler may call any operation.
#pragma once

#include <cstddef>
#include <string>

namespace vantrel {

class SocketEvents {
  public:
    virtual ~SocketEvents() = default;
    // A client knocks while listening; Accept(requestId) takes it. The
    // request waits for that through the close of the listener; any later
    // close, and a newer request, refuse it.
    virtual void OnConnectionRequest(long requestId) = 0;
    // The outgoing connection is established.
    virtual void OnConnect() = 0;
    // bytesTotal received bytes can be read with GetData.
    virtual void OnDataArrival(std::size_t bytesTotal) = 0;
    // One queued send has been handed over completely.
    virtual void OnSendComplete() = 0;
    // The peer closed the connection.
    virtual void OnClose() = 0;
    // A failure; description is one line of text.
    virtual void OnError(int number, const std::string& description) = 0;
};

// Whom a listener takes: the loopback addresses of this computer only, or
// every address of every network it is on.
enum class ListenScope { kThisComputer, kEveryAddress };

class Socket {
  public:
    virtual ~Socket() = default;

    // Where events go; nullptr drops them.
    virtual void SetEvents(SocketEvents* events) = 0;

    // Ends whatever the socket is doing; harmless when idle.
    virtual void Close() = 0;
    // The port of the next Listen.
    virtual void SetLocalPort(long port) = 0;
    // Failures come back here rather than as an event.
    virtual bool Listen(ListenScope scope, std::string* err) = 0;
    virtual bool Accept(long requestId, std::string* err) = 0;
    // Starts a connection to a name, a dotted IPv4 address or an IPv6
    // address; its failure later arrives as OnError.
    virtual bool Connect(const std::string& host, long port, std::string* err) = 0;
    // Queues text as bytes, nothing added; returns at once. OnSendComplete
    // follows once it has gone.
    virtual bool SendData(const std::string& text, std::string* err) = 0;
    // Reads at most maxBytes of what has arrived.
    virtual std::string GetData(std::size_t maxBytes) = 0;
    // The peer's address: dotted for IPv4, colon text for IPv6, "" when
    // there is none.
    virtual std::string RemoteHostIP() const = 0;
    // The peer's port, 0 when there is none.
    virtual long RemotePort() const = 0;
};

}  // namespace vantrel
