#include "season/pages/svg_chart.h"

#include <cmath>
#include <cstdio>

#include "season/pages/page_text.h"

namespace pt::season {

ValueAxis::ValueAxis(double low, double high, double top, double bottom, double step)
    : low_(std::floor(low / step) * step), high_(std::ceil(high / step) * step), top_(top), bottom_(bottom),
      step_(step) {
  if (high_ <= low_) high_ = low_ + step_;
}

double NiceStep(double range) {
  if (range <= 0) return 1.0;
  const double rough = range / 6.0;
  const double power = std::pow(10.0, std::floor(std::log10(rough)));
  for (double m : {1.0, 2.0, 5.0}) {
    if (rough <= m * power) return m * power;
  }
  return 10.0 * power;
}

void Rect(std::string& out, double x0, double y0, double x1, double y1, const char* attributes) {
  out += "<rect x=\"";
  AppendCoord(out, x0);
  out += "\" y=\"";
  AppendCoord(out, y0);
  out += "\" width=\"";
  AppendCoord(out, x1 - x0);
  out += "\" height=\"";
  AppendCoord(out, y1 - y0);
  out += "\" ";
  out += attributes;
  out += "/>\n";
}

void Text(std::string& out, double x, double y, const char* anchor, const std::string& text) {
  out += "<text x=\"";
  AppendCoord(out, x);
  out += "\" y=\"";
  AppendCoord(out, y);
  out += "\" text-anchor=\"";
  out += anchor;
  out += "\">";
  AppendHtmlEscaped(out, text);
  out += "</text>\n";
}

void Line(std::string& out, double x0, double y0, double x1, double y1, const char* cls) {
  out += "<path class=\"";
  out += cls;
  out += "\" d=\"M";
  AppendCoord(out, x0);
  out += ',';
  AppendCoord(out, y0);
  out += 'L';
  AppendCoord(out, x1);
  out += ',';
  AppendCoord(out, y1);
  out += "\"/>\n";
}

void Circle(std::string& out, const std::string& attributes, double x, double y, const char* radius) {
  out += "<circle ";
  out += attributes;
  out += " cx=\"";
  AppendCoord(out, x);
  out += "\" cy=\"";
  AppendCoord(out, y);
  out += "\" r=\"";
  out += radius;
  out += "\"/>\n";
}

void Point(std::string& out, char command, double x, double y) {
  out += command;
  AppendCoord(out, x);
  out += ',';
  AppendCoord(out, y);
}

std::string Number(const char* format, double v) {
  char text[64];
  std::snprintf(text, sizeof text, format, v);
  return text;
}

void ValueGrid(std::string& out, const ValueAxis& axis, const char* unit) {
  for (double v = axis.Low(); v <= axis.High() + axis.StepSize() / 2; v += axis.StepSize()) {
    const double y = axis.Y(v);
    Line(out, kChartLeft, y, kChartRight, y, "grid");
    Text(out, kChartLeft - 5, y + 4, "end", Number("%g", v));
  }
  Text(out, 6, axis.Top() - 8, "start", unit);
}


void Frame(std::string& out, const ValueAxis& axis) {
  Rect(out, kChartLeft, axis.Top(), kChartRight, axis.Bottom(), "class=\"frame\"");
}

void OpenSvg(std::string& out, double height, const char* label) {
  out += "<svg viewBox=\"0 0 ";
  AppendCoord(out, kChartWidth);
  out += ' ';
  AppendCoord(out, height);
  out += "\" role=\"img\" aria-label=\"";
  out += label;
  out += "\">\n";
}

}  // namespace pt::season
