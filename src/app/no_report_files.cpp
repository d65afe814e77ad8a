// The build without Qt draws no report files.

#include "app/report_files.h"

namespace tavilo {

std::unique_ptr<ReportFileWriter> makeReportFileWriter(int&, char**) {
  return nullptr;
}

}  // namespace tavilo
