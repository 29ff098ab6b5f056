// Length-limited prefix codes by package-merge (Larmore and Hirschberg): the
// coin collector's problem over denominations 2^-1 .. 2^-maxLength. Each list
// holds the leaves (symbols with weight, sorted by weight) merged with the
// pairwise packages of the previous list; the first 2n - 2 items of the last
// list, expanded back into leaves, give every symbol's code length as the
// number of times it appears. With at most 256 symbols and 16 levels the lists
// stay tiny, so items are kept as plain records and expanded recursively.

#include "payload/encoder_prefix_code.h"

#include <algorithm>
#include <stdexcept>
#include <vector>

namespace upd {
namespace {

struct Item {
  uint64_t weight;
  int symbol;  // a leaf's symbol, or -1 for the package of items 2*child and 2*child+1 of the list before
  int child;
};

void CountLeaves(const std::vector<std::vector<Item>>& lists, int level, int index, CodeLengths& lengths) {
  const Item& item = lists[level][index];
  if (item.symbol >= 0) {
    ++lengths[item.symbol];
    return;
  }
  CountLeaves(lists, level - 1, 2 * item.child, lengths);
  CountLeaves(lists, level - 1, 2 * item.child + 1, lengths);
}

}  // namespace

CodeLengths LengthLimitedCodeLengths(const SymbolWeights& weights, int maxLength) {
  if (maxLength < 1 || maxLength > kMaxPrefixCodeLength)
    throw std::invalid_argument("prefix code length limit must be 1 to 16");

  std::vector<Item> leaves;
  for (int s = 0; s < 256; ++s)
    if (weights[s] > 0) leaves.push_back({weights[s], s, 0});

  CodeLengths lengths{};
  if (leaves.size() < 2) {
    // One symbol (or none) in use: two one-bit codes, the second for a symbol
    // that never occurs, because a container needs at least two codes.
    int used = leaves.empty() ? 0 : leaves[0].symbol;
    lengths[used] = 1;
    lengths[used == 0 ? 1 : 0] = 1;
    return lengths;
  }
  std::stable_sort(leaves.begin(), leaves.end(),
                   [](const Item& a, const Item& b) { return a.weight < b.weight; });
  if (leaves.size() > (size_t{1} << maxLength))
    throw std::invalid_argument("too many symbols for the code length limit");

  std::vector<std::vector<Item>> lists;
  lists.push_back(leaves);
  for (int level = 1; level < maxLength; ++level) {
    const std::vector<Item>& previous = lists.back();
    std::vector<Item> packages;
    for (size_t i = 0; i + 1 < previous.size(); i += 2)
      packages.push_back({previous[i].weight + previous[i + 1].weight, -1, static_cast<int>(i / 2)});
    std::vector<Item> merged;
    merged.reserve(leaves.size() + packages.size());
    // Leaves first among equal weights: any order gives an optimal code.
    std::merge(leaves.begin(), leaves.end(), packages.begin(), packages.end(), std::back_inserter(merged),
               [](const Item& a, const Item& b) { return a.weight < b.weight; });
    lists.push_back(std::move(merged));
  }
  const int last = static_cast<int>(lists.size()) - 1;
  const int take = 2 * static_cast<int>(leaves.size()) - 2;
  for (int i = 0; i < take; ++i) CountLeaves(lists, last, i, lengths);
  return lengths;
}

std::array<uint16_t, 256> AssignPrefixCodes(const CodeLengths& lengths) {
  std::array<int, kMaxPrefixCodeLength + 2> count{};
  for (uint8_t l : lengths) ++count[l];
  count[0] = 0;
  std::array<uint32_t, kMaxPrefixCodeLength + 2> next{};
  uint32_t code = 0;
  for (int l = 1; l <= kMaxPrefixCodeLength; ++l) {
    code = (code + count[l - 1]) << 1;
    next[l] = code;
  }
  std::array<uint16_t, 256> codes{};
  for (int s = 0; s < 256; ++s)
    if (lengths[s] > 0) codes[s] = static_cast<uint16_t>(next[lengths[s]]++);
  return codes;
}

}  // namespace upd
