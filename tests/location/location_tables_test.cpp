#include "location/location_tables.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "../support/scratch_folder.h"
#include "calc/errors.h"
#include "persistence/text_file.h"

namespace tavilo {

// Field-by-field equality and printing of the site data, for the checks below.
bool operator==(const SiteData& a, const SiteData& b) {
  return a.snowRegion == b.snowRegion && a.windSpeedV0 == b.windSpeedV0 &&
         a.altitude == b.altitude && a.snowDepth == b.snowDepth &&
         a.hasLocalSnowRules == b.hasLocalSnowRules;
}
void PrintTo(const SiteData& s, std::ostream* out) {
  *out << "{" << s.snowRegion << ", " << s.windSpeedV0 << ", " << s.altitude << ", " << s.snowDepth
       << ", " << s.hasLocalSnowRules << "}";
}

namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using Lines = std::vector<std::string>;

TEST(SplitFields, FollowsTheCommaTextRule) {
  EXPECT_THAT(splitFields("1,ｻｯﾎﾟﾛ,北海道,札幌市"), ElementsAre("1", "ｻｯﾎﾟﾛ", "北海道", "札幌市"));
  EXPECT_THAT(splitFields(R"("a, b","say ""hi""",c)"), ElementsAre("a, b", R"(say "hi")", "c"));
  EXPECT_THAT(splitFields("  a ,  b"), ElementsAre("a", "b"));    // blanks around fields skipped
  EXPECT_THAT(splitFields("a b,c"), ElementsAre("a", "b", "c"));  // an unquoted blank splits
  EXPECT_THAT(splitFields("a,,b"), ElementsAre("a", "", "b"));
  EXPECT_THAT(splitFields("a,"), ElementsAre("a", ""));
  EXPECT_THAT(splitFields(","), ElementsAre("", ""));
  EXPECT_THAT(splitFields("a, "), ElementsAre("a"));  // the comma is not the last character
  EXPECT_THAT(splitFields(R"("ab"cd,e)"), ElementsAre("ab", "cd", "e"));
  EXPECT_THAT(splitFields(R"(a,"b,c ""d)"), ElementsAre("a", R"(b,c "d)"));  // unclosed quote
  EXPECT_TRUE(splitFields("").empty());
  EXPECT_TRUE(splitFields(" \t ").empty());
  // Only codes 1 to 32 end a field; a NUL character is part of it.
  EXPECT_THAT(splitFields(std::string("a\0b,c", 5)), ElementsAre(std::string("a\0b", 3), "c"));
}

TEST(JoinFields, QuotesFieldsThatWouldSplit) {
  EXPECT_EQ(joinFields({"a", "", "b c", "d,e", R"(f"g)", "h\ti", "東京都"}),
            R"(a,,"b c","d,e","f""g","h	i",東京都)");
  const Lines fields = {"x y", "", R"(")", "z"};
  EXPECT_EQ(splitFields(joinFields(fields)), fields);
}

class LocationTablesTest : public ::testing::Test {
 protected:
  void SetUp() override { dir_ = testing::makeScratchFolder("tavilo_location"); }
  void TearDown() override { fs::remove_all(dir_); }

  void writeAddress(const Lines& lines) const { writeTextLines(dir_ / "Data_Address.csv", lines); }
  void writeSnow(const Lines& lines) const { writeTextLines(dir_ / "Data_SnowfallV.csv", lines); }

  template <typename Call>
  static std::string errorOf(Call call) {
    try {
      call();
    } catch (const UserError& error) {
      return error.what();
    }
    return "no error";
  }

  fs::path dir_;
};

const Lines kAddress = {
    "番号,よみ,都道府県,地区,積雪区域,V0,標高,積雪量,細則,県コード,市コード,住所",
    "1,ｻｯﾎﾟﾛ,北海道,札幌市,3,32,17,140,0,01,01100,北海道札幌市中央区",
    "2,ｵﾀﾙ,北海道,小樽市,3,34,-1,-1,9,01,01203,北海道小樽市花園",
    "3,ｵﾀﾙ,北海道,小樽市,2,36,5,180,0,01,01203,北海道小樽市色内",
    "4,ｱｵﾓﾘ,青森県,青森市,5,34,3,150,9,02,02201,青森県青森市中央",
    "5,ﾄｳｷｮｳ,東京都,\"千代田区, 丸の内\",35,34,6,30,0,13,13101,東京都千代田区",
    "6,ﾌｸｼﾏ,福島県,福島市,17,30,67,50,0,07,07201,\"福島県福島市 (宮城県境)\"",
};

TEST_F(LocationTablesTest, DistrictsOfAPrefectureInFileOrder) {
  writeAddress(kAddress);
  LocationTables tables(dir_);
  const auto hokkaido = tables.loadAddressTable();
  EXPECT_EQ(tables.addressLineCount(), kAddress.size());
  // The header holds no prefecture name and is never a district.
  EXPECT_THAT(hokkaido.districts, ElementsAre("札幌市", "小樽市", "小樽市"));
  EXPECT_EQ(hokkaido.first, (SiteData{3, 32, 17, 140, false}));

  EXPECT_THAT(tables.districtsOfPrefecture("東京都").districts, ElementsAre("千代田区, 丸の内"));
  EXPECT_EQ(tables.lookupDistrict("東京都", "千代田区, 丸の内"), (SiteData{35, 34, 6, 30, false}));

  // The address field of a Fukushima line names Miyagi: it is listed there too.
  const auto miyagi = tables.districtsOfPrefecture("宮城県");
  EXPECT_THAT(miyagi.districts, ElementsAre("福島市"));
  EXPECT_EQ(miyagi.first, (SiteData{17, 30, 67, 50, false}));

  const auto empty = tables.districtsOfPrefecture("沖縄県");
  EXPECT_TRUE(empty.districts.empty());
  EXPECT_FALSE(empty.first.has_value());
}

TEST_F(LocationTablesTest, FirstMatchListsLastMatchSelects) {
  writeAddress({kAddress[2], kAddress[3], kAddress[1]});
  LocationTables tables(dir_);
  const auto hokkaido = tables.loadAddressTable();
  // Listing takes the first line of the prefecture, negative values unchanged.
  EXPECT_EQ(hokkaido.first, (SiteData{3, 34, -1, -1, true}));
  // Selecting a duplicate name applies the last such line.
  EXPECT_EQ(tables.lookupDistrict("北海道", "小樽市"), (SiteData{2, 36, 5, 180, false}));
  EXPECT_EQ(tables.lookupDistrict("北海道", "札幌市"), (SiteData{3, 32, 17, 140, false}));
  EXPECT_FALSE(tables.lookupDistrict("青森県", "小樽市").has_value());
  EXPECT_FALSE(tables.lookupDistrict("北海道", "小樽").has_value());
}

const Lines kSnow = {
    "4,α,β,γ,R",  // a header whose first field is a valid region
    "1,0.0005,0.12,0.21,40",
    "4,0.0011,-0.0025,0.64,20",
    "4,0.0015,1e-2,-.5,5",
};

TEST_F(LocationTablesTest, SnowCoefficientsSkipTheHeaderAndTakeTheLastMatch) {
  writeSnow(kSnow);
  LocationTables tables(dir_);
  const auto four = tables.loadSnowCoefficients(4);
  ASSERT_TRUE(four.has_value());
  EXPECT_DOUBLE_EQ(four->alpha, 0.0015);
  EXPECT_DOUBLE_EQ(four->beta, 0.01);
  EXPECT_DOUBLE_EQ(four->gamma, -0.5);
  EXPECT_EQ(four->radiusR, 5);
  EXPECT_EQ(tables.lookupSnowCoefficients(1)->radiusR, 40);
  EXPECT_FALSE(tables.lookupSnowCoefficients(2).has_value());

  // Only the load reads the file again.
  writeSnow({kSnow[0], "2,0.001,0,0,10"});
  EXPECT_FALSE(tables.lookupSnowCoefficients(2).has_value());
  EXPECT_EQ(tables.loadSnowCoefficients(2)->radiusR, 10);
  EXPECT_FALSE(tables.lookupSnowCoefficients(4).has_value());
  writeSnow({"4,0.1,0.2,0.3,9"});  // a header line alone holds no data
  EXPECT_FALSE(tables.loadSnowCoefficients(4).has_value());
}

TEST_F(LocationTablesTest, Cp932AndUtf8WithMarkGiveTheSameAnswers) {
  const Lines lines = {"1,ｶﾅ,北海道,Ⅰ地区,1,30,10,100,0", "2,ｶﾅ,北海道,Ⅳ地区㎡,2,32,20,200,9"};
  writeAddress(lines);
  LocationTables cp932(dir_);
  const auto fromCp932 = cp932.loadAddressTable();
  EXPECT_THAT(fromCp932.districts, ElementsAre("Ⅰ地区", "Ⅳ地区㎡"));

  std::ofstream(dir_ / "Data_Address.csv", std::ios::binary) << "\xEF\xBB\xBF" << lines[0] << "\n"
                                                             << lines[1] << "\n";
  LocationTables utf8(dir_);
  const auto fromUtf8 = utf8.loadAddressTable();
  EXPECT_EQ(fromUtf8.districts, fromCp932.districts);
  EXPECT_EQ(utf8.lookupDistrict("北海道", "Ⅳ地区㎡"), (SiteData{2, 32, 20, 200, true}));
}

TEST_F(LocationTablesTest, MalformedTablesNameFileLineAndField) {
  LocationTables tables(dir_);
  const auto address = (dir_ / "Data_Address.csv").string();
  const auto snow = (dir_ / "Data_SnowfallV.csv").string();
  EXPECT_THAT(errorOf([&] { tables.loadAddressTable(); }), HasSubstr(address));
  EXPECT_THAT(errorOf([&] { tables.loadSnowCoefficients(1); }), HasSubstr(snow));

  // An unquoted blank in the district name shifts the later fields.
  writeAddress({kAddress[0], kAddress[1], "2,ｵﾀﾙ,北海道,小樽 市,3,34,5,1x0,0"});
  tables.loadAddressTable();
  const auto shifted = errorOf([&] { tables.lookupDistrict("北海道", "小樽"); });
  EXPECT_THAT(shifted, HasSubstr(address));
  EXPECT_THAT(shifted, HasSubstr("3 行目"));
  EXPECT_THAT(shifted, HasSubstr("5 列目（積雪区域）"));
  EXPECT_THAT(shifted, HasSubstr("「市」"));

  writeAddress({kAddress[0], "1,ｻｯﾎﾟﾛ,北海道,札幌市,3,32,17"});
  const auto shortLine = errorOf([&] { tables.loadAddressTable(); });
  EXPECT_THAT(shortLine, HasSubstr(address));
  EXPECT_THAT(shortLine, HasSubstr("2 行目"));
  EXPECT_THAT(shortLine, HasSubstr("7 個"));

  writeSnow({"header", "1,0.0005,0.12,0.21,40", "x,1,2,3,4"});
  const auto region = errorOf([&] { tables.loadSnowCoefficients(1); });
  EXPECT_THAT(region, HasSubstr(snow));
  EXPECT_THAT(region, HasSubstr("3 行目"));
  EXPECT_THAT(region, HasSubstr("1 列目（積雪区域）"));
  writeSnow({"header", "1,0.0005,0.1.2,0.21,40"});
  EXPECT_THAT(errorOf([&] { tables.loadSnowCoefficients(1); }), HasSubstr("3 列目（β）"));
  writeSnow({"header", "1,0.0005,0.12,0.21,0x28"});
  EXPECT_THAT(errorOf([&] { tables.loadSnowCoefficients(1); }), HasSubstr("5 列目（R）"));
  writeSnow({"header", "1,0.0005,0.12"});
  EXPECT_THAT(errorOf([&] { tables.loadSnowCoefficients(1); }), HasSubstr("2 行目"));
  // A blank line holds no region either.
  writeSnow({"header", "1,0.0005,0.12,0.21,40", "", "2,0.0004,0,0.49,20"});
  EXPECT_THAT(errorOf([&] { tables.loadSnowCoefficients(2); }), HasSubstr("3 行目"));
}

// Every V0 of the notice lies between 30 and 46 m/s: a table with others is
// still read and used (an office's table is its own), with a warning naming
// the file, the lines and the values; lines of no prefecture are never used
// and never warned of.
TEST_F(LocationTablesTest, WindSpeedOutsideTheNoticeIsWarnedOfAndUsed) {
  writeAddress({kAddress[0], "1,ｻｯﾎﾟﾛ,北海道,札幌市,3,0,17,140,0", "2,ｵﾀﾙ,北海道,小樽市,3,30,5,1,0",
                "3,x,どこか,村,3,1,5,1,0", "4,ｱｵﾓﾘ,青森県,青森市,5,46,3,150,9",
                "5,ｱｵﾓﾘ,青森県,弘前市,5,47,3,150,9", "6,ｱｵﾓﾘ,青森県,八戸市,5,x,3,150,9"});
  LocationTables tables(dir_);
  const auto hokkaido = tables.loadAddressTable();
  EXPECT_THAT(hokkaido.districts, ElementsAre("札幌市", "小樽市"));
  EXPECT_EQ(hokkaido.first->windSpeedV0, 0) << "used as it stands";
  EXPECT_EQ(tables.addressLineCount(), 7u);
  EXPECT_EQ(
      tables.addressTableWarning(),
      "ファイル「" + (dir_ / "Data_Address.csv").string() +
          "」の風荷重V0（基準風速 m/s）が告示の値（30～46）の外です: 2 行目「0」、6 行目「47」"
          "。表の値をそのまま使います。所在地データを確認して下さい。");

  Lines many = {kAddress[0]};
  for (int v0 : {5, 30, 29, 60, 0, 31, 99})
    many.push_back("1,ｶﾅ,北海道,地区" + std::to_string(v0) + ",1," + std::to_string(v0) + ",1,1,0");
  writeAddress(many);
  tables.loadAddressTable();
  EXPECT_THAT(tables.addressTableWarning(),
              HasSubstr("2 行目「5」、4 行目「29」、5 行目「60」ほか 2 行。"));

  writeAddress(kAddress);
  tables.loadAddressTable();
  EXPECT_EQ(tables.addressTableWarning(), "");
}

TEST_F(LocationTablesTest, FailedReloadKeepsTheTableHeld) {
  writeSnow(kSnow);
  LocationTables tables(dir_);
  ASSERT_TRUE(tables.loadSnowCoefficients(1).has_value());
  fs::remove(dir_ / "Data_SnowfallV.csv");
  EXPECT_THROW(tables.loadSnowCoefficients(1), UserError);
  EXPECT_EQ(tables.lookupSnowCoefficients(1)->radiusR, 40);
}

// The marker is a field of its own in the first line; a table without it is
// an office's own.
TEST_F(LocationTablesTest, SampleMarkerOfTheFirstLineOnly) {
  writeAddress(kAddress);
  writeSnow(kSnow);
  LocationTables tables(dir_);
  EXPECT_FALSE(tables.holdSampleData());  // nothing read yet
  tables.loadAddressTable();
  tables.loadSnowCoefficients(1);
  EXPECT_FALSE(tables.holdSampleData());

  Lines address = kAddress;
  address.front() += ",見本データ";
  writeAddress(address);
  tables.loadAddressTable();
  EXPECT_TRUE(tables.addressTableIsSample());
  EXPECT_FALSE(tables.snowCoefficientTableIsSample());
  EXPECT_TRUE(tables.holdSampleData());
  // The header still lists no district.
  EXPECT_THAT(tables.districtsOfPrefecture("北海道").districts,
              ElementsAre("札幌市", "小樽市", "小樽市"));

  writeSnow({"区域,α,β,γ,R,\"見本データ\"", "1,0.0005,0.12,0.21,40"});
  tables.loadSnowCoefficients(1);
  EXPECT_TRUE(tables.snowCoefficientTableIsSample());
  EXPECT_EQ(tables.lookupSnowCoefficients(1)->radiusR, 40);

  // Only a whole field of the first line counts.
  writeAddress({kAddress[0] + ",見本データではありません", kAddress[1] + ",見本データ"});
  writeSnow(kSnow);
  tables.loadAddressTable();
  tables.loadSnowCoefficients(1);
  EXPECT_FALSE(tables.holdSampleData());
}

TEST(ShippedTables, EveryPrefectureAndRegionReadsWithoutError) {
  LocationTables tables(fs::path(TAVILO_SOURCE_DIR) / "Load_data");
  const auto hokkaido = tables.loadAddressTable();
  ASSERT_FALSE(hokkaido.districts.empty());
  ASSERT_TRUE(hokkaido.first.has_value());
  EXPECT_TRUE(tables.loadSnowCoefficients(hokkaido.first->snowRegion).has_value());
  // They are samples and say so.
  EXPECT_TRUE(tables.addressTableIsSample());
  EXPECT_TRUE(tables.snowCoefficientTableIsSample());
  for (const auto prefecture : kPrefectures) {
    const auto list = tables.districtsOfPrefecture(prefecture);
    for (const auto& district : list.districts) {
      const auto site = tables.lookupDistrict(prefecture, district);
      ASSERT_TRUE(site.has_value()) << district;
      EXPECT_TRUE(tables.lookupSnowCoefficients(site->snowRegion).has_value()) << district;
    }
  }
}

}  // namespace
}  // namespace tavilo
