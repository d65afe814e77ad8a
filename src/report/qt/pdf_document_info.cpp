#include "report/qt/pdf_document_info.h"

#include <QString>
#include <algorithm>
#include <fstream>
#include <iterator>
#include <optional>
#include <regex>
#include <sstream>
#include <system_error>

#include "calc/errors.h"

namespace tavilo {
namespace {

// A text string of the information dictionary: UTF-16BE with its byte-order
// mark, written in hexadecimal so that no byte needs escaping.
std::string pdfTextString(const std::string& utf8) {
  const QString text = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
  std::string hex = "<FEFF";
  static constexpr char kHexDigits[] = "0123456789ABCDEF";
  for (const QChar c : text) {
    const unsigned unit = c.unicode();
    for (int shift = 12; shift >= 0; shift -= 4)
      hex += kHexDigits[(unit >> shift) & 0xF];
  }
  return hex + ">";
}

// What the update has to refer to in the file's last trailer.
struct Trailer {
  long long previousXref = 0;
  long long size = 0;
  std::string root;  // "2 0 R"
  int infoObject = 0;
};

std::optional<Trailer> lastTrailer(const std::string& pdf) {
  const auto trailerAt = pdf.rfind("trailer");
  const auto startAt = pdf.rfind("startxref");
  if (trailerAt == std::string::npos || startAt == std::string::npos || startAt < trailerAt)
    return std::nullopt;
  const std::string trailer = pdf.substr(trailerAt, startAt - trailerAt);
  const std::string tail = pdf.substr(startAt);
  std::smatch size;
  std::smatch root;
  std::smatch info;
  std::smatch start;
  if (!std::regex_search(trailer, size, std::regex(R"(/Size\s+(\d+))")) ||
      !std::regex_search(trailer, root, std::regex(R"(/Root\s+(\d+\s+\d+\s+R))")) ||
      !std::regex_search(tail, start, std::regex(R"(startxref\s+(\d+))"))) {
    return std::nullopt;
  }
  Trailer t;
  t.size = std::stoll(size[1]);
  t.root = root[1];
  t.previousXref = std::stoll(start[1]);
  // The information dictionary is replaced under its own number, or added as
  // a new object when the document has none.
  if (std::regex_search(trailer, info, std::regex(R"(/Info\s+(\d+)\s+0\s+R)")))
    t.infoObject = std::stoi(info[1]);
  return t;
}

// A value of 0 to 99 as two digits.
std::string twoDigits(long long v) {
  const std::string digits = std::to_string(v);
  return digits.size() < 2 ? "0" + digits : digits;
}

}  // namespace

std::string pdfDate(std::chrono::sys_seconds moment, std::chrono::minutes utcOffset) {
  using namespace std::chrono;
  const sys_seconds local = moment + utcOffset;
  const sys_days day = floor<days>(local);
  const year_month_day ymd{day};
  const hh_mm_ss time{local - day};
  const long long offset = utcOffset.count();
  const long long magnitude = offset < 0 ? -offset : offset;
  return "D:" + std::to_string(static_cast<int>(ymd.year())) +
         twoDigits(static_cast<unsigned>(ymd.month())) +
         twoDigits(static_cast<unsigned>(ymd.day())) + twoDigits(time.hours().count()) +
         twoDigits(time.minutes().count()) + twoDigits(time.seconds().count()) +
         (offset < 0 ? "-" : "+") + twoDigits(magnitude / 60) + "'" + twoDigits(magnitude % 60) +
         "'";
}

std::optional<std::string> pdfDocumentInfoUpdate(const std::string& pdf,
                                                 const PdfDocumentInfo& info) {
  const std::optional<Trailer> trailer = lastTrailer(pdf);
  if (!trailer)
    return std::nullopt;

  const long long number = trailer->infoObject > 0 ? trailer->infoObject : trailer->size;
  const long long size = std::max(trailer->size, number + 1);
  std::ostringstream object;
  object << "\n"
         << number << " 0 obj\n<<\n"
         << "/Title " << pdfTextString(info.title) << "\n"
         << "/Author " << pdfTextString(info.author) << "\n"
         << "/Subject " << pdfTextString(info.subject) << "\n"
         << "/Creator " << pdfTextString(info.creator) << "\n"
         << "/Producer " << pdfTextString(info.producer) << "\n"
         << "/CreationDate (" << pdfDate(info.created, info.utcOffset) << ")\n"
         << ">>\nendobj\n";
  const std::string body = object.str();
  // The object begins after the leading line break.
  const long long objectOffset = static_cast<long long>(pdf.size()) + 1;
  const long long xrefOffset = static_cast<long long>(pdf.size() + body.size());
  std::string entry = std::to_string(objectOffset);
  entry = std::string(10 - std::min<std::size_t>(10, entry.size()), '0') + entry + " 00000 n \n";

  std::ostringstream update;
  update << body << "xref\n"
         << number << " 1\n"
         << entry << "trailer\n<<\n/Size " << size << "\n/Root " << trailer->root << "\n/Info "
         << number << " 0 R\n/Prev " << trailer->previousXref << "\n>>\nstartxref\n"
         << xrefOffset << "\n%%EOF\n";
  return update.str();
}

}  // namespace tavilo
