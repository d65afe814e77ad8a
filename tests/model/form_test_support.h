#pragma once
// A small pair of location tables in a temporary folder, and an input form
// started on them.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <tuple>
#include <vector>

#include "../support/scratch_folder.h"
#include "model/input_form.h"

namespace tavilo::testing {

namespace fs = std::filesystem;

// Hokkaido: Sapporo (region 2, heavy snow), Hakodate (no altitude and no
// depth in the table, local rules). Aomori: both districts of region 5, the
// first with local rules. Tokyo: region 3 with R = 5. Iwate has no rows.
inline const std::vector<std::string> kAddressLines = {
    "番号,よみ,都道府県,地区,積雪区域,V0,標高,積雪量,細則",
    "1,ｻｯﾎﾟﾛ,北海道,札幌市,2,32,17,140,0",
    "2,ﾊｺﾀﾞﾃ,北海道,函館市,2,34,-5,-1,9",
    "3,ｱｵﾓﾘ,青森県,青森市,5,32,3,150,9",
    "4,ﾋﾛｻｷ,青森県,弘前市,5,30,40,99,0",
    "5,ﾁﾖﾀﾞ,東京都,千代田区,3,34,6,30,0",
};

inline const std::vector<std::string> kSnowLines = {
    "区域,α,β,γ,R",
    "2,0.0005,0.12,0.21,40",
    "3,0.0009,0.1,0.3,5",
    "5,0.002,0.3,0.9,20",
};

class FormTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = testing::makeScratchFolder("tavilo_form");
    write("Data_Address.csv", kAddressLines);
    write("Data_SnowfallV.csv", kSnowLines);
  }
  void TearDown() override { fs::remove_all(dir_); }

  void write(const std::string& name, const std::vector<std::string>& lines) const {
    std::ofstream file(dir_ / name, std::ios::binary);
    file << "\xEF\xBB\xBF";
    for (const auto& line : lines)
      file << line << "\r\n";
  }

  InputForm startedForm() const {
    InputForm form{LocationTables(dir_)};
    std::ignore = form.startUp();
    return form;
  }

  static bool hasMessage(const FormEvents& events, FieldId field, const std::string& part) {
    return std::any_of(events.begin(), events.end(), [&](const FormEvent& e) {
      return e.kind == FormEvent::Kind::Message && e.field == field &&
             e.text.find(part) != std::string::npos;
    });
  }

  fs::path dir_;
};

}  // namespace tavilo::testing
