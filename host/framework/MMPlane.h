#pragma once
// The framework's plane: a point on it and its normal, in double precision.
#include "host/framework/MMPlaneEq.h"
#include "host/framework/MMPoint3d.h"

class MMPlane {
public:
  MMPoint3d<double> origin;
  MMPoint3d<double> normal{0.0, 0.0, 1.0};

  MMPlane() = default;
  MMPlane(const MMPoint3d<double>& o, const MMPoint3d<double>& n) : origin(o), normal(n) {}
  MMPlane(const MMPlane&) = default;
  MMPlane& operator=(const MMPlane&) = default;
  virtual ~MMPlane() = default;

  // The equation of the plane with its normal as given (not normalised).
  MMPlaneEq<double> Equation() const { return {normal.x, normal.y, normal.z, -normal.Dot(origin)}; }
};
