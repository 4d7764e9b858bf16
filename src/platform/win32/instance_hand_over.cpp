#include "platform/win32/instance_hand_over.h"

#include <sddl.h>

#include <vector>

#include "platform/hand_over.h"
#include "platform/win32/win32_clock.h"
#include "platform/win32/win32_error.h"

namespace vantrel::win32 {

namespace {

// The deadlines' milliseconds.
std::uint64_t NowMs() {
    return Win32Clock().Milliseconds();
}

using UniqueLocal = Unique<HLOCAL, ClosedBy<HLOCAL, nullptr, LocalFree>>;

// Every message starts so: what lacks it was never sent by a start of ours.
constexpr char kTag[] = "Vantrel hand-over\n";
constexpr std::size_t kTagBytes = sizeof(kTag) - 1;

// The TOKEN_USER of a process's token.
bool ProcessUser(HANDLE process, std::vector<BYTE>* user) {
    HANDLE token = nullptr;
    if (!OpenProcessToken(process, TOKEN_QUERY, &token)) return false;
    UniqueHandle owner(token);
    DWORD size = 0;
    GetTokenInformation(token, TokenUser, nullptr, 0, &size);
    // A SID is at most 68 bytes; the size only guards the buffer.
    if (size < sizeof(TOKEN_USER) || size > 1024) return false;
    user->resize(size);
    return GetTokenInformation(token, TokenUser, user->data(), size, &size) != FALSE;
}

PSID SidOf(std::vector<BYTE>& user) {
    return reinterpret_cast<TOKEN_USER*>(user.data())->User.Sid;
}

std::wstring SidText(PSID sid) {
    LPWSTR text = nullptr;
    if (!ConvertSidToStringSidW(sid, &text)) return std::wstring();
    UniqueLocal owner(text);
    return text;
}

// The process id of the pipe's server, when it runs as the caller's user.
bool ServedBySameUser(HANDLE pipe, DWORD* pid) {
    ULONG server = 0;
    if (!GetNamedPipeServerProcessId(pipe, &server)) return false;
    UniqueHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, server));
    std::vector<BYTE> theirs, ours;
    if (!process.Valid() || !ProcessUser(process.Get(), &theirs) ||
        !ProcessUser(GetCurrentProcess(), &ours)) {
        return false;
    }
    *pid = server;
    return EqualSid(SidOf(theirs), SidOf(ours)) != FALSE;
}

UniqueFile ConnectToPipe(const std::wstring& name, std::uint64_t deadline) {
    for (;;) {
        // Identification only: a server may learn who sends, never act as us.
        UniqueFile pipe(CreateFileW(
            name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
            FILE_FLAG_OVERLAPPED | SECURITY_SQOS_PRESENT | SECURITY_IDENTIFICATION, nullptr));
        if (pipe.Valid()) return pipe;
        // Busy: another start is being answered. Not found: the console
        // holds the one-instance mutex but has not made its pipe yet.
        const DWORD error = GetLastError();
        if (NowMs() >= deadline || (error != ERROR_PIPE_BUSY && error != ERROR_FILE_NOT_FOUND))
            return UniqueFile();
        Sleep(50);
    }
}

// Waits for an overlapped operation until the deadline, and cancels it
// when it is not done by then; true when it completed.
bool FinishBy(HANDLE file, OVERLAPPED* overlapped, BOOL started, std::uint64_t deadline,
              DWORD* bytes) {
    if (!started && GetLastError() != ERROR_IO_PENDING) return false;
    const std::uint64_t now = NowMs();
    const DWORD left = now < deadline ? static_cast<DWORD>(deadline - now) : 0;
    if (WaitForSingleObject(overlapped->hEvent, left) != WAIT_OBJECT_0) CancelIo(file);
    return GetOverlappedResult(file, overlapped, bytes, TRUE) != FALSE;
}

}  // namespace

std::wstring HandOverPipeName() {
    std::vector<BYTE> user;
    DWORD session = 0;
    wchar_t desktop[128] = {};
    DWORD needed = 0;
    HDESK current = GetThreadDesktop(GetCurrentThreadId());
    if (!ProcessUser(GetCurrentProcess(), &user) ||
        !ProcessIdToSessionId(GetCurrentProcessId(), &session) || !current ||
        !GetUserObjectInformationW(current, UOI_NAME, desktop, sizeof(desktop) - sizeof(wchar_t),
                                   &needed)) {
        return std::wstring();
    }
    const std::wstring sid = SidText(SidOf(user));
    if (sid.empty()) return sid;
    return L"\\\\.\\pipe\\Orvane.Vantrel." + sid + L"." + std::to_wstring(session) + L"." + desktop;
}

HandOverServer::~HandOverServer() {
    if (pipe_.Valid() && pending_) {
        CancelIo(pipe_.Get());
        DWORD bytes = 0;
        GetOverlappedResult(pipe_.Get(), &overlapped_, &bytes, TRUE);
    }
}

bool HandOverServer::Create(const std::wstring& name, Take take, std::string* err) {
    std::vector<BYTE> user;
    if (name.empty() || !ProcessUser(GetCurrentProcess(), &user)) return Fail(err);
    // Full access for the user alone; nothing inherited from a parent.
    const std::wstring sddl = L"D:P(A;;GA;;;" + SidText(SidOf(user)) + L")";
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl.c_str(), SDDL_REVISION_1,
                                                              &descriptor, nullptr)) {
        return Fail(err);
    }
    UniqueLocal descriptorOwner(descriptor);
    SECURITY_ATTRIBUTES attributes{sizeof(attributes), descriptor, FALSE};
    pipe_.Reset(CreateNamedPipeW(
        name.c_str(), PIPE_ACCESS_DUPLEX | FILE_FLAG_OVERLAPPED | FILE_FLAG_FIRST_PIPE_INSTANCE,
        PIPE_TYPE_MESSAGE | PIPE_READMODE_MESSAGE | PIPE_WAIT | PIPE_REJECT_REMOTE_CLIENTS, 1, 16,
        static_cast<DWORD>(kTagBytes + kMaxHandOverBytes + 1), 0, &attributes));
    if (!pipe_.Valid()) return Fail(err);
    event_.Reset(CreateEventW(nullptr, FALSE, FALSE, nullptr));
    if (!event_.Valid()) return Fail(err);

    take_ = std::move(take);
    phase_ = Phase::kIdle;
    Listen();
    return true;
}

void HandOverServer::Serve() {
    // take may show the bar, which can dispatch messages: no second step
    // may start inside the first.
    if (serving_ || !pipe_.Valid()) return;
    serving_ = true;
    // Each phase moves on at most once per completion; a few steps take a
    // whole exchange that completed meanwhile.
    for (int step = 0; step < 8 && Step(); ++step) {
    }
    serving_ = false;
}

bool HandOverServer::Step() {
    DWORD bytes = 0, error = 0;
    if (phase_ == Phase::kIdle) {
        Listen();
        return phase_ != Phase::kIdle;
    }
    if (!Completed(&bytes, &error)) {
        const bool late = phase_ != Phase::kListening && NowMs() - connectedAt_ > kClientMs;
        if (late) Drop();
        return false;
    }
    switch (phase_) {
        case Phase::kListening:
            if (error == 0) {
                StartRead();
            } else {
                Drop();
            }
            break;
        case Phase::kReading:
            if (error == 0 && bytes >= kTagBytes && buffer_.compare(0, kTagBytes, kTag) == 0) {
                Answer(take_(buffer_.substr(kTagBytes, bytes - kTagBytes)));
            } else if (error == 0 || error == ERROR_MORE_DATA) {
                // Too long, or not ours: refused, and the rest never read.
                Answer(false);
            } else {
                Drop();
            }
            break;
        case Phase::kAnswering:
            if (error != 0) {
                Drop();
                break;
            }
            // The answer is read once the sender closes its end, which ends
            // this read; disconnecting before would throw the answer away.
            phase_ = Phase::kClosing;
            Issue(ReadFile(pipe_.Get(), buffer_.data(), 1, nullptr, &overlapped_));
            break;
        case Phase::kClosing:
        case Phase::kIdle:
            Drop();
            break;
    }
    return true;
}

void HandOverServer::Issue(BOOL started) {
    pending_ = started || GetLastError() == ERROR_IO_PENDING || GetLastError() == ERROR_MORE_DATA;
    // An operation that failed at once completes nothing: the step after
    // drops the connection.
    if (!pending_) failed_ = true;
}

bool HandOverServer::Completed(DWORD* bytes, DWORD* error) {
    if (failed_) {
        failed_ = false;
        *error = ERROR_BROKEN_PIPE;
        return true;
    }
    if (!pending_) return false;
    if (GetOverlappedResult(pipe_.Get(), &overlapped_, bytes, FALSE)) {
        *error = 0;
    } else {
        *error = GetLastError();
        if (*error == ERROR_IO_INCOMPLETE) return false;
    }
    pending_ = false;
    return true;
}

void HandOverServer::Listen() {
    overlapped_ = OVERLAPPED{};
    overlapped_.hEvent = event_.Get();
    pending_ = false;
    if (ConnectNamedPipe(pipe_.Get(), &overlapped_)) {
        StartRead();
        return;
    }
    switch (GetLastError()) {
        case ERROR_IO_PENDING:
            phase_ = Phase::kListening;
            pending_ = true;
            break;
        case ERROR_PIPE_CONNECTED:
            StartRead();
            break;
        default:
            // A sender that came and went before it was taken: the next
            // wake listens again.
            DisconnectNamedPipe(pipe_.Get());
            phase_ = Phase::kIdle;
            break;
    }
}

void HandOverServer::StartRead() {
    connectedAt_ = NowMs();
    phase_ = Phase::kReading;
    buffer_.assign(kTagBytes + kMaxHandOverBytes + 1, '\0');
    Issue(ReadFile(pipe_.Get(), buffer_.data(), static_cast<DWORD>(buffer_.size()), nullptr,
                   &overlapped_));
}

void HandOverServer::Answer(bool taken) {
    answer_ = taken ? kTakenByte : kRefusedByte;
    phase_ = Phase::kAnswering;
    Issue(WriteFile(pipe_.Get(), &answer_, 1, nullptr, &overlapped_));
}

void HandOverServer::Drop() {
    if (pending_) {
        CancelIo(pipe_.Get());
        DWORD bytes = 0;
        GetOverlappedResult(pipe_.Get(), &overlapped_, &bytes, TRUE);
        pending_ = false;
    }
    failed_ = false;
    DisconnectNamedPipe(pipe_.Get());
    buffer_.clear();
    buffer_.shrink_to_fit();
    Listen();
}

HandOverResult HandOverToRunning(const std::wstring& name, const std::string& argument,
                                 DWORD waitMs) {
    if (argument.size() > kMaxHandOverBytes) return HandOverResult::kTooLong;
    const std::uint64_t deadline = NowMs() + waitMs;
    if (name.empty()) return HandOverResult::kNoAnswer;
    UniqueFile pipe = ConnectToPipe(name, deadline);
    if (!pipe.Valid()) return HandOverResult::kNoAnswer;
    DWORD server = 0;
    if (!ServedBySameUser(pipe.Get(), &server)) return HandOverResult::kStranger;
    DWORD mode = PIPE_READMODE_MESSAGE;
    if (!SetNamedPipeHandleState(pipe.Get(), &mode, nullptr, nullptr)) {
        return HandOverResult::kNoAnswer;
    }
    // The console may then take the foreground, which this start (the
    // program the user just started) holds.
    AllowSetForegroundWindow(server);

    UniqueHandle event(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    OVERLAPPED overlapped{};
    overlapped.hEvent = event.Get();
    const std::string message = kTag + argument;
    DWORD bytes = 0;
    if (!event.Valid() ||
        !FinishBy(pipe.Get(), &overlapped,
                  WriteFile(pipe.Get(), message.data(), static_cast<DWORD>(message.size()), nullptr,
                            &overlapped),
                  deadline, &bytes)) {
        return HandOverResult::kNoAnswer;
    }
    char answer = 0;
    ResetEvent(event.Get());
    if (!FinishBy(pipe.Get(), &overlapped, ReadFile(pipe.Get(), &answer, 1, nullptr, &overlapped),
                  deadline, &bytes) ||
        bytes != 1) {
        return HandOverResult::kNoAnswer;
    }
    return answer == kTakenByte ? HandOverResult::kTaken : HandOverResult::kRefused;
}

}  // namespace vantrel::win32
