// The definition container: built-in entries, numbering, unique names and the error
// latch across all register types.
#include <gtest/gtest.h>

#include "chardef/hit_event_config.h"
#include "chardef/motion_config.h"
#include "chardef/order_config.h"
#include "chardef/register_build.h"
#include "register_test_blocks.h"

namespace {

TEST(CreateFuncInfoMapTest, BuiltInEntriesHaveFixedIdsAndContent) {
  CCreateFuncInfoMap map;
  EXPECT_EQ(map.LastId(), 200);
  const auto* hide = map.FindEntry(ORDER_REG, 1)->ConfigAs<COrderConfig>();
  ASSERT_NE(hide, nullptr);
  EXPECT_EQ(hide->name, u"|ORDER_OBJECT_HIDE|");
  EXPECT_EQ(hide->funcType, kHideObjectFuncType);
  EXPECT_EQ(hide->motionName, u"|MOTION_OBJECT_HIDE|");
  EXPECT_EQ(hide->positionX.Source(), u"X");
  EXPECT_EQ(hide->positionY.Source(), u"Y");
  EXPECT_FALSE(hide->addToList);
  EXPECT_TRUE(hide->timerReset);
  EXPECT_EQ(hide->timer.Source(), u"-1");
  EXPECT_EQ(hide->width, 1);

  for (auto [type, id, name] : {std::tuple{MOTION_REG, 2, u"|MOTION_OBJECT_HIDE|"},
                                std::tuple{BALLOON_MOTION_REG, 4, u"|BALLOON_MOTION_OBJECT_HIDE|"}}) {
    CCreateFuncInfo* entry = map.FindEntry(type, id);
    ASSERT_NE(entry, nullptr) << id;
    const auto* motion = entry->ConfigAs<CMotionConfig>();
    EXPECT_EQ(motion->name, name);
    EXPECT_EQ(motion->imageName, u"|Resources|\\Images\\Hide.tga");
    EXPECT_EQ(motion->width, 1);
    EXPECT_EQ(motion->height, 1);
    ASSERT_EQ(entry->Rows().size(), 1u);
    EXPECT_EQ(entry->Rows()[0]->expressions[CFuncParam::kFrames].Source(), u"1");
    EXPECT_EQ(entry->Rows()[0]->expressions[CFuncParam::kCellX].Source(), u"0");
  }
  EXPECT_EQ(map.FindEntry(u"|MOTION_OBJECT_HIDE|"), map.FindEntry(MOTION_REG, 2));
  EXPECT_EQ(map.FindEntry(ORDER_REG, 2), nullptr);  // ids belong to one type's map
}

TEST(CreateFuncInfoMapTest, IdsFollowTheBuildOrderNotTheFileOrder) {
  auto built = BuildTestDefinition({
      Function(u"first"),
      {u"HIT_AREA_REG", {u"FuncName=area"}},
      {u"MOTION_REG", {u"FuncName=walk", u"Width=4", u"Height=4"}},
      Function(u"second"),
      {u"CONDITION_EVENT_REG", {u"FuncName=cond"}},
      {u"IMAGE_LAYER_REG", {u"FuncName=layer", u"Width=2", u"Height=2"}},
      {u"HIT_EVENT_REG", {u"FuncName=hit"}},
  });
  ASSERT_TRUE(built->built);
  ASSERT_TRUE(built->definition.Ok()) << std::string(built->Message().begin(), built->Message().end());
  const std::vector<std::pair<std::u16string, int>> expected = {
      {u"walk", 201}, {u"layer", 202}, {u"first", 203}, {u"second", 204},
      {u"cond", 205}, {u"area", 206},  {u"hit", 207}};
  for (const auto& [name, id] : expected) {
    ASSERT_NE(built->definition.FindEntry(name), nullptr);
    EXPECT_EQ(built->definition.FindEntry(name)->Config().id, id);
  }
  const CFuncInfoIdMap& functions = built->definition.EntriesOf(ORDER_REG);
  ASSERT_EQ(functions.Count(), 3);  // the built-in hide function comes first
  EXPECT_EQ(functions.KeyAt(0), 1);
  EXPECT_EQ(functions.KeyAt(1), 203);
  EXPECT_EQ(built->definition.LastId(), 207);
}

TEST(CreateFuncInfoMapTest, NamesAreUniqueAcrossRegisterTypes) {
  auto built = BuildTestDefinition({
      Function(u"walk"),
      {u"MOTION_REG", {u"FuncName=walk", u"Width=4", u"Height=4"}},
      Function(u"|ORDER_OBJECT_HIDE|"),
      {u"VELOCITY_EVENT_REG", {u"FuncName=fast"}},
      Function(u"fast"),
  });
  ASSERT_TRUE(built->built);
  // The motion was built first, so the function is the duplicate.
  EXPECT_NE(built->Config<CMotionConfig>(u"walk"), nullptr);
  EXPECT_EQ(built->Config<COrderConfig>(u"walk"), nullptr);
  EXPECT_NE(built->Config<COrderConfig>(u"fast"), nullptr);  // velocity blocks claim no name
  const auto& errors = built->definition.Latch().Errors();
  ASSERT_EQ(errors.size(), 2u);
  EXPECT_EQ(errors[0].message, u"Charaのwalkは名前が重複しています。");
  EXPECT_EQ(errors[1].message, u"Charaの|ORDER_OBJECT_HIDE|は名前が重複しています。");
  EXPECT_EQ(built->Message(), errors[1].message);
}

TEST(CreateFuncInfoMapTest, LatchKeepsLastMessageAndEveryOriginWhileBuildingAll) {
  auto built = BuildTestDefinition({
      Function(u"a", {}, u"start_event"),
      Function(u"ok1"),
      {u"ORDER_REG", {u"FuncName=b"}},
      {u"HIT_EVENT_REG", {u"FuncName=ok2"}},
      {u"MOTION_REG", {u"FuncName=m", u"Width=x", u"Height=1"}},
  });
  ASSERT_TRUE(built->built);
  EXPECT_FALSE(built->definition.Ok());
  const auto& errors = built->definition.Latch().Errors();
  ASSERT_EQ(errors.size(), 3u);
  // Motions are built before functions.
  EXPECT_EQ(errors[0].message, u"Charaのmに不正な数値が設定されています。");
  EXPECT_EQ(errors[0].origin.line, 23);
  EXPECT_EQ(errors[0].origin.file, u"Scripts\\test.func");
  EXPECT_EQ(errors[1].message, u"Charaのaに不正なFuncTypeが設定されています。");
  EXPECT_EQ(errors[1].origin.line, 1);
  EXPECT_EQ(errors[2].message, u"Charaのbに不正なFuncTypeが設定されています。");
  EXPECT_EQ(errors[2].origin.line, 13);
  EXPECT_EQ(built->Message(), errors[2].message);
  // Good blocks are built whatever fails around them; failed ones take no id.
  EXPECT_EQ(built->definition.FindEntry(u"ok1")->Config().id, 201);
  EXPECT_EQ(built->definition.FindEntry(u"ok2")->Config().id, 202);
  EXPECT_EQ(built->definition.FindEntry(u"a"), nullptr);
}

TEST(CreateFuncInfoMapTest, ScriptsWithoutFunctionsBuildNothing) {
  auto built = BuildTestDefinition({{u"MOTION_REG", {u"FuncName=m", u"Width=1", u"Height=1"}}});
  EXPECT_FALSE(built->built);
  EXPECT_EQ(built->definition.FindEntry(u"m"), nullptr);
  EXPECT_TRUE(built->definition.Ok());
}

TEST(CreateFuncInfoMapTest, RegisterRefusesTakenNamesAndKeepsNumbering) {
  CCreateFuncInfoMap map;
  EXPECT_TRUE(map.Register(std::make_unique<CCreateFuncInfo>(std::make_unique<COrderConfig>(u"f"))));
  EXPECT_FALSE(map.Register(std::make_unique<CCreateFuncInfo>(std::make_unique<CMotionConfig>(MOTION_REG, u"f"))));
  EXPECT_TRUE(map.Register(std::make_unique<CCreateFuncInfo>(std::make_unique<CMotionConfig>(MOTION_REG, u"g"))));
  EXPECT_EQ(map.FindEntry(u"g")->Config().id, 202);
  EXPECT_EQ(map.EntriesOf(MOTION_REG).Count(), 2);
}

}  // namespace
