#include "platform/win32/win32_processes.h"

#include "platform/win32/unique_handle.h"
#include "platform/win32/win32_api.h"
#include "platform/win32/win32_error.h"

namespace vantrel::win32 {

namespace {

struct Started {
    UniqueHandle process;
    UniqueHandle thread;
};

bool Create(std::string commandLine, int showStyle, DWORD flags, STARTUPINFOA* startup,
            bool inheritHandles, Started* started) {
    startup->cb = sizeof *startup;
    startup->dwFlags |= STARTF_USESHOWWINDOW;
    startup->wShowWindow = static_cast<WORD>(showStyle);
    PROCESS_INFORMATION info{};
    // CreateProcess may write into the command line, so it gets a copy.
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, inheritHandles, flags,
                        nullptr, nullptr, startup, &info)) {
        return false;
    }
    started->process.Reset(info.hProcess);
    started->thread.Reset(info.hThread);
    return true;
}

}  // namespace

bool Win32Processes::Start(const std::string& commandLine, int showStyle, std::string* err) {
    STARTUPINFOA startup{};
    Started started;
    if (!Create(commandLine, showStyle, 0, &startup, false, &started)) return Fail(err);
    return true;
}

bool Win32Processes::RunBatchFileAndWait(const std::string& path, unsigned long timeLimitMs,
                                         bool* timedOut, std::string* err) {
    *timedOut = false;
    // An empty standard input: a command that waits for keys reads its end.
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    UniqueFile nul(CreateFileA("NUL", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                               &inherit, OPEN_EXISTING, 0, nullptr));
    if (!nul.Valid()) return Fail(err);
    STARTUPINFOA startup{};
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = nul.Get();
    startup.hStdOutput = nul.Get();
    startup.hStdError = nul.Get();

    // Everything the batch file starts joins the job, so a run that takes
    // too long ends with all of it.
    UniqueHandle job(CreateJobObjectA(nullptr, nullptr));
    if (!job.Valid()) return Fail(err);
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    SetInformationJobObject(job.Get(), JobObjectExtendedLimitInformation, &limits, sizeof limits);

    char comspec[MAX_PATH] = "cmd.exe";
    GetEnvironmentVariableA("ComSpec", comspec, sizeof comspec);
    Started started;
    if (!Create(std::string(comspec) + " /c \"" + path + "\"", SW_HIDE, CREATE_SUSPENDED,
                &startup, true, &started)) {
        return Fail(err);
    }
    AssignProcessToJobObject(job.Get(), started.process.Get());
    ResumeThread(started.thread.Get());
    if (WaitForSingleObject(started.process.Get(), timeLimitMs) == WAIT_TIMEOUT) {
        *timedOut = true;
        TerminateJobObject(job.Get(), 1);
        WaitForSingleObject(started.process.Get(), 5000);
    }
    return true;
}

unsigned long Win32Processes::CurrentProcessId() const { return GetCurrentProcessId(); }

std::string Win32Processes::ExecutablePath() const {
    char buffer[MAX_PATH * 4];
    DWORD length = GetModuleFileNameA(nullptr, buffer, sizeof buffer);
    return std::string(buffer, length < sizeof buffer ? length : 0);
}

}  // namespace vantrel::win32
