#include "grid/GridSizeArray.h"

#include <algorithm>
#include <utility>

void CGridSizeArray::Dirty(int from)
{
    m_valid = std::min(m_valid, static_cast<std::size_t>(std::max(from, 0)));
    m_prefix.resize(m_sizes.size() + 1);
}

void CGridSizeArray::Update(std::size_t upTo) const
{
    m_prefix[0] = 0;
    for (std::size_t i = m_valid; i < upTo; ++i)
        m_prefix[i + 1] = m_prefix[i] + m_sizes[i];
    m_valid = std::max(m_valid, upTo);
}

long long CGridSizeArray::Before(int index) const
{
    if (index >= Count())
        return m_total;
    Update(static_cast<std::size_t>(index));
    return m_prefix[static_cast<std::size_t>(index)];
}

void CGridSizeArray::Set(int index, int size)
{
    int& stored = m_sizes[static_cast<std::size_t>(index)];
    if (stored == size)
        return;
    m_total += size - stored;
    stored = size;
    Dirty(index);
}

void CGridSizeArray::Resize(int count, int size)
{
    for (int i = count; i < Count(); ++i)
        m_total -= m_sizes[static_cast<std::size_t>(i)];
    if (count > Count())
        m_total += static_cast<long long>(count - Count()) * size;
    const int from = std::min(count, Count());
    m_sizes.resize(static_cast<std::size_t>(count), size);
    Dirty(from);
}

void CGridSizeArray::Insert(int index, int size)
{
    m_sizes.insert(m_sizes.begin() + index, size);
    m_total += size;
    Dirty(index);
}

void CGridSizeArray::Erase(int index)
{
    m_total -= m_sizes[static_cast<std::size_t>(index)];
    m_sizes.erase(m_sizes.begin() + index);
    Dirty(index);
}

void CGridSizeArray::Swap(int a, int b)
{
    std::swap(m_sizes[static_cast<std::size_t>(a)], m_sizes[static_cast<std::size_t>(b)]);
    if (m_sizes[static_cast<std::size_t>(a)] != m_sizes[static_cast<std::size_t>(b)])
        Dirty(std::min(a, b));
}

void CGridSizeArray::Clear()
{
    m_sizes.clear();
    m_total = 0;
    Dirty(0);
}

int CGridSizeArray::Sum(int first, int last) const
{
    first = std::clamp(first, 0, Count());
    last = std::clamp(last, 0, Count());
    if (last <= first)
        return 0;
    return static_cast<int>(Before(last) - Before(first));
}

int CGridSizeArray::IndexAtOffset(int first, int offset, int limit) const
{
    if (first >= limit || first >= Count())
        return first;
    const int end = std::min(limit, Count());
    Update(static_cast<std::size_t>(end));
    const long long target = m_prefix[static_cast<std::size_t>(first)] + offset;
    // The running sum before index i is m_prefix[i]; advance while it is below target.
    const auto begin = m_prefix.begin() + first;
    const auto it = std::lower_bound(begin, m_prefix.begin() + end + 1, target);
    const int index = static_cast<int>(it - m_prefix.begin());
    return std::min(index, limit);
}
