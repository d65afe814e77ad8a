#pragma once
// The wind and snow loads worked out by hand: the notices' tables retyped and
// their rules applied in a few lines of their own, independent of the
// program's derivations, for the load section and the whole-project section.

#include <array>
#include <string>

#include "calc/codes.h"

namespace tavilo::verification::hand {

// A decimal cut or rounded half up at n places; a value within 1e-9 of a
// step counts as lying on it.
double handFloor(double x, int n);
double handHalfUp(double x, int n);

struct WindSite {
  std::string name;
  int roughness = 3;          // 1..4
  int v0 = 34;                // m/s
  int h1 = 0, h2 = 0, d = 0;  // mm
  RoofClass roofClass = RoofClass::Pitched;
  int shape = 0;      // 0 閉鎖型, 1 風上開放型, 2 風下開放型
  int roofShape = 0;  // canopy: 0 切妻, 1 翼型
};

struct HandWind {
  double theta = 0, h = 0, er = 0, q = 0, gpe = 0, cpe = 0;
  std::array<double, 4> coefficients{};
  int positive = 0, negative = 0;  // Ww+, Ww−
  double wall = 0, overhang = 0;   // Wwall+, Ww− − Wwall+
};

HandWind handWind(const WindSite& site);

struct SnowSite {
  int depth = 0;  // cm
  int rho = 20;
  bool heavy = false;
  int lengthMm = 0;
  int theta = 0;
};

struct HandSnow {
  int plain = 0;  // ρ·d
  bool applies = false;
  double dr = 0, muB = 0, alpha = 0;
  int state = 0;
  int load = 0;  // Ws
};

HandSnow handSnow(const SnowSite& site);

}  // namespace tavilo::verification::hand
