// Where the edges of a dialog template's rectangles go along one axis when controls need more
// room than the template gives them: every edge as far as before at least, and further where a
// control between two edges needs more. Edges keep their order and the distances between them
// grow only, so rectangles apart in the template stay apart and rectangles aligned stay aligned.
#pragma once

#include <map>
#include <vector>

class CEdgeMap {
public:
    // An edge that moves only as the edges before it push it.
    void AddEdge(int edge);
    // The edges of a rectangle from..to (to > from) and the room its control needs between them.
    void AddSpan(int from, int to, int need);
    // Places every edge; the first stays where it is.
    void Solve();
    // Where an edge given before Solve goes.
    int operator()(int edge) const;

private:
    struct SSpan {
        int from;
        int to;
        int need;
    };
    std::map<int, int> m_edges;
    std::vector<SSpan> m_spans;
};
