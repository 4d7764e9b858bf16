// Base64 of RFC 4648, the standard alphabet: key files and fingerprints.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace text {

// The text of the bytes, padded with "=" to a multiple of four, or without
// the padding (as ssh prints a fingerprint).
std::string Base64(const std::vector<std::uint8_t>& bytes, bool padded = true);

// The bytes of a padded Base64 text; false for anything else (a character
// outside the alphabet, a blank, a missing or misplaced "=", bits left over).
bool FromBase64(std::string_view text, std::vector<std::uint8_t>* bytes);

}  // namespace text
