#include "platform/win32/instance_hand_over.h"

#include <gtest/gtest.h>

#include <functional>
#include <future>
#include <string>
#include <vector>

#include "platform/hand_over.h"

namespace vantrel::win32 {
namespace {

std::wstring TestPipeName() {
    return L"\\\\.\\pipe\\VantrelHandOverTest." + std::to_wstring(GetCurrentProcessId());
}

// Runs a sender on a thread of its own while this thread serves the pipe,
// as the bar's timer and busy pump do.
template <typename T>
T WhileServing(HandOverServer& server, std::function<T()> sender) {
    std::future<T> done = std::async(std::launch::async, sender);
    while (done.wait_for(std::chrono::milliseconds(5)) != std::future_status::ready) server.Serve();
    return done.get();
}

// A sender that is not ours: connects and writes bytes (none: stays silent
// for silentMs), then closes.
bool RawSender(const std::wstring& name, const std::string& bytes, DWORD silentMs) {
    UniqueFile pipe;
    for (int tries = 0; tries < 100 && !pipe.Valid(); ++tries) {
        pipe.Reset(CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                               OPEN_EXISTING, 0, nullptr));
        if (!pipe.Valid()) Sleep(20);
    }
    if (!pipe.Valid()) return false;
    if (bytes.empty()) {
        Sleep(silentMs);
        return true;
    }
    DWORD written = 0;
    WriteFile(pipe.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    return true;
}

TEST(HandOverTest, OnlyTheFirstServerHasTheName) {
    HandOverServer first, second;
    std::string err;
    auto take = [](const std::string&) { return true; };
    ASSERT_TRUE(first.Create(TestPipeName(), take, &err)) << err;
    EXPECT_FALSE(second.Create(TestPipeName(), take, &err));
    EXPECT_EQ(HandOverPipeName().rfind(L"\\\\.\\pipe\\Orvane.Vantrel.S-1-", 0), 0u);
}

TEST(HandOverTest, ArgumentsAreTakenRefusedOrNeverSentAndStrangersAreDropped) {
    const std::string longest(kMaxHandOverBytes, 'x');
    // before: what a stranger does to the pipe first; taking: the console's answer.
    // clang-format off
    const struct {
        const char* name; std::string before; DWORD silentMs; std::string argument; bool taking;
        HandOverResult result; std::vector<std::string> taken;
    } cases[] = {
        {"a line", "", 0, "echo forwarded-line", true, HandOverResult::kTaken,
         {"echo forwarded-line"}},
        {"no argument", "", 0, "", true, HandOverResult::kTaken, {""}},
        {"the longest", "", 0, longest, true, HandOverResult::kTaken, {longest}},
        {"one byte more", "", 0, longest + "x", true, HandOverResult::kTooLong, {}},
        {"the console says no", "", 0, "x", false, HandOverResult::kRefused, {"x"}},
        {"after garbage", "garbage", 0, "a", true, HandOverResult::kTaken, {"a"}},
        {"after a megabyte", std::string(1 << 20, 'm'), 0, "b", true, HandOverResult::kTaken,
         {"b"}},
        {"after a silent sender", "", 4000, "c", true, HandOverResult::kTaken, {"c"}},
    };
    // clang-format on
    for (const auto& c : cases) {
        HandOverServer server;
        std::vector<std::string> taken;
        std::string err;
        ASSERT_TRUE(server.Create(
            TestPipeName(),
            [&](const std::string& argument) {
                taken.push_back(argument);
                return c.taking;
            },
            &err))
            << err;
        const std::wstring name = TestPipeName();
        const HandOverResult result = WhileServing<HandOverResult>(server, [&] {
            if (!c.before.empty() || c.silentMs) {
                std::thread stranger(RawSender, name, c.before, c.silentMs);
                stranger.detach();
                Sleep(100);  // the stranger connects first
            }
            return HandOverToRunning(name, c.argument, 3 * HandOverServer::kClientMs);
        });
        EXPECT_EQ(result, c.result) << c.name;
        EXPECT_EQ(taken, c.taken) << c.name;
    }
}

TEST(HandOverTest, NoConsoleNoAnswer) {
    EXPECT_EQ(HandOverToRunning(TestPipeName() + L".none", "x", 300), HandOverResult::kNoAnswer);
}

}  // namespace
}  // namespace vantrel::win32
