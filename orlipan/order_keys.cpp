#include "orlipan/order_keys.h"

#include <cstring>

namespace {

constexpr int ORDER_KEY_PASSES = 8;
constexpr int ORDER_KEY_BUCKETS = 256;

}  // namespace

void sort_order_keys(std::vector<OrderKey>* keys, size_t begin, size_t end, OrderScratch* scratch) {
    const size_t count = end - begin;
    if (count < 2)
        return;
    // Every pass's counts from one read of the keys.
    static thread_local size_t counts[ORDER_KEY_PASSES][ORDER_KEY_BUCKETS];
    std::memset(counts, 0, sizeof counts);
    OrderKey* from = keys->data() + begin;
    for (size_t i = 0; i < count; ++i) {
        uint64_t key = from[i].key;
        for (int pass = 0; pass < ORDER_KEY_PASSES; ++pass)
            ++counts[pass][(key >> (8 * pass)) & 0xFF];
    }
    if (scratch->size < count) {
        scratch->keys.reset(new OrderKey[count]);
        scratch->size = count;
    }
    OrderKey* to = scratch->keys.get();
    bool in_scratch = false;
    for (int pass = 0; pass < ORDER_KEY_PASSES; ++pass) {
        size_t* bucket = counts[pass];
        // A byte that every key shares orders nothing: the pass is skipped,
        // as it is for most high bytes of the numbers in a column.
        if (bucket[(from[0].key >> (8 * pass)) & 0xFF] == count)
            continue;
        size_t start = 0;
        for (int b = 0; b < ORDER_KEY_BUCKETS; ++b) {
            size_t n = bucket[b];
            bucket[b] = start;
            start += n;
        }
        for (size_t i = 0; i < count; ++i)
            to[bucket[(from[i].key >> (8 * pass)) & 0xFF]++] = from[i];
        OrderKey* swap = from;
        from = to;
        to = swap;
        in_scratch = !in_scratch;
    }
    if (in_scratch)
        std::memcpy(keys->data() + begin, from, count * sizeof(OrderKey));
}

uint64_t order_bits(double value) {
    if (value == 0)
        value = 0;
    uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    // Negative values order backwards in their bits: flipping them all puts
    // them below the positive ones, whose sign bit is set to stay above.
    return (bits >> 63) ? ~bits : bits | (uint64_t{1} << 63);
}
