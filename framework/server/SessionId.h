#pragma once
// Session IDs: a random GUID written with the framework's 64-letter alphabet.
//
// The GUID's random bits come from the kernel's cryptographically secure source
// (getrandom), never from a seeded pseudo-random generator: a session ID is the only
// thing that proves a request belongs to a session, so it must not be guessable.
#include <array>
#include <span>
#include <string>
#include <string_view>

namespace orv {

// The alphabet of session IDs: letter i stands for the 6-bit value i.
inline constexpr std::string_view kEncode64Alphabet =
    "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789~-";

// Bytes read in order, most significant bit first; each complete 6-bit group gives one
// letter, the remaining bits are shifted to the top of a last 6-bit group; no fill
// characters. 16 bytes give 22 letters.
std::string Encode64(std::span<const unsigned char> bytes);

// A version-4 GUID in memory order: 122 random bits from getrandom, the version and
// variant bits set as a GUID generator sets them. Throws std::runtime_error when the
// kernel gives no random bytes (never falls back to a predictable source).
std::array<unsigned char, 16> NewRandomGuid();

// Encode64 of a new random GUID: 22 characters, safe in URLs and cookies.
std::string NewGuidEncode64();

}  // namespace orv
