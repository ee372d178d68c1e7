// How a template's edges move when controls need more room than the template gives them.
#include "HarbinaxCore/EdgeMap.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

TEST(EdgeMap, EdgesMoveOnlyAsFarAsTheRoomNeededPushesThem)
{
    struct SSpan {
        int from;
        int to;
        int need;
    };
    const struct {
        const char* what;
        std::vector<SSpan> spans;
        std::vector<std::pair<int, int>> placed;  // edge, where it goes
    } cases[] = {
        {"room enough: nothing moves", {{0, 10, 0}, {20, 30, 8}}, {{0, 0}, {10, 10}, {20, 20}, {30, 30}}},
        {"a wider control pushes the edges behind it", {{0, 10, 15}, {20, 30, 0}}, {{10, 15}, {20, 25}, {30, 35}}},
        {"the gap between rectangles is kept", {{0, 10, 14}, {13, 20, 0}}, {{10, 14}, {13, 17}, {20, 24}}},
        {"a span across others moves only its far edge",
         {{0, 40, 50}, {20, 30, 0}},
         {{0, 0}, {20, 20}, {30, 30}, {40, 50}}},
        {"needs add up along a row", {{0, 10, 20}, {10, 20, 20}}, {{10, 20}, {20, 40}}},
        {"a span starting at a pushed edge measures from there", {{0, 10, 20}, {15, 25, 15}}, {{15, 25}, {25, 40}}},
        {"the largest need of the spans ending at one edge wins", {{0, 10, 15}, {5, 10, 12}}, {{5, 5}, {10, 17}}},
        {"the first edge stays where it is", {{5, 10, 10}}, {{5, 5}, {10, 15}}},
        {"rows aligned in the template stay aligned", {{0, 10, 18}, {0, 10, 0}, {10, 30, 0}}, {{10, 18}, {30, 38}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        CEdgeMap map;
        map.AddEdge(0);
        for (const SSpan& span : c.spans)
            map.AddSpan(span.from, span.to, span.need);
        map.Solve();
        for (const auto& [edge, placed] : c.placed)
            EXPECT_EQ(map(edge), placed) << "edge " << edge;
    }
}

}  // namespace
