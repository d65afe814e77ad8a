#pragma once
// The diagram section of a calculation: the load figures of its header and
// the blocks of moment and deflection diagrams, each drawn from one sampled
// analysis of a case.

#include <vector>

#include "calc/case_analysis.h"
#include "calc/design_conditions.h"
#include "calc/load_cases.h"

namespace tavilo {

// A span's load for a load figure: line loads in N/mm at both ends, upward positive.
struct SpanLoad {
  double left = 0;
  double right = 0;
  bool uniform = true;
};

struct DiagramHeader {
  CaseLineLoads lineLoads;          // every ratio 1, positive side
  std::vector<SpanLoad> snowLoads;  // snow figure: the snow end intensities per span
  int deadPlusLive = 0;             // N/m²
  int windPositive = 0;             // N/m²
  int windNegative = 0;             // N/m²
};

struct DiagramBlock {
  CaseAnalysis analysis;        // samples stored; diagram-pass deflection and reaction selection
  std::vector<SpanLoad> loads;  // load figure: line load plus snow end intensities per span
  // Root shear of a left overhang: combined load × leftOverhang × 0.001, N per
  // metre of width (the diagram shows it in kN). 0 without a left overhang.
  double leftOverhangRootShear = 0;
  bool additional = false;      // the negative-pressure block after the three main ones
  bool heavySnowBlock = false;  // the additional block of a heavy-snow site
};

struct DiagramSection {
  DiagramHeader header;
  std::vector<DiagramBlock> blocks;  // three main blocks, then the additional one
};
// The header and the four blocks, in report order, from the analyses of
// `cases` (made for the same prepared conditions).
DiagramSection diagramSection(const DesignConditions& prepared, double wallPressure,
                              SampledCases& cases);

}  // namespace tavilo
