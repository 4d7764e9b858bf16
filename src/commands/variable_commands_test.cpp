#include "commands/variable_commands.h"

#include <gtest/gtest.h>

#include "interpreter/variables.h"

namespace vantrel {
namespace {

// SET, LET, PRINT, VB, ECHO and ENV run in variables.dcb, the listing in
// set_list.dcb, TIME, DATE, NOW and regional numbers in clock.dcb.

// Text beyond ASCII goes as its UTF-8 bytes, each encoded, as addresses
// carry it.
TEST(UrlHex, EveryByteButLettersAndDigitsIsEncoded) {
    EXPECT_EQ(UrlHex("a b+c.d"), "a+b%2Bc%2Ed");
    EXPECT_EQ(UrlHex("100%-_~é日\n"), "100%25%2D%5F%7E%C3%A9%E6%97%A5%0A");
}

}  // namespace
}  // namespace vantrel
