#pragma once
// The document information of a finished PDF file (title, author, subject,
// creator, producer, creation date), which a viewer shows as the document's
// properties. The PDF writer of the toolkit sets only a title and a creator;
// the full set is added as an incremental update at the end of the file, the
// standard way of amending a PDF without rewriting it.

#include <chrono>
#include <optional>
#include <string>

namespace tavilo {

struct PdfDocumentInfo {
  std::string title;
  std::string author;
  std::string subject;
  std::string creator;   // the application that made the document
  std::string producer;  // the library that wrote it
  // The moment the document was made, and the local time zone's offset from UTC.
  std::chrono::sys_seconds created{};
  std::chrono::minutes utcOffset{0};
};

// "D:20240305143000+09'00'": a date in the form PDF document information uses.
std::string pdfDate(std::chrono::sys_seconds moment, std::chrono::minutes utcOffset);

// The bytes to append to a complete PDF, as the toolkit writes it, so that it
// carries the information as its document information dictionary; nothing
// when the document is not complete.
std::optional<std::string> pdfDocumentInfoUpdate(const std::string& pdf,
                                                 const PdfDocumentInfo& info);

}  // namespace tavilo
