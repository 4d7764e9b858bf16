// Client addresses as text: what BAN takes, and the one form in which the
// ban list and a peer's address are compared.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vantrel {

// Text that can be an IPv6 address: hex digits, colons and dots, with two
// colons at least (a dotted IPv4 address has none). Only the characters are
// looked at; CanonicalAddress checks the form.
bool IsIPv6Text(std::string_view text);

// The address in its one canonical text, or nothing when the text is not an
// address. IPv4: a dotted quad of decimal numbers 0 to 255 without leading
// zeros (which some readers take for octal), given back as it is. IPv6: any
// form RFC 4291 allows, embedded dotted quad included, given back as RFC
// 5952 writes it: lower case, no leading zeros, the longest run of two or
// more zero groups (the first of equals) as "::", and an IPv4-mapped address
// as ::ffff: and its dotted quad.
std::optional<std::string> CanonicalAddress(std::string_view text);

// What two addresses are compared by: the canonical text, an IPv4-mapped
// address taken as its IPv4 address (a dual-stack socket may report the
// same peer either way). Nothing when the text is not an address.
std::optional<std::string> AddressKey(std::string_view text);

// What a client's penalty is kept by: an IPv4 address (or one mapped) as
// its dotted quad; an IPv6 address by its /64 prefix ("2001:db8:1:2::/64"),
// because a client may take any address of its own network's /64. Nothing
// when the text is not an address.
std::optional<std::string> PenaltySource(std::string_view text);

// Whether a ban-list line names the address: the same key, or, for a line
// that is no address (written by hand, or by an older BAN), the same text.
bool SameAddress(std::string_view line, std::string_view address);

}  // namespace vantrel
