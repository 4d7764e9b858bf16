// A second start of the program hands its argument to the one that runs,
// through a named pipe that only the same user on the same desktop can
// reach: the pipe's name holds the user's SID, the session and the desktop,
// its DACL admits that user alone, remote clients are refused, and the
// sender checks that the process serving the pipe runs as its own user
// before it sends anything, so that a pipe put up first by someone else
// gets nothing.
//
// One exchange: the sender writes its argument as one message; the server
// answers with one byte, kTakenByte or kRefusedByte, and drops the
// connection once the sender has closed its end (or after kClientMs). The
// server never waits and has no thread: its I/O is overlapped, and Serve,
// which the bar calls at every tick of its timer and every round of its
// busy pump, moves the exchange on as far as it has come. So a start is
// answered within a tick, while a line runs too.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/win32/unique_handle.h"
#include "platform/win32/win32_api.h"

namespace vantrel::win32 {

inline constexpr char kTakenByte = '1';
inline constexpr char kRefusedByte = '0';

// The pipe's name for the calling process's user, session and desktop; ""
// when one of them cannot be read.
std::wstring HandOverPipeName();

class HandOverServer {
  public:
    // Gets each argument that arrived whole and within bounds; its answer
    // is sent back.
    using Take = std::function<bool(const std::string&)>;
    // A sender that connects and then sends nothing, or never closes, is
    // dropped after this long.
    static constexpr std::uint64_t kClientMs = 2000;

    HandOverServer() = default;
    ~HandOverServer();
    HandOverServer(const HandOverServer&) = delete;
    HandOverServer& operator=(const HandOverServer&) = delete;

    // Creates the pipe as its only instance and starts listening. False,
    // with the reason, when the name is taken (by another process of ours,
    // or by anyone else) or the pipe could not be made.
    bool Create(const std::wstring& name, Take take, std::string* err);
    // Moves the exchange on as far as it goes without waiting.
    void Serve();

  private:
    enum class Phase { kIdle, kListening, kReading, kAnswering, kClosing };

    // One step of the exchange; false when nothing moved on.
    bool Step();
    // Notes an overlapped operation just started (its result).
    void Issue(BOOL started);
    void Listen();
    void StartRead();
    void Answer(bool taken);
    void Drop();
    // Completion of the pending operation: true when it is done, with its
    // byte count and error (0 for success).
    bool Completed(DWORD* bytes, DWORD* error);

    UniqueFile pipe_;
    UniqueHandle event_;
    OVERLAPPED overlapped_{};
    Phase phase_ = Phase::kIdle;
    bool pending_ = false;  // an operation is under way on overlapped_
    bool failed_ = false;   // the last one failed as it started
    std::uint64_t connectedAt_ = 0;
    std::string buffer_;
    char answer_ = 0;
    bool serving_ = false;
    Take take_;
};

enum class HandOverResult : int {
    kTaken = 0,
    kRefused = 1,   // the console said no: its queue is full, or the text is not a line
    kTooLong = 2,   // never sent
    kNoAnswer = 3,  // no console served the pipe, or it did not answer in time
    kStranger = 4,  // the pipe's server runs as another user
};

// Hands argument to the console that serves name, waiting at most waitMs
// for the pipe and the answer.
HandOverResult HandOverToRunning(const std::wstring& name, const std::string& argument,
                                 DWORD waitMs);

}  // namespace vantrel::win32
