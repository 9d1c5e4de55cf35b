// Text helpers shared by both tools. Texts are 8-bit ANSI byte strings;
// positions are 1-based and counted in bytes; an absent text is the empty text.
// Everything here is pure except lower_text / upper_text, which follow the
// user's locale on Windows (CharLowerA / CharUpperA) and plain ASCII elsewhere.
#pragma once

#include <cstdint>
#include <string>

constexpr int REPLACE_IGNORE_CASE = 1;
constexpr int REPLACE_IN_PLACE = 2;

int text_length(const std::string& text);
std::string space_text(int count);
int first_char_code(const std::string& text);
std::string left_text(const std::string& text, int count);
std::string mid_text(const std::string& text, int start, int length);
std::string mid_text(const std::string& text, int start);
std::string lower_text(const std::string& text);
std::string upper_text(const std::string& text);
std::string trim_text(const std::string& text);
bool texts_equal(const std::string& a, const std::string& b);
int64_t parse_value(const std::string& text);
// The low 32 bits of parse_value, as every option reader keeps them.
int32_t parse_value32(const std::string& text);
// In-place mode rewrites `text` itself and returns the rewritten text too.
std::string replace_text(std::string& text, const std::string& search,
                         const std::string& replacement, int mode);
std::string replace_text(const std::string& text, const std::string& search,
                         const std::string& replacement, int mode);
int count_substring(const std::string& text, const std::string& pattern);
int find_text(const std::string& text, const std::string& pattern, int start);
std::string number_to_text(int64_t n);

// Case folding a byte at a time through a table of all 256 byte values, so
// that long texts are compared without a folded copy. The ASCII table lowers
// only A-Z: for UTF-8 texts, where folding a byte of a longer character could
// make it stand for another one, and for option words. The ANSI table is
// lower_text of every byte value, so it follows the user's locale on Windows.
const unsigned char* ascii_fold_table();
const unsigned char* ansi_fold_table();

uint32_t red_of(uint32_t v);
uint32_t green_of(uint32_t v);
uint32_t blue_of(uint32_t v);
uint32_t make_rgb(uint32_t r, uint32_t g, uint32_t b);
uint32_t swap_color_bytes(uint32_t v);
