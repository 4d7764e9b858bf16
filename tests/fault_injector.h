// Makes the Nth call of any platform service fail, as the test builds of
// small databases and interpreters make their Nth allocation or write fail:
// a script is run once to count the calls it makes, then once for each N.
// The fakes that take an injector ask it before each call that can fail.
#pragma once

namespace vantrel::testing {

inline constexpr char kInjectedFailure[] =
    "The request could not be performed because of an I/O device error.";

struct FaultInjector {
    int failAt = 0;  // the call that fails, counting from 1; 0: none fails
    int calls = 0;   // calls asked about so far
    bool Fails() { return ++calls == failAt; }
};

}  // namespace vantrel::testing
