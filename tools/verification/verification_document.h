#pragma once
// The verification document (検証資料): for each kind of result a small
// problem, the value from an independent source (a closed form evaluated
// here, a figure printed in a worked example, a hand calculation written out
// step by step), Tavilo's value from the very functions the program uses,
// and their difference. The rows are built once and then drawn as report
// pages, written as Markdown and asserted by the test suite.

#include <filesystem>
#include <string>
#include <vector>

namespace tavilo::verification {

// Relative difference allowed between a closed form and Tavilo at a sampled
// point.
inline constexpr double kRelativeTolerance = 1e-9;

enum class RowKind {
  kClosedForm,  // two numbers, agreeing within kRelativeTolerance
  kPrinted,     // the printed digits of a worked example, which Tavilo must repeat exactly
  kText,        // a rounding or a formatted text, equal character for character
  kVerdict,     // OK or NG, the same on both sides
};

struct Row {
  std::string item;       // what is compared
  std::string method;     // how the reference value was obtained
  std::string reference;  // the reference value as printed
  std::string program;    // Tavilo's value as printed
  std::string unit;
  RowKind kind = RowKind::kClosedForm;
  // |Tavilo − reference| / |reference| of the numeric rows (the absolute
  // difference when the reference is 0); 0 for texts and verdicts.
  double relativeDifference = 0;
  bool agrees = false;
};

// A closed form against Tavilo; both printed with `decimals` places.
Row closedFormRow(std::string item, std::string method, double reference, double program,
                  int decimals, std::string unit = {});
// A figure printed in a worked example, e.g. "0.83021": Tavilo's value is
// printed with as many places and must read the same.
Row printedRow(std::string item, std::string method, std::string printed, double program,
               std::string unit = {});
Row textRow(std::string item, std::string method, std::string reference, std::string program);
Row verdictRow(std::string item, std::string method, bool referenceOk, bool programOk);

// One small problem: its conditions and hand steps, then its rows.
struct Case {
  std::string title;
  std::string source;  // the governing text or the closed form it rests on
  std::vector<std::string> notes;
  std::vector<Row> rows;
};

struct Section {
  std::string heading;
  std::string introduction;
  std::vector<Case> cases;
};

struct Summary {
  int rows = 0;
  int numericRows = 0;
  int verdictRows = 0;
  double largestRelativeDifference = 0;
  int disagreeing = 0;
  int disagreeingVerdicts = 0;
};

struct Document {
  std::string version;
  std::vector<Section> sections;
  Summary summary() const;
};

// Every section, computed now. `sourceDir` holds examples/ and Load_data/.
Document buildDocument(const std::string& version, const std::filesystem::path& sourceDir);

// The document as Markdown: the same headings, notes and rows as the pages.
std::string markdownOf(const Document& document);

// Fixed decimals, "-0" written as "0".
std::string fixed(double value, int decimals);
// The relative difference as the tables print it.
std::string differenceText(const Row& row);

// ---- Closed forms (uniform load q downward, N/mm; lengths mm; EI N·mm²)
namespace closed {
// Simply supported span: M = qL²/8 at mid-span, δ = 5qL⁴/384EI.
double simpleSpanMoment(double q, double span);
double simpleSpanDeflection(double q, double span, double ei);
// Deflection at x of a span with hogging end moments (positive) under q.
double spanDeflectionAt(double q, double span, double ei, double leftMoment, double rightMoment,
                        double x);
// Sagging moment at x (negative) of a span with hogging end moments.
double spanMomentAt(double q, double span, double leftMoment, double rightMoment, double x);
// Cantilever of length a: root moment qa²/2, tip deflection qa⁴/8EI.
double cantileverMoment(double q, double a);
double cantileverTipDeflection(double q, double a, double ei);
}  // namespace closed

}  // namespace tavilo::verification
