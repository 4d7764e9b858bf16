#pragma once

#include "platform/processes.h"

namespace vantrel::win32 {

class Win32Processes : public Processes {
  public:
    bool Start(const std::string& commandLine, int showStyle, std::string* err) override;
    std::unique_ptr<BatchRun> StartBatchFile(const std::string& path, std::string* err) override;
    unsigned long CurrentProcessId() const override;
    std::string ExecutablePath() const override;
    std::vector<std::string> ProcessNames() const override;
};

}  // namespace vantrel::win32
