// Building condition events, hit areas and hit events.
#include <gtest/gtest.h>

#include "chardef/condition_event_config.h"
#include "chardef/hit_area_config.h"
#include "chardef/hit_event_config.h"
#include "register_test_blocks.h"
#include "script/script_evaluator.h"

namespace {

template <class T>
T* BuildEvent(std::unique_ptr<STestDefinition>& built, std::u16string tag, std::vector<std::u16string> settings) {
  settings.insert(settings.begin(), u"FuncName=e");
  built = BuildTestDefinition({Function(u"f"), {std::move(tag), std::move(settings)}});
  return built->Config<T>(u"e");
}

TEST(ConditionEventRegisterTest, IntervalTypeAndKeys) {
  for (auto [value, expected] :
       {std::pair{u"EVERY_HOUR", int{EVERY_HOUR}}, std::pair{u"EVERY_FRAME", int{EVERY_FRAME}},
        std::pair{u"every_frame", int{ONLY_ONCE}}, std::pair{u"", int{ONLY_ONCE}},
        std::pair{u"INTERVAL_TYPE_END", int{ONLY_ONCE}}}) {
    std::unique_ptr<STestDefinition> built;
    const auto* event = BuildEvent<CConditionEventConfig>(built, u"CONDITION_EVENT_REG",
                                                          {std::u16string(u"IntervalType=") + value});
    ASSERT_NE(event, nullptr);
    EXPECT_EQ(event->intervalType, expected);
    EXPECT_FALSE(event->funcList.has_value());
    EXPECT_TRUE(event->condition.Empty());
  }
  std::unique_ptr<STestDefinition> built;
  const auto* event = BuildEvent<CConditionEventConfig>(
      built, u"CONDITION_EVENT_REG", {u"FuncListCondition=a*2,b", u"Condition=Hour()>=22"});
  ASSERT_NE(event, nullptr);
  EXPECT_EQ(event->type, CONDITION_EVENT_REG);
  EXPECT_EQ(event->funcList, (CNameList{u"a*2", u"b"}));
  EXPECT_EQ(event->condition.Source(), u"Hour()>=22");
  EXPECT_FALSE(event->condition.Empty());

  EXPECT_EQ(BuildEvent<CConditionEventConfig>(built, u"CONDITION_EVENT_REG", {u"Condition=Nope()"}), nullptr);
  EXPECT_EQ(built->Message(), u"Charaのeで存在しない命令Nopeが呼び出されています。");
}

TEST(HitAreaRegisterTest, AreaTypeFlagAndGeometryText) {
  std::unique_ptr<STestDefinition> built;
  const auto* area = BuildEvent<CHitAreaConfig>(
      built, u"HIT_AREA_REG",
      {u"AreaType=OUT_RECT", u"Width=my.Width/2", u"Height=20", u"PosX=Width", u"PosY=-3", u"FlagAutoFlip=OFF"});
  ASSERT_NE(area, nullptr);
  EXPECT_EQ(area->areaType, OUT_RECT);
  EXPECT_FALSE(area->autoFlip);
  EXPECT_EQ(area->widthText, u"my.Width/2");
  EXPECT_EQ(area->heightText, u"20");
  EXPECT_EQ(area->xText, u"Width");
  EXPECT_EQ(area->yText, u"-3");
  EXPECT_EQ(area->width, 0);  // the geometry is not the entry's size

  for (const std::u16string value : {u"out_rect", u"", u"HIT_CHARA"}) {
    area = BuildEvent<CHitAreaConfig>(built, u"HIT_AREA_REG", {u"AreaType=" + value, u"FlagAutoFlip=off"});
    ASSERT_NE(area, nullptr);
    EXPECT_EQ(area->areaType, RECT);
    EXPECT_TRUE(area->autoFlip);
  }
}

TEST(HitEventRegisterTest, HitTypesAndStrokeCounters) {
  struct Case {
    std::u16string value;
    int type;
  };
  for (const Case& c : {Case{u"HIT_CHARA", HIT_CHARA}, Case{u"CLICK_L_BUTTON", CLICK_L_BUTTON},
                        Case{u"STROKE_CURSOR", STROKE_CURSOR}, Case{u"stroke_cursor", 0}, Case{u"", 0},
                        Case{u"RECT", 0}}) {
    std::unique_ptr<STestDefinition> built;
    const auto* event = BuildEvent<CHitEventConfig>(built, u"HIT_EVENT_REG", {u"HitType=" + c.value});
    ASSERT_NE(event, nullptr);
    EXPECT_EQ(event->hitType, c.type);
    EXPECT_EQ(event->strokeParams != nullptr, c.type == STROKE_CURSOR);
    if (event->strokeParams) {
      EXPECT_EQ(event->strokeParams->moveCount, 0);
      EXPECT_EQ(event->strokeParams->frameCount, 0);
      EXPECT_EQ(event->strokeParams->requiredMoves, 15);
      EXPECT_EQ(event->strokeParams->windowFrames, 30);
    }
  }
}

TEST(HitEventRegisterTest, NamesSoundAndLists) {
  std::unique_ptr<STestDefinition> built;
  const auto* event = BuildEvent<CHitEventConfig>(
      built, u"HIT_EVENT_REG",
      {u"HitType=HIT_CHARA", u"CursorName=poke.ani", u"SoundName=boing.Wav", u"TargetID=ALL,friends",
       u"TargetHitArea=head", u"MyHitArea=", u"FuncListHit=jump*4,,"});
  ASSERT_NE(event, nullptr);
  EXPECT_EQ(event->type, HIT_EVENT_REG);
  EXPECT_EQ(event->cursorName, u"poke.ani");
  EXPECT_EQ(event->soundName, u"boing.Wav");
  EXPECT_EQ(event->targetList, (CNameList{u"ALL", u"friends"}));
  EXPECT_EQ(event->targetAreaList, CNameList{u"head"});
  EXPECT_FALSE(event->ownAreaList.has_value());
  EXPECT_EQ(event->funcList, (CNameList{u"jump*4", u"", u""}));

  event = BuildEvent<CHitEventConfig>(built, u"HIT_EVENT_REG", {u"SoundName=boing.mp3"});
  ASSERT_NE(event, nullptr);  // the sound is dropped, the event stays
  EXPECT_EQ(event->soundName, u"");
  EXPECT_TRUE(built->definition.Ok());
}

}  // namespace
