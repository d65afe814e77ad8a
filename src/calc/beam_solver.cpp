#include "calc/beam_solver.h"

#include "calc/numbers.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace tavilo {
namespace {

constexpr int kDofsPerNode = 3;
constexpr int kMaxDofs = kMaxNodes * kDofsPerNode;

using Vector6 = std::array<double, 6>;
using Matrix6 = std::array<Vector6, 6>;

// Indices into a member's six end values.
constexpr std::size_t kVi = 1;
constexpr std::size_t kMi = 2;
constexpr std::size_t kVj = 4;
constexpr std::size_t kMj = 5;

// End releases, by the member's position in the beam.
enum class Release { kRigid = 0, kPinLeft = 1, kPinRight = 2, kPinBoth = 3 };

Release releaseOf(int member, int count) {
  if (count == 1)
    return Release::kPinBoth;
  if (member == 0)
    return Release::kPinLeft;
  if (member == count - 1)
    return Release::kPinRight;
  return Release::kRigid;
}

int effectiveCount(const BeamModel& model) {
  return std::clamp(model.memberCount, 0, kMaxMembers);
}

bool hasLength(double length) {
  return length > 0 && std::isfinite(length);
}

void addUniform(Vector6& f, double w, double length) {
  f[kVi] += w * length / 2;
  f[kVj] += w * length / 2;
  f[kMi] += w * (length * length) / 12;
  f[kMj] -= w * (length * length) / 12;
}

void addLinear(Vector6& f, double r0, double r1, double length) {
  const double lo = std::min(r0, r1);
  const double hi = std::max(r0, r1);
  const double d = hi - lo;
  addUniform(f, lo, length);
  // The triangular part d takes the shears of a member fixed at both ends,
  // 7dL/20 at the high end and 3dL/20 at the low end, to go with its fixed-end
  // moments dL²/20 and dL²/30. (The simply supported shares dL/3 and dL/6
  // would leave the end forces out of balance by dL/60.)
  const double l2 = length * length;
  if (r0 > r1) {
    f[kVi] += 7 * d * length / 20;
    f[kVj] += 3 * d * length / 20;
    f[kMi] += d * l2 / 20;
    f[kMj] -= d * l2 / 30;
  } else {
    f[kVi] += 3 * d * length / 20;
    f[kVj] += 7 * d * length / 20;
    f[kMi] += d * l2 / 30;
    f[kMj] -= d * l2 / 20;
  }
}

void addPointLoad(Vector6& f, double p, double a, double length) {
  const double b = length - a;
  const double l2 = length * length;
  const double l3 = length * length * length;
  f[kMi] += p * a * (b * b) / l2;
  f[kMj] -= p * (a * a) * b / l2;
  f[kVi] += p * (b * b) * (3 * a + b) / l3;
  f[kVj] += p * (a * a) * (a + 3 * b) / l3;
}

void applyRelease(Vector6& f, Release release, double length) {
  switch (release) {
    case Release::kRigid:
      return;
    case Release::kPinLeft:
      f[kVi] -= 1.5 * f[kMi] / length;
      f[kVj] += 1.5 * f[kMi] / length;
      f[kMj] -= 0.5 * f[kMi];
      f[kMi] = 0;
      return;
    case Release::kPinRight:
      f[kVi] -= 1.5 * f[kMj] / length;
      f[kVj] += 1.5 * f[kMj] / length;
      f[kMi] -= 0.5 * f[kMj];
      f[kMj] = 0;
      return;
    case Release::kPinBoth:
      f[kVi] -= (f[kMi] + f[kMj]) / length;
      f[kVj] += (f[kMi] + f[kMj]) / length;
      f[kMi] = 0;
      f[kMj] = 0;
      return;
  }
}

// The member's equivalent end loads with its releases applied (kept as its
// load vector); zero for a member without length.
Vector6 fixedEndVector(const BeamModel& model, int member, Release release) {
  Vector6 f{};
  const std::size_t k = slot(member);
  const double length = model.spans[k];
  if (!hasLength(length))
    return f;
  addUniform(f, model.lineLoads[k], length);
  const double r0 = model.endIntensities[k][0];
  const double r1 = model.uniformSnow[k] == 1 ? r0 : model.endIntensities[k][1];
  addLinear(f, r0, r1, length);
  const double a1 = model.pointPositions[k][0];
  addPointLoad(f, model.pointLoads[k][0], a1, length);
  addPointLoad(f, model.pointLoads[k][1], a1 + model.pointPositions[k][1], length);
  applyRelease(f, release, length);
  return f;
}

Matrix6 memberStiffness(const BeamModel& model, int member, Release release) {
  Matrix6 k{};
  const std::size_t m = slot(member);
  const double length = model.spans[m];
  if (!hasLength(length) || release == Release::kPinBoth)
    return k;
  const double e = model.youngsModulus;
  const double ei = e * model.inertia[m];
  const double axial = e * model.area[m] / length;
  k[0][0] = axial;
  k[0][3] = -axial;
  k[3][0] = -axial;
  k[3][3] = axial;
  const double l2 = length * length;
  const double l3 = l2 * length;
  auto put = [&k](std::size_t r, std::size_t c, double v) {
    k[r][c] = v;
    k[c][r] = v;
  };
  if (release == Release::kRigid) {
    put(kVi, kVi, 12 * ei / l3);
    put(kVi, kMi, 6 * ei / l2);
    put(kVi, kVj, -12 * ei / l3);
    put(kVi, kMj, 6 * ei / l2);
    put(kMi, kMi, 4 * ei / length);
    put(kMi, kVj, -6 * ei / l2);
    put(kMi, kMj, 2 * ei / length);
    put(kVj, kVj, 12 * ei / l3);
    put(kVj, kMj, -6 * ei / l2);
    put(kMj, kMj, 4 * ei / length);
    return k;
  }
  // A pin at one end: the rotation there carries no stiffness.
  const std::size_t rotation = release == Release::kPinLeft ? kMj : kMi;
  put(kVi, kVi, 3 * ei / l3);
  put(kVi, kVj, -3 * ei / l3);
  put(kVj, kVj, 3 * ei / l3);
  put(kVi, rotation, 3 * ei / l2);
  put(kVj, rotation, -3 * ei / l2);
  put(rotation, rotation, 3 * ei / length);
  return k;
}

bool isFree(int supportCode, int dof) {
  switch (supportCode) {
    case kSupportRoller:
      return dof != 1;
    case kSupportPin:
      return dof == 2;
    case kSupportFixed:
      return false;
    default:
      return true;
  }
}

// Equation number of every degree of freedom: the free ones first, in node
// order; restrained ones get -1 (their displacement is 0).
struct Numbering {
  std::array<int, kMaxDofs> equation{};
  int freeCount = 0;
};

Numbering numberDofs(const BeamModel& model, int nodeCount) {
  Numbering n;
  n.equation.fill(-1);
  for (int node = 0; node < nodeCount; ++node) {
    for (int dof = 0; dof < kDofsPerNode; ++dof) {
      if (isFree(model.supportCodes[slot(node)], dof)) {
        n.equation[slot(node * kDofsPerNode + dof)] = n.freeCount++;
      }
    }
  }
  return n;
}

struct LinearSystem {
  std::array<std::array<double, kMaxDofs + 1>, kMaxDofs> a{};  // augmented: last column is b
  int size = 0;
};

// Gaussian elimination with complete pivoting. The pivot is the first entry
// of largest magnitude in the remaining submatrix, scanning rows then
// columns; a zero pivot gives multiplier 0 and unknown 0, so rotations
// without stiffness (at released member ends) come out as 0.
std::array<double, kMaxDofs> solve(LinearSystem s) {
  const int n = s.size;
  const auto rhs = slot(n);
  std::array<int, kMaxDofs> column{};
  for (int i = 0; i < n; ++i)
    column[slot(i)] = i;
  for (int k = 0; k < n; ++k) {
    int pr = k;
    int pc = k;
    double largest = std::fabs(s.a[slot(k)][slot(k)]);
    for (int r = k; r < n; ++r) {
      for (int c = k; c < n; ++c) {
        const double v = std::fabs(s.a[slot(r)][slot(c)]);
        if (v > largest) {
          largest = v;
          pr = r;
          pc = c;
        }
      }
    }
    std::swap(s.a[slot(k)], s.a[slot(pr)]);
    if (pc != k) {
      for (int r = 0; r < n; ++r)
        std::swap(s.a[slot(r)][slot(k)], s.a[slot(r)][slot(pc)]);
      std::swap(column[slot(k)], column[slot(pc)]);
    }
    const double pivot = s.a[slot(k)][slot(k)];
    for (int r = k + 1; r < n; ++r) {
      const double factor = pivot == 0 ? 0 : s.a[slot(r)][slot(k)] / pivot;
      if (factor == 0)
        continue;
      for (int c = k; c <= n; ++c)
        s.a[slot(r)][slot(c)] -= factor * s.a[slot(k)][slot(c)];
    }
  }
  std::array<double, kMaxDofs> y{};
  for (int k = n - 1; k >= 0; --k) {
    const double pivot = s.a[slot(k)][slot(k)];
    if (pivot == 0)
      continue;
    double sum = s.a[slot(k)][rhs];
    for (int c = k + 1; c < n; ++c)
      sum -= s.a[slot(k)][slot(c)] * y[slot(c)];
    y[slot(k)] = sum / pivot;
  }
  std::array<double, kMaxDofs> x{};
  for (int k = 0; k < n; ++k)
    x[slot(column[slot(k)])] = y[slot(k)];
  return x;
}

// Global degree of freedom of end value e (0..5) of a member.
int globalDof(int member, std::size_t e) {
  return (member + (e < 3 ? 0 : 1)) * kDofsPerNode + static_cast<int>(e % 3);
}

// The overhang loads reach the end members' forces and the end reactions
// only; they are added after assembly so that they leave the rotations and
// the moments over the intermediate supports as they are.
void addOverhangLoads(const BeamModel& model, int count, std::array<Vector6, kMaxMembers>& loads) {
  const double aL = model.leftOverhang;
  const double wl = model.lineLoads[0] + model.endIntensities[0][0];
  loads[0][kVi] += wl * aL;
  loads[0][kMi] += wl * (aL * aL) / 2;
  const std::size_t last = slot(count - 1);
  const double aR = model.rightOverhang;
  const double wr = model.lineLoads[last] + model.endIntensities[last][1];
  loads[last][kVj] += wr * aR;
  loads[last][kMj] += -wr * (aR * aR) / 2;
}

}  // namespace

double roundNodalValue(double value) {
  const double rounded = floorTo(value, 3);
  if (rounded > -0.01 && rounded < 0.01)
    return 0;
  return rounded;
}

BeamResult analyseBeam(const BeamModel& model) {
  BeamResult result;
  const int count = effectiveCount(model);
  if (count == 0)
    return result;
  const int nodeCount = count + 1;

  const Numbering numbering = numberDofs(model, nodeCount);
  LinearSystem system;
  system.size = numbering.freeCount;
  const auto rhs = slot(numbering.freeCount);
  std::array<Vector6, kMaxMembers> loads{};
  std::array<Matrix6, kMaxMembers> stiffness{};
  for (int m = 0; m < count; ++m) {
    const Release release = releaseOf(m, count);
    loads[slot(m)] = fixedEndVector(model, m, release);
    stiffness[slot(m)] = memberStiffness(model, m, release);
    for (std::size_t r = 0; r < 6; ++r) {
      const int row = numbering.equation[slot(globalDof(m, r))];
      if (row < 0)
        continue;
      system.a[slot(row)][rhs] += loads[slot(m)][r];
      for (std::size_t c = 0; c < 6; ++c) {
        const int col = numbering.equation[slot(globalDof(m, c))];
        if (col >= 0)
          system.a[slot(row)][slot(col)] += stiffness[slot(m)][r][c];
      }
    }
  }
  addOverhangLoads(model, count, loads);

  if (count == 1) {
    for (std::size_t e = 0; e < 6; ++e) {
      result.memberEndForces[0][e] = -loads[0][e];
      result.nodalResults[e / 3][e % 3] = -loads[0][e];
    }
    return result;
  }

  const auto unknowns = solve(system);
  for (int m = 0; m < count; ++m) {
    Vector6 displacement{};
    for (std::size_t e = 0; e < 6; ++e) {
      const int eq = numbering.equation[slot(globalDof(m, e))];
      displacement[e] = eq < 0 ? 0 : unknowns[slot(eq)];
    }
    auto& forces = result.memberEndForces[slot(m)];
    for (std::size_t r = 0; r < 6; ++r) {
      double sum = 0;
      for (std::size_t c = 0; c < 6; ++c)
        sum += stiffness[slot(m)][r][c] * displacement[c];
      forces[r] = sum - loads[slot(m)][r];
      result.nodalResults[slot(m) + r / 3][r % 3] += forces[r];
    }
  }
  for (auto& node : result.nodalResults) {
    for (double& v : node)
      v = roundNodalValue(v);
  }
  return result;
}

}  // namespace tavilo
