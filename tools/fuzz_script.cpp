// libFuzzer entry: each input is a script, compiled and run at global scope,
// then its text evaluated as an expression, in a fresh engine. Nothing a
// script does may crash, trip a sanitizer or run unbounded; a watchdog
// interrupts a script that runs past its time, as the console's Esc does.
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <string_view>
#include <thread>

#include "script/engine.h"

namespace {

// Calls Interrupt() every few milliseconds once the budget is spent, until
// the run ends: each engine call clears the flag when it starts.
class Watchdog {
  public:
    explicit Watchdog(script::Engine& engine) : thread_([this, &engine] { Watch(engine); }) {}
    ~Watchdog() {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            done_ = true;
        }
        wake_.notify_one();
        thread_.join();
    }

  private:
    void Watch(script::Engine& engine) {
        std::unique_lock<std::mutex> lock(mutex_);
        if (wake_.wait_for(lock, std::chrono::milliseconds(300), [this] { return done_; })) return;
        while (!wake_.wait_for(lock, std::chrono::milliseconds(5), [this] { return done_; })) {
            engine.Interrupt();
        }
    }

    std::mutex mutex_;
    std::condition_variable wake_;
    bool done_ = false;
    std::thread thread_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    script::Host host;
    script::Engine engine(&host);
    // The sanitizers use more stack per call than a release build.
    engine.SetStackLimit(256 * 1024);
    Watchdog watchdog(engine);
    engine.ExecuteStatement(text);
    script::Value result;
    if (engine.Eval(text, &result)) {
        std::string shown;
        engine.ToText(result, &shown);
    }
    return 0;
}
