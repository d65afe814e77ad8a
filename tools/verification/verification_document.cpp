#include "verification_document.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <utility>

namespace tavilo::verification {
namespace {

double relativeDifferenceOf(double reference, double program) {
  const double difference = std::fabs(program - reference);
  return reference == 0 ? difference : difference / std::fabs(reference);
}

int decimalsOf(const std::string& printed) {
  const auto point = printed.find('.');
  return point == std::string::npos ? 0 : static_cast<int>(printed.size() - point - 1);
}

std::string okText(bool ok) {
  return ok ? "OK" : "NG";
}

}  // namespace

std::string fixed(double value, int decimals) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.*f", decimals, value);
  std::string text = buffer;
  if (text.starts_with('-') && text.find_first_not_of("-0.") == std::string::npos)
    text.erase(0, 1);
  return text;
}

std::string differenceText(const Row& row) {
  if (row.kind == RowKind::kText || row.kind == RowKind::kVerdict)
    return "―";
  if (row.relativeDifference == 0)
    return "0";
  // Binary noise far below the tolerance prints as its order only, so that
  // the committed document does not move with it.
  if (row.relativeDifference < 1e-12)
    return "<1e-12";
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.1e", row.relativeDifference);
  return buffer;
}

Row closedFormRow(std::string item, std::string method, double reference, double program,
                  int decimals, std::string unit) {
  Row row{std::move(item),          std::move(method), fixed(reference, decimals),
          fixed(program, decimals), std::move(unit),   RowKind::kClosedForm};
  row.relativeDifference = relativeDifferenceOf(reference, program);
  row.agrees = row.relativeDifference <= kRelativeTolerance;
  return row;
}

Row printedRow(std::string item, std::string method, std::string printed, double program,
               std::string unit) {
  const double reference = std::stod(printed);
  std::string programText = fixed(program, decimalsOf(printed));
  Row row{std::move(item),        std::move(method), std::move(printed),
          std::move(programText), std::move(unit),   RowKind::kPrinted};
  row.relativeDifference = relativeDifferenceOf(reference, program);
  row.agrees = row.reference == row.program;
  return row;
}

Row textRow(std::string item, std::string method, std::string reference, std::string program) {
  Row row{std::move(item), std::move(method), std::move(reference), std::move(program), {},
          RowKind::kText};
  row.agrees = row.reference == row.program;
  return row;
}

Row verdictRow(std::string item, std::string method, bool referenceOk, bool programOk) {
  Row row{std::move(item),  std::move(method), okText(referenceOk), okText(programOk), {},
          RowKind::kVerdict};
  row.agrees = referenceOk == programOk;
  return row;
}

Summary Document::summary() const {
  Summary s;
  for (const Section& section : sections) {
    for (const Case& c : section.cases) {
      for (const Row& row : c.rows) {
        ++s.rows;
        if (row.kind == RowKind::kClosedForm || row.kind == RowKind::kPrinted) {
          ++s.numericRows;
          s.largestRelativeDifference =
              std::max(s.largestRelativeDifference, row.relativeDifference);
        }
        if (row.kind == RowKind::kVerdict) {
          ++s.verdictRows;
          if (!row.agrees)
            ++s.disagreeingVerdicts;
        }
        if (!row.agrees)
          ++s.disagreeing;
      }
    }
  }
  return s;
}

namespace closed {

double simpleSpanMoment(double q, double span) {
  return q * span * span / 8;
}

double simpleSpanDeflection(double q, double span, double ei) {
  return 5 * q * std::pow(span, 4) / (384 * ei);
}

double spanDeflectionAt(double q, double span, double ei, double leftMoment, double rightMoment,
                        double x) {
  const double l = span;
  const double load = q * x * (l * l * l - 2 * l * x * x + x * x * x) / (24 * ei);
  const double left = leftMoment * x * (l - x) * (2 * l - x) / (6 * ei * l);
  const double right = rightMoment * x * (l * l - x * x) / (6 * ei * l);
  return load - left - right;
}

double spanMomentAt(double q, double span, double leftMoment, double rightMoment, double x) {
  return leftMoment * (1 - x / span) + rightMoment * x / span - q * x * (span - x) / 2;
}

double cantileverMoment(double q, double a) {
  return q * a * a / 2;
}

double cantileverTipDeflection(double q, double a, double ei) {
  return q * std::pow(a, 4) / (8 * ei);
}

}  // namespace closed

}  // namespace tavilo::verification
