#pragma once
// The drawing pieces the program's inline SVG charts share: one plot area across a 1000-unit wide
// view box, a value axis with gridlines, and the shapes, all written as short text.
#include <string>

namespace pt::season {

inline constexpr double kChartWidth = 1000.0;
inline constexpr double kChartLeft = 52.0;
inline constexpr double kChartRight = 985.0;

class ValueAxis {
 public:
  ValueAxis(double low, double high, double top, double bottom, double step);
  double Y(double v) const { return bottom_ - (v - low_) / (high_ - low_) * (bottom_ - top_); }
  double Low() const { return low_; }
  double High() const { return high_; }
  double StepSize() const { return step_; }
  double Top() const { return top_; }
  double Bottom() const { return bottom_; }

 private:
  double low_, high_, top_, bottom_, step_;
};

// 1, 2 or 5 times a power of ten, so that `range` takes about six steps.
double NiceStep(double range);

void Rect(std::string& out, double x0, double y0, double x1, double y1, const char* attributes);
void Text(std::string& out, double x, double y, const char* anchor, const std::string& text);
void Line(std::string& out, double x0, double y0, double x1, double y1, const char* cls);
// <circle ATTRIBUTES cx=".." cy=".." r="RADIUS"/>
void Circle(std::string& out, const std::string& attributes, double x, double y, const char* radius);
// One point of a path: `command` is M, L or a space (a repeated L).
void Point(std::string& out, char command, double x, double y);
std::string Number(const char* format, double v);
// Gridlines across the plot at each step, labelled on the left, and the unit above them.
void ValueGrid(std::string& out, const ValueAxis& axis, const char* unit);
void Frame(std::string& out, const ValueAxis& axis);
void OpenSvg(std::string& out, double height, const char* label);

}  // namespace pt::season
