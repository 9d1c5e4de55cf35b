// Sorting a million lines by a key each within a click's time: a stable
// radix sort of 64-bit keys, so lines with equal keys keep their order and
// no comparison runs for the lines a key alone tells apart.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

struct OrderKey {
    uint64_t key;
    int32_t line;
    int32_t extra;  // whatever the caller needs to tell equal keys apart
};

// Working room for the sort, kept between calls; never filled with zeros
// first, as a vector would be.
struct OrderScratch {
    std::unique_ptr<OrderKey[]> keys;
    size_t size = 0;
};

// `keys[begin, end)` in ascending order of `key`, those with equal keys in
// the order they had.
void sort_order_keys(std::vector<OrderKey>* keys, size_t begin, size_t end, OrderScratch* scratch);

// The bits of `value` as an unsigned number in the order of the values;
// minus zero reads as zero.
uint64_t order_bits(double value);
