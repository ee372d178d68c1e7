#include "HarbinaxCore/EdgeMap.h"

#include <algorithm>

void CEdgeMap::AddEdge(int edge)
{
    m_edges[edge] = edge;
}

void CEdgeMap::AddSpan(int from, int to, int need)
{
    AddEdge(from);
    AddEdge(to);
    if (need > to - from)
        m_spans.push_back({from, to, need});
}

void CEdgeMap::Solve()
{
    std::sort(m_spans.begin(), m_spans.end(), [](const SSpan& a, const SSpan& b) { return a.to < b.to; });
    auto span = m_spans.begin();
    int previous = 0;
    int placed = 0;
    bool first = true;
    for (auto& [edge, position] : m_edges) {
        position = first ? edge : placed + (edge - previous);
        first = false;
        for (; span != m_spans.end() && span->to == edge; ++span)
            position = std::max(position, m_edges.at(span->from) + span->need);
        previous = edge;
        placed = position;
    }
}

int CEdgeMap::operator()(int edge) const
{
    return m_edges.at(edge);
}
