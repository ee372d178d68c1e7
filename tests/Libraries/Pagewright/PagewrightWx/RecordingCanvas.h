// A canvas that keeps what it is asked to draw, in drawing units. Every character is 10 units
// wide and a line is as high as the font's height.
#pragma once

#include "PagewrightWx/ReportCanvas.h"

#include <cstdlib>
#include <string>
#include <vector>

class CRecordingCanvas : public IReportCanvas {
public:
    struct SCall {
        std::string kind;  // fill, line, clip, unclip, text, image, pixel, frame
        Polygon points;
        ReportColor color = 0;
        int penWidth = 0;
        bool closed = false;
        SCanvasFont font;
        double angle = 0.0;
        std::string text;
    };

    void FillPolygon(const Polygon& points, ReportColor color) override { Add(Call("fill", points, color)); }
    void DrawPolyline(const Polygon& points, ReportColor color, int penWidth, bool closed) override
    {
        SCall call = Call("line", points, color);
        call.penWidth = penWidth;
        call.closed = closed;
        Add(call);
    }
    void SetClipPolygon(const Polygon& points) override { Add(Call("clip", points)); }
    void ResetClip() override { Add(Call("unclip")); }
    STextMetrics MeasureText(const SCanvasFont& font, std::string_view text) override
    {
        STextMetrics metrics;
        metrics.width = static_cast<int>(text.size()) * 10;
        metrics.height = std::abs(font.height);
        metrics.descent = metrics.height / 5;
        metrics.ascent = metrics.height - metrics.descent;
        return metrics;
    }
    void DrawText(const SCanvasFont& font, ReportColor color, SReportPoint origin, double angle,
                  std::string_view text) override
    {
        SCall call = Call("text", {origin}, color);
        call.font = font;
        call.angle = angle;
        call.text = std::string(text);
        Add(call);
    }
    void DrawImage(const CReportImage&, const SReportRect& rect) override
    {
        Add(Call("image", {{rect.left, rect.top}, {rect.right, rect.bottom}}));
    }
    void SetPixel(SReportPoint point, ReportColor color) override { Add(Call("pixel", {point}, color)); }
    // One call per polygon of the region, the thickness as pen width.
    void FrameRegion(const ReportRegion& region, ReportColor color, int thickness) override
    {
        for (const Polygon& polygon : region) {
            SCall call = Call("frame", polygon, color);
            call.penWidth = thickness;
            Add(call);
        }
    }

    // The calls of that kind, in order.
    std::vector<SCall> Of(const std::string& kind) const
    {
        std::vector<SCall> found;
        for (const SCall& call : calls)
            if (call.kind == kind)
                found.push_back(call);
        return found;
    }

    std::vector<SCall> calls;

private:
    static SCall Call(const char* kind, const Polygon& points = Polygon(), ReportColor color = 0)
    {
        SCall call;
        call.kind = kind;
        call.points = points;
        call.color = color;
        return call;
    }
    void Add(SCall call) { calls.push_back(std::move(call)); }
};
