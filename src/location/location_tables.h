#pragma once
// The two location tables of the data folder: the address table gives the
// site data of every district, the snow coefficient table the coefficients of
// the snow-depth formula of every snow region. Both are kept as lists of
// lines and split into fields when a line is looked at.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "calc/site_data.h"
#include "location/prefectures.h"

namespace tavilo {

inline constexpr std::string_view kAddressFileName = "Data_Address.csv";
inline constexpr std::string_view kSnowCoefficientFileName = "Data_SnowfallV.csv";
inline constexpr std::string_view kDataFolderName = "Load_data";
// A field of a table's first line that marks the table as sample data: its
// rows show the format, not values that a design may use. An office's own
// tables leave it out.
inline constexpr std::string_view kSampleDataMarker = "見本データ";

// The address table as read: its decoded text and, in file order, the
// lines that can belong to a prefecture (those naming one anywhere) and the
// first line (which may mark the table as sample data). Every other line
// costs nothing beyond its text.
struct AddressTable {
  struct Line {
    std::uint32_t start = 0;  // in `text`
    std::uint32_t size = 0;
    std::size_t index = 0;  // 0-based line number in the file
  };
  std::string text;
  std::vector<Line> lines;
  std::size_t lineCount = 0;  // every line of the file

  std::string_view textOf(const Line& line) const {
    return std::string_view(text).substr(line.start, line.size);
  }
};
// The ordered lines of a table file, line 0 first.
struct SnowCoefficientTable {
  std::vector<std::string> lines;
};

// Splits one table line into its fields: commas separate fields; a field that
// begins with a quote runs to the closing quote (a doubled quote is one quote,
// an unclosed quote runs to the end of the line); outside quotes a blank or a
// control character (codes 1 to 32) ends a field and runs of them are
// skipped; leading blanks of the line are skipped; a trailing comma gives a
// final empty field.
std::vector<std::string> splitFields(std::string_view line);

// The fields joined again with commas; a field holding a comma, a quote, a
// blank or a control character is quoted with inner quotes doubled.
std::string joinFields(const std::vector<std::string>& fields);

struct DistrictList {
  std::vector<std::string> districts;  // file order, duplicates kept
  std::optional<SiteData> first;       // site data of the first district
};

class LocationTables {
 public:
  // dataDir is the folder that holds the two table files.
  explicit LocationTables(std::filesystem::path dataDir);

  const std::filesystem::path& dataDir() const { return dataDir_; }
  const AddressTable& addressTable() const { return address_; }
  const SnowCoefficientTable& snowCoefficientTable() const { return snow_; }
  std::size_t addressLineCount() const { return address_.lineCount; }
  // Whether the table held is marked as sample data (kSampleDataMarker).
  bool addressTableIsSample() const;
  bool snowCoefficientTableIsSample() const;
  // Either table held is marked: site data taken from them are samples.
  bool holdSampleData() const { return addressTableIsSample() || snowCoefficientTableIsSample(); }

  // Reads the address table and answers the districts of "北海道".
  // Throws UserError when the file cannot be read or a line is malformed.
  DistrictList loadAddressTable();
  // What reading the address table found doubtful but used as it stands: a
  // reference wind speed V0 outside the values of the notice, with the file,
  // the lines and the values; empty when nothing. The table is an office's
  // own, so it still loads.
  const std::string& addressTableWarning() const { return addressWarning_; }

  // The districts of the prefecture; the site data come from the first
  // matching line. A malformed line raises UserError.
  DistrictList districtsOfPrefecture(std::string_view prefectureName) const;

  // The site data of the district; the last matching line wins. Nothing when
  // no line matches, so the caller keeps its values. A malformed line of the
  // prefecture raises UserError.
  std::optional<SiteData> lookupDistrict(std::string_view prefectureName,
                                         std::string_view districtName) const;

  // Re-reads the snow coefficient table from disk, then looks the region up.
  // When the file cannot be read the table held so far stays.
  std::optional<SnowCoefficients> loadSnowCoefficients(int snowRegion);

  // Looks the region up in the table held in memory; line 0 is a header and
  // the last matching line wins. A line without an integer region (a blank
  // line included), or a matching line that is short or not numeric, raises
  // UserError.
  std::optional<SnowCoefficients> lookupSnowCoefficients(int snowRegion) const;

 private:
  std::filesystem::path addressPath() const;
  std::filesystem::path snowPath() const;

  std::filesystem::path dataDir_;
  AddressTable address_;
  SnowCoefficientTable snow_;
  std::string addressWarning_;
};

}  // namespace tavilo
