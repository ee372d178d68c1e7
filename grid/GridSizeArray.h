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
    int Total() const { return Sum(0, Count()); }
    // The first index at or after first whose running sum (from first) is not below offset:
    // the index the running sum stops at when sizes from first are added while below offset.
    // Never beyond limit.
    int IndexAtOffset(int first, int offset, int limit) const;

private:
    void Dirty(int from);
    void Update() const;

    std::vector<int> m_sizes;
    // m_prefix[i] = sum of sizes before i; valid up to m_valid.
    mutable std::vector<long long> m_prefix{0};
    mutable std::size_t m_valid = 0;
};
