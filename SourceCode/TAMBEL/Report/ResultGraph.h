// One curve of a sized device (velocity, pressure loss, error or Reynolds number over flow) as
// report mark-up: grid lines, axes with ticks and labels, unit labels, a caption and the curve,
// as "line" and "text" elements that a report page takes as its content. Report templates ask
// for a chart with a graph marker line; the results page builds one for its preview.
#pragma once

#include "CommonFiles/ResultItem.h"

#include <string>
#include <vector>

// Report units, y growing downwards.
struct SGraphRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

struct SColor {
    int red, green, blue;
};

class CResultGraph {
public:
    CResultGraph() { Reset(); }

    // A text under the plot; callers give one for the error curve. It wraps within its box of
    // the plot's width and is set smaller where its lines would not fit.
    void SetCaption(const std::string& caption) { m_caption = caption; }

    // What a chart in the plot rectangle covers: the plot and the caption's room below it.
    static SGraphRect GetExtent(const SGraphRect& plot);

    // The mark-up of the row's yColumn (1 to 4) over its flow in the plot rectangle; empty for a
    // row without (finite) points. Points with a value that is not a finite number are left out.
    std::string Build(const CResultItem& row, const SGraphRect& plot, int yColumn);

    // Where the axes lie, after Build.
    const SGraphRect& GetInnerRect() const { return m_inner; }

    // Significant digits of the axis labels for a magnitude.
    static int GetLabelDigits(double magnitude);
    // Whether tick index of count ticks is a major one (labelled) on the x or the y axis.
    static bool IsMajorTick(int index, int count, bool xAxis);

private:
    void Reset();
    void BuildLayout();
    void BuildGrid();
    void BuildAxes();
    void BuildCurve();

    bool IsEvenlySpaced(int column) const;
    std::vector<double> GetTicks(int column, double lo, double hi) const;
    int MapX(double v) const;
    int MapY(double v) const;
    std::string FormatLabel(double v, int column, int digits) const;
    void AddLine(int x, int y, int x2, int y2, const SColor& color, int penWidth);
    // flags: further attributes, each with a leading blank.
    void AddText(int x, int y, int width, int height, const char* align, const std::string& text,
                 const char* flags = "");
    void AddXLabel(double v);
    void AddYLabel(double v);

    CResultItem m_row;
    SGraphRect m_plot;
    int m_xColumn = RESULT_COLUMN_FLOW;
    int m_yColumn = -1;
    SGraphRect m_inner;
    int m_xDigits = -1;
    int m_yDigits = -1;
    double m_xMin = 0.0;
    double m_xMax = 0.0;
    double m_yMin = 0.0;
    double m_yMax = 0.0;
    std::string m_caption;
    std::string m_markup;
};

// The template text with every line followed by a line feed and, after each graph marker line
// of a known kind, the chart of the row in the marker's rectangle. errorCaption goes under the
// error curve.
std::string InsertResultGraphs(const std::string& templateText, const CResultItem& row,
                               const std::string& errorCaption);
