// UTF-8 and UTF-16 at the edges of the tools: the wide command line and the
// Unicode window and console calls speak UTF-16, the tools carry UTF-8 bytes.
// A byte sequence that is not UTF-8 reads as U+FFFD, one for each maximal
// piece that could have begun a character (as the system's own conversion
// does), so every byte of the input is accounted for and nothing is dropped.
#pragma once

#include <cstddef>
#include <string>

constexpr char32_t UTF8_REPLACEMENT = 0xFFFD;
constexpr size_t UTF8_BOM_LENGTH = 3;

// The character at [at, end) (at < end): its code point, or UTF8_REPLACEMENT
// for an invalid piece; returns the bytes it takes, at least 1.
size_t decode_utf8(const char* at, const char* end, char32_t* code_point);
// The same within a zero-terminated text, `at` not at its end: the zero is
// no continuation byte, so it ends any sequence before a byte after it is read.
size_t decode_utf8_terminated(const char* at, char32_t* code_point);

std::u16string utf16_from_utf8(const std::string& text);
// The zero-terminated `text` into `out`, at most `capacity` - 1 units and a
// zero, never half a surrogate pair; returns the units written. For a list
// line that the control shows cut to its buffer anyway.
int utf16_from_utf8_into(const char* text, char16_t* out, int capacity);
// An unpaired surrogate becomes U+FFFD.
std::string utf8_from_utf16(const char16_t* text, size_t length);
std::string utf8_from_utf16(const std::u16string& text);

// True when `bytes` begin with the UTF-8 byte-order mark EF BB BF.
bool starts_with_utf8_bom(const char* bytes, size_t size);
