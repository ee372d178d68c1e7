#include "grid/GridSizeArray.h"

#include <algorithm>
#include <utility>

void CGridSizeArray::Dirty(int from)
{
    m_valid = std::min(m_valid, static_cast<std::size_t>(std::max(from, 0)));
}

void CGridSizeArray::Update() const
{
    if (m_valid == m_sizes.size() && m_prefix.size() == m_sizes.size() + 1)
        return;
    m_prefix.resize(m_sizes.size() + 1);
    m_prefix[0] = 0;
    for (std::size_t i = m_valid; i < m_sizes.size(); ++i)
        m_prefix[i + 1] = m_prefix[i] + m_sizes[i];
    m_valid = m_sizes.size();
}

void CGridSizeArray::Set(int index, int size)
{
    if (m_sizes[static_cast<std::size_t>(index)] == size)
        return;
    m_sizes[static_cast<std::size_t>(index)] = size;
    Dirty(index);
}

void CGridSizeArray::Resize(int count, int size)
{
    Dirty(std::min(count, Count()));
    m_sizes.resize(static_cast<std::size_t>(count), size);
}

void CGridSizeArray::Insert(int index, int size)
{
    m_sizes.insert(m_sizes.begin() + index, size);
    Dirty(index);
}

void CGridSizeArray::Erase(int index)
{
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
    m_valid = 0;
}

int CGridSizeArray::Sum(int first, int last) const
{
    first = std::clamp(first, 0, Count());
    last = std::clamp(last, 0, Count());
    if (last <= first)
        return 0;
    Update();
    return static_cast<int>(m_prefix[static_cast<std::size_t>(last)] - m_prefix[static_cast<std::size_t>(first)]);
}

int CGridSizeArray::IndexAtOffset(int first, int offset, int limit) const
{
    if (first >= limit || first >= Count())
        return first;
    Update();
    const long long target = m_prefix[static_cast<std::size_t>(first)] + offset;
    // The running sum before index i is m_prefix[i]; advance while it is below target.
    const auto begin = m_prefix.begin() + first;
    const auto end = m_prefix.begin() + std::min(limit, Count()) + 1;
    const auto it = std::lower_bound(begin, end, target);
    const int index = static_cast<int>(it - m_prefix.begin());
    return std::min(index, limit);
}
