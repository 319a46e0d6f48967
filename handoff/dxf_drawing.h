// SPDX-License-Identifier: GPL-3.0-or-later
// A drawing for CAD as DXF (AutoCAD 2000, the version every CAD program
// reads), written through dxflib: lines, arcs, polylines and single-line
// texts in metres at 1:1, on layers named for what they hold. The file's
// code page is ANSI_936 (GBK), as Chinese AutoCAD writes it: Chinese goes in
// as GBK, and any character GBK lacks as \U+XXXX, which AutoCAD, LibreCAD
// and ezdxf decode in texts.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

namespace veltrane::handoff {

// The layers every drawing has, in this order.
enum class Layer { Section, Water, Marks, Texts };
inline constexpr std::string_view kLayerNames[] = {"断面", "水面", "标注", "文字"};

enum class Align { Left, Centre, Right };

// A text as DXF carries it, from UTF-8: ASCII as it is, other characters in
// GBK, and those GBK lacks, with the backslash and per cent sign that would
// start a code, as \U+XXXX; line breaks and other control characters as
// U+FFFD, broken UTF-8 likewise. At most kLongestText bytes, ended by "…"
// where it is cut.
std::string DxfText(std::string_view utf8);
inline constexpr std::size_t kLongestText = 2049;  // bytes, as AutoCAD 2000 reads a value

using Point = std::pair<double, double>;  // x, y in m

class DxfDrawing {
  public:
    void Line(Layer layer, Point from, Point to, bool dashed = false);
    // Counter-clockwise from angle1 to angle2, degrees from the x axis.
    void Arc(Layer layer, Point centre, double radius, double angle1, double angle2);
    void Polyline(Layer layer, const std::vector<Point>& points, bool dashed = false);
    void Text(Point at, double height, std::string_view text, Align align = Align::Left);

    // The whole file.
    std::string Write() const;

  private:
    struct LineEntity {
        Layer layer;
        Point from, to;
        bool dashed;
    };
    struct ArcEntity {
        Layer layer;
        Point centre;
        double radius, angle1, angle2;
    };
    struct PolylineEntity {
        Layer layer;
        std::vector<Point> points;
        bool dashed;
    };
    struct TextEntity {
        Point at;
        double height;
        std::string text;
        Align align;
    };
    std::vector<std::variant<LineEntity, ArcEntity, PolylineEntity, TextEntity>> entities_;
};

}  // namespace veltrane::handoff
