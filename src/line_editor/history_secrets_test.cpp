#include "line_editor/history_secrets.h"

#include <gtest/gtest.h>

#include "commands/command_table.h"

namespace vantrel {
namespace {

TEST(HistorySecretsTest, PasswordsOfListenConnectAndOridAreMaskedBlankLinesKeptPrivate) {
    // clang-format off
    const struct { const char* line; const char* separator; const char* remembered; } cases[] = {
        // Without a password the line stays as typed.
        {"listen", "|", "listen"},
        {"listen 2400", "|", "listen 2400"},
        {"listen off", "|", "listen off"},
        {"connect 10.0.0.9:2400", "|", "connect 10.0.0.9:2400"},
        {"orid ann", "|", "orid ann"},
        {"orid", "|", "orid"},
        {"listen 2400   ", "|", "listen 2400   "},
        // With one, everything after the first argument goes.
        {"listen 2400 secret", "|", "listen 2400 ********"},
        {"LISTEN  2400   secret", "|", "LISTEN  2400   ********"},
        {"connect host:2400 secret", "|", "connect host:2400 ********"},
        {"orid ann my secret words", "|", "orid ann ********"},
        {"\"listen\" 2400 secret", "|", "\"listen\" 2400 ********"},
        // A quoted first argument ends at its closing quote.
        {"connect \"my host\" secret", "|", "connect \"my host\" ********"},
        {"connect \"my host secret", "|", "connect \"my host secret"},
        {"listen 2400 \"two words\"", "|", "listen 2400 ********"},
        // Each command of the line counts; a separator inside the password
        // leaves nothing of it behind.
        {"echo hi|listen 2400 secret", "|", "echo hi|listen 2400 ********"},
        {"listen 2400|echo secret", "|", "listen 2400|echo secret"},
        {"listen 2400 se|cret", "|", "listen 2400 ********"},
        {"listen 2400 \"se|cret\"", "|", "listen 2400 ********"},
        {"echo a AND orid ann pw", "and", "echo a AND orid ann ********"},
        {"echo a|orid ann pw", "", "echo a|orid ann pw"},
        // The leading marks of a line are no part of its command word.
        {"@listen 2400 secret", "|", "@listen 2400 ********"},
        {"&connect host secret", "|", "&connect host ********"},
        // Other commands and words that only begin alike are left alone.
        {"echo listen 2400 secret", "|", "echo listen 2400 secret"},
        {"listener 2400 secret", "|", "listener 2400 secret"},
        {"oridx ann pw", "|", "oridx ann pw"},
        {"", "|", ""},
    };
    // clang-format on
    for (const auto& c : cases) {
        EXPECT_EQ(MaskSecrets(c.line, LineMarkers{c.separator, "`", ""}, BuiltInCommands()),
                  c.remembered)
            << c.line;
    }
    // A line starting with a blank is kept private.
    const std::pair<const char*, bool> blank[] = {
        {" listen 2400 secret", true}, {"\techo x", true}, {"echo x ", false}, {"", false}};
    for (const auto& [line, kept] : blank) EXPECT_EQ(KeptPrivate(line), kept) << line;
}

}  // namespace
}  // namespace vantrel
