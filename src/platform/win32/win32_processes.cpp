#include "platform/win32/win32_processes.h"

#include <vector>

#include "platform/win32/unique_handle.h"
#include "platform/win32/win32_api.h"
#include "platform/win32/win32_error.h"

// After windows.h, which it needs.
#include <tlhelp32.h>

namespace vantrel::win32 {

namespace {

struct Started {
    UniqueHandle process;
    UniqueHandle thread;
};

bool Create(std::string commandLine, int showStyle, DWORD flags, STARTUPINFOA* startup,
            bool inheritHandles, Started* started) {
    // Windows refuses a longer one itself; Wine starts it.
    if (commandLine.size() > kMaxCommandLine) {
        SetLastError(ERROR_FILENAME_EXCED_RANGE);
        return false;
    }
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

// The one handle a batch run may inherit: the console's sockets and files
// stay its own, also in programs the batch file leaves running.
class InheritOnly {
  public:
    explicit InheritOnly(HANDLE* handle) {
        SIZE_T size = 0;
        InitializeProcThreadAttributeList(nullptr, 1, 0, &size);
        buffer_.resize(size);
        auto* list = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(buffer_.data());
        if (size == 0 || !InitializeProcThreadAttributeList(list, 1, 0, &size)) return;
        if (!UpdateProcThreadAttribute(list, 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST, handle,
                                       sizeof *handle, nullptr, nullptr)) {
            DeleteProcThreadAttributeList(list);
            return;
        }
        list_ = list;
    }
    ~InheritOnly() {
        if (list_) DeleteProcThreadAttributeList(list_);
    }
    InheritOnly(const InheritOnly&) = delete;
    InheritOnly& operator=(const InheritOnly&) = delete;

    // Null where the system has no such lists; every inheritable handle is
    // inherited then.
    LPPROC_THREAD_ATTRIBUTE_LIST List() const { return list_; }

  private:
    std::vector<char> buffer_;
    LPPROC_THREAD_ATTRIBUTE_LIST list_ = nullptr;
};

// The system command interpreter running the batch file. "/s" with the path
// in a second pair of quotes keeps the path whole whatever it holds (blanks,
// parentheses); "/d" leaves out the user's AutoRun commands.
std::string InterpreterCommandLine(const std::string& batchPath) {
    char comspec[MAX_PATH];
    DWORD length = GetEnvironmentVariableA("ComSpec", comspec, sizeof comspec);
    std::string program =
        length > 0 && length < sizeof comspec ? std::string(comspec, length) : "cmd.exe";
    return "\"" + program + "\" /d /s /c \"\"" + batchPath + "\"\"";
}

class Win32BatchRun : public BatchRun {
  public:
    bool Wait(unsigned long ms) override {
        return WaitForSingleObject(process.Get(), ms) != WAIT_TIMEOUT;
    }
    void Stop() override {
        if (!inJob || !TerminateJobObject(job.Get(), 1)) TerminateProcess(process.Get(), 1);
        WaitForSingleObject(process.Get(), 5000);
    }

    UniqueHandle process;
    UniqueHandle job;
    bool inJob = false;
};

}  // namespace

bool Win32Processes::Start(const std::string& commandLine, int showStyle, std::string* err) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    Started started;
    if (!Create(commandLine, showStyle, 0, &startup, false, &started)) return Fail(err);
    return true;
}

std::unique_ptr<BatchRun> Win32Processes::StartBatchFile(const std::string& path,
                                                         std::string* err) {
    // An empty standard input: a command that waits for keys reads its end
    // and goes on instead of waiting for ever in a window nobody sees.
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    UniqueFile nul(CreateFileA("NUL", GENERIC_READ | GENERIC_WRITE,
                               FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, OPEN_EXISTING, 0,
                               nullptr));
    if (!nul.Valid()) {
        Fail(err);
        return nullptr;
    }
    HANDLE nulHandle = nul.Get();
    InheritOnly inheritOnly(&nulHandle);

    STARTUPINFOEXA startup{};
    startup.StartupInfo.cb = inheritOnly.List() ? sizeof startup : sizeof startup.StartupInfo;
    startup.StartupInfo.dwFlags = STARTF_USESTDHANDLES;
    startup.StartupInfo.hStdInput = nulHandle;
    startup.StartupInfo.hStdOutput = nulHandle;
    startup.StartupInfo.hStdError = nulHandle;
    startup.lpAttributeList = inheritOnly.List();

    // Everything the batch file starts joins the job, so that a run that is
    // stopped ends with all it started. Programs it leaves running at its
    // normal end are the user's and stay.
    auto run = std::make_unique<Win32BatchRun>();
    run->job.Reset(CreateJobObjectA(nullptr, nullptr));
    DWORD flags = CREATE_SUSPENDED | CREATE_NO_WINDOW;
    if (inheritOnly.List()) flags |= EXTENDED_STARTUPINFO_PRESENT;
    Started started;
    if (!Create(InterpreterCommandLine(path), SW_HIDE, flags, &startup.StartupInfo, true,
                &started)) {
        Fail(err);
        return nullptr;
    }
    run->inJob =
        run->job.Valid() && AssignProcessToJobObject(run->job.Get(), started.process.Get());
    ResumeThread(started.thread.Get());
    run->process = std::move(started.process);
    return run;
}

unsigned long Win32Processes::CurrentProcessId() const {
    return GetCurrentProcessId();
}

std::string Win32Processes::ExecutablePath() const {
    char buffer[MAX_PATH * 4];
    DWORD length = GetModuleFileNameA(nullptr, buffer, sizeof buffer);
    return std::string(buffer, length < sizeof buffer ? length : 0);
}

std::vector<std::string> Win32Processes::ProcessNames() const {
    std::vector<std::string> names;
    UniqueSnapshot snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot.Valid()) return names;
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (bool more = Process32First(snapshot.Get(), &entry); more;
         more = Process32Next(snapshot.Get(), &entry)) {
        names.emplace_back(entry.szExeFile);
    }
    return names;
}

}  // namespace vantrel::win32
