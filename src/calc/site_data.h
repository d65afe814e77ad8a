#pragma once
// The site values of the chosen district and the snow-depth coefficients of
// its snow region, as the location tables answer them.

namespace tavilo {

struct SiteData {
  int snowRegion = 4;              // key into the snow coefficient table
  int windSpeedV0 = 0;             // m/s
  int altitude = 0;                // m; negative when the table gives none
  int snowDepth = 0;               // cm; negative when the table gives none
  bool hasLocalSnowRules = false;  // the prefecture or municipality has its own snow rules
};

struct SnowCoefficients {
  double alpha = 0;  // m of depth per m of altitude
  double beta = 0;   // m of depth per unit of sea ratio
  double gamma = 0;  // m
  int radiusR = 0;   // km, shown only
};

}  // namespace tavilo
