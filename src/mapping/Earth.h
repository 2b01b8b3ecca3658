#pragma once
// The figure of the earth a grid is defined on: a sphere or an ellipsoid
// of revolution, axes in metres.
#include <string>

struct TEarth {
  double a = 0;  // equatorial radius
  double b = 0;  // polar radius; equal to a for a sphere

  static TEarth Sphere(double radius) { return {radius, radius}; }
  static TEarth Ellipsoid(double major, double minor) { return {major, minor}; }

  bool IsSphere() const { return a == b; }
  // Axes a real earth could have (within 3 % of the usual ones), minor
  // not above major. Anything else is a misread or a broken file.
  bool Plausible() const;
  // "+R=..." or "+a=... +b=..." for a PROJ definition.
  std::string ProjParameters() const;
};
