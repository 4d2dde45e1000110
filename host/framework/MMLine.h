#pragma once
// The framework's line: two end points, start and end, in double precision.
#include "host/framework/MMPoint3d.h"

class MMLine {
public:
  MMPoint3d<double> start;
  MMPoint3d<double> end;

  MMLine() = default;
  MMLine(const MMPoint3d<double>& s, const MMPoint3d<double>& e) : start(s), end(e) {}
  MMLine(const MMLine&) = default;
  MMLine& operator=(const MMLine&) = default;
  virtual ~MMLine() = default;

  MMPoint3d<double> Direction() const { return end - start; }
  double Length() const { return (end - start).Length(); }
};
