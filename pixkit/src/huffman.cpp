// Canonical Huffman codes limited to 16 bits. Lengths come from an ordinary Huffman tree;
// leaves deeper than 16 are pulled up and the code space is refilled by lengthening the
// deepest shorter codes, which keeps the code complete (Kraft sum exactly 1).
#include "huffman.h"

#include <algorithm>
#include <numeric>
#include <queue>

namespace pixkit::huffman {

int BuildLengths(const uint32_t *frequencies, int count, uint8_t *lengths)
{
    std::fill(lengths, lengths + count, uint8_t{0});
    std::vector<int> used;
    for (int s = 0; s < count; ++s)
        if (frequencies[s] != 0)
            used.push_back(s);
    if (used.size() < 2)
        return static_cast<int>(used.size());

    // Tree nodes: leaves 0..n-1 (in `used` order), inner nodes after them.
    const int n = static_cast<int>(used.size());
    std::vector<uint64_t> weight(2 * n);
    std::vector<int> parent(2 * n, -1);
    using Item = std::pair<uint64_t, int>;
    std::priority_queue<Item, std::vector<Item>, std::greater<Item>> queue;
    for (int i = 0; i < n; ++i) {
        weight[i] = frequencies[used[i]];
        queue.push({weight[i], i});
    }
    int next = n;
    while (queue.size() > 1) {
        const Item a = queue.top();
        queue.pop();
        const Item b = queue.top();
        queue.pop();
        weight[next] = a.first + b.first;
        parent[a.second] = parent[b.second] = next;
        queue.push({weight[next], next});
        ++next;
    }

    // Leaf depths, clamped to kMaxBits, counted per length.
    int lengthCount[kMaxBits + 1] = {};
    for (int i = 0; i < n; ++i) {
        int depth = 0;
        for (int node = i; parent[node] >= 0; node = parent[node])
            ++depth;
        ++lengthCount[std::min(depth, kMaxBits)];
    }
    uint32_t kraft = 0;
    for (int len = 1; len <= kMaxBits; ++len)
        kraft += static_cast<uint32_t>(lengthCount[len]) << (kMaxBits - len);
    while (kraft != (1u << kMaxBits)) {
        // Each step removes one 16-bit code and splits a shorter one into two longer ones.
        --lengthCount[kMaxBits];
        for (int len = kMaxBits - 1; len > 0; --len) {
            if (lengthCount[len] != 0) {
                --lengthCount[len];
                lengthCount[len + 1] += 2;
                break;
            }
        }
        --kraft;
    }

    // The most frequent symbols take the shortest codes.
    std::vector<int> order(n);
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&](int a, int b) { return weight[a] > weight[b]; });
    int position = 0;
    for (int len = 1; len <= kMaxBits; ++len)
        for (int k = 0; k < lengthCount[len]; ++k)
            lengths[used[order[position++]]] = static_cast<uint8_t>(len);
    return n;
}

void BuildCodes(const uint8_t *lengths, int count, uint16_t *codes)
{
    uint32_t lengthCount[kMaxBits + 1] = {};
    for (int s = 0; s < count; ++s)
        ++lengthCount[lengths[s]];
    uint32_t start[kMaxBits + 2] = {};
    for (int len = 1; len <= kMaxBits; ++len)
        start[len + 1] = (start[len] + lengthCount[len]) << 1;
    for (int s = 0; s < count; ++s)
        codes[s] = lengths[s] != 0 ? static_cast<uint16_t>(start[lengths[s]]++) : 0;
}

void Decoder::BuildSingle(int symbol)
{
    single_ = symbol;
    empty_ = false;
}

bool Decoder::Build(const uint8_t *lengths, int count)
{
    single_ = -1;
    std::fill(std::begin(countOfLength_), std::end(countOfLength_), uint16_t{0});
    for (int s = 0; s < count; ++s) {
        if (lengths[s] > kMaxBits)
            return false;
        ++countOfLength_[lengths[s]];
    }
    countOfLength_[0] = 0;
    int64_t left = 1;
    int total = 0;
    for (int len = 1; len <= kMaxBits; ++len) {
        left = (left << 1) - countOfLength_[len];
        if (left < 0)
            return false;   // more codes than the code space holds
        total += countOfLength_[len];
    }
    empty_ = total == 0;
    if (empty_)
        return true;
    if (left != 0)
        return false;       // an incomplete code leaves bit patterns without a symbol

    // Symbols sorted by (length, symbol): the order of the canonical codes.
    uint16_t offset[kMaxBits + 2] = {};
    for (int len = 1; len <= kMaxBits; ++len)
        offset[len + 1] = static_cast<uint16_t>(offset[len] + countOfLength_[len]);
    sortedSymbols_.assign(total, 0);
    for (int s = 0; s < count; ++s)
        if (lengths[s] != 0)
            sortedSymbols_[offset[lengths[s]]++] = static_cast<uint16_t>(s);

    std::fill(std::begin(fast_), std::end(fast_), 0u);
    uint32_t code = 0;
    int index = 0;
    for (int len = 1; len <= kMaxBits; ++len) {
        for (int k = 0; k < countOfLength_[len]; ++k, ++code, ++index) {
            if (len > kFastBits)
                continue;
            const uint32_t first = code << (kFastBits - len);
            const uint32_t entry = (static_cast<uint32_t>(sortedSymbols_[index]) << 5) | len;
            std::fill(fast_ + first, fast_ + first + (1u << (kFastBits - len)), entry);
        }
        code <<= 1;
    }
    return true;
}

int Decoder::Decode(BitReader &reader) const
{
    if (single_ >= 0)
        return single_;
    if (empty_)
        return -1;
    const uint32_t entry = fast_[reader.Peek(kFastBits)];
    if (entry != 0)
        return reader.Skip(entry & 31) ? static_cast<int>(entry >> 5) : -1;

    // Longer codes: walk the canonical code one bit at a time.
    const uint32_t bits = reader.Peek(kMaxBits);
    uint32_t code = 0;
    uint32_t first = 0;
    int index = 0;
    for (int len = 1; len <= kMaxBits; ++len) {
        code |= (bits >> (kMaxBits - len)) & 1;
        const uint32_t count = countOfLength_[len];
        if (code - first < count)
            return reader.Skip(len) ? sortedSymbols_[index + (code - first)] : -1;
        index += count;
        first = (first + count) << 1;
        code <<= 1;
    }
    return -1;
}

} // namespace pixkit::huffman
