// Row heights or column widths, with running sums kept for the geometry: the offset of a row
// and the row at an offset are found without walking every row before it.
#pragma once

#include <cstddef>
#include <vector>

class CGridSizeArray {
public:
    int Count() const { return static_cast<int>(m_sizes.size()); }
    int Get(int index) const { return m_sizes[static_cast<std::size_t>(index)]; }
    void Set(int index, int size);
    void Resize(int count, int size);
    void Insert(int index, int size);
    void Erase(int index);
    void Swap(int a, int b);
    void Clear();

    // Sum of the sizes from first up to (not including) last.
    int Sum(int first, int last) const;
    int Total() const { return static_cast<int>(m_total); }
    // The first index at or after first whose running sum (from first) is not below offset:
    // the index the running sum stops at when sizes from first are added while below offset.
    // Never beyond limit.
    int IndexAtOffset(int first, int offset, int limit) const;

private:
    void Dirty(int from);
    // Makes m_prefix valid up to and including index upTo.
    void Update(std::size_t upTo) const;
    // Sum of the sizes before index.
    long long Before(int index) const;

    std::vector<int> m_sizes;
    // Kept as sizes change, so that the whole extent costs nothing after a change near the top
    // (the scroll bars ask for it after every one).
    long long m_total = 0;
    // m_prefix[i] = sum of sizes before i; valid up to m_valid, worked out only as far as asked.
    mutable std::vector<long long> m_prefix{0};
    mutable std::size_t m_valid = 0;
};
