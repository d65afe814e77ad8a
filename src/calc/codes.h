#pragma once
// The codes of the input screen's choices and their names, in one place: the
// screen, the project file, the calculation and the report all read them
// here. The codes are those the project file stores.

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace tavilo {

// ---- Roof type (屋根の種類), in the order of the choice group
enum class RoofType {
  MonoPitch,  // 片流れ屋根
  Gable,      // 切妻屋根
  Arched,     // 円弧屋根
  Canopy,     // 独立上屋: a free-standing roof without walls
};
inline constexpr std::array<RoofType, 4> kRoofTypes = {RoofType::MonoPitch, RoofType::Gable,
                                                       RoofType::Arched, RoofType::Canopy};
inline constexpr std::array<std::string_view, 4> kRoofTypeNames = {"片流れ屋根", "切妻屋根",
                                                                   "円弧屋根", "独立上屋"};
// The roof type's place in the choice group and in kRoofTypeNames.
constexpr std::size_t positionOf(RoofType roofType) {
  return static_cast<std::size_t>(roofType);
}
// "片流れ屋根", "切妻屋根", "円弧屋根", "独立上屋".
std::string roofTypeNameOf(RoofType roofType);

// The roof class of the wind derivation: pitched roofs, the arched roof, the canopy.
enum class RoofClass { Pitched, Arched, Canopy };
RoofClass roofClassOf(RoofType roofType);

// ---- Building shape (建物の形状): codes 0 to 2, for roof types 3 to 5
inline constexpr int kBuildingClosed = 0;
inline constexpr int kBuildingOpenWindward = 1;
inline constexpr int kBuildingOpenLeeward = 2;
// The screen's choice captions write 解放; the report's names write 開放.
inline constexpr std::array<std::string_view, 3> kBuildingShapeItems = {"閉鎖型", "風上解放型",
                                                                        "風下解放型"};
inline constexpr std::array<std::string_view, 3> kBuildingShapeNames = {"閉鎖型", "風上開放型",
                                                                        "風下開放型"};
// The report's name; any other value gives "閉鎖型".
std::string buildingShapeNameOf(int buildingShape);

// ---- Roof shape of a canopy (屋根の形状): codes 0 and 1
inline constexpr int kRoofShapeGable = 0;
inline constexpr int kRoofShapeWing = 1;
inline constexpr std::array<std::string_view, 2> kRoofShapeNames = {"切妻屋根", "翼型屋根"};
// Any other value gives "切妻屋根".
std::string roofShapeNameOf(int roofShape);

// ---- Overhang arrangement: the list offers only the first two codes; the
// other two come from project files.
inline constexpr int kOverhangNone = 0;
inline constexpr int kOverhangLeft = 1;
inline constexpr int kOverhangRight = 2;
inline constexpr int kOverhangBoth = 3;
inline constexpr std::array<std::string_view, 2> kOverhangItems = {"無し", "有り"};
constexpr bool overhangOnLeft(int code) {
  return code == kOverhangLeft || code == kOverhangBoth;
}
constexpr bool overhangOnRight(int code) {
  return code == kOverhangRight || code == kOverhangBoth;
}

// ---- Surface treatment (表面処理): the third item means "entered by the user"
inline constexpr std::array<std::string_view, 3> kSurfaceTreatments = {"Z12", "Z27", "他"};
inline constexpr int kSurfaceTreatmentOther = 2;

// ---- Terrain roughness category (粗度区分) 1 to 4, written as Roman numerals
inline constexpr std::array<std::string_view, 4> kRoughnessNumerals = {"Ⅰ", "Ⅱ", "Ⅲ", "Ⅳ"};
// "Ⅰ" to "Ⅳ" for categories 1 to 4; empty for any other value.
std::string roughnessNumeral(int roughness);

}  // namespace tavilo
