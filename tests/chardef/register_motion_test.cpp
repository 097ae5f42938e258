// Building motions and image layers: cell size and mirroring, images read for their
// size, rows and their columns, and the messages.
#include <gtest/gtest.h>

#include "chardef/image_layer_config.h"
#include "chardef/motion_config.h"
#include "register_test_blocks.h"
#include "script/script_evaluator.h"

namespace {

const std::vector<STestImage> kImages = {{u"walk.png", {96, 48}}};

TEST(MotionRegisterTest, CellSizeAndMirroring) {
  struct Case {
    std::vector<std::u16string> settings;
    int width;
    int height;
    bool flipH;
    bool flipV;
  };
  const Case cases[] = {
      {{u"Width=-64", u"Height=32"}, 64, 32, true, false},
      {{u"Width=-64", u"Height=32", u"Flip=NONE"}, 64, 32, true, false},
      {{u"Width=8", u"Height=-9", u"Flip=H"}, 8, 9, true, true},
      {{u"Width=8", u"Height=9", u"Flip=HV"}, 8, 9, true, true},
      {{u"Width=8", u"Height=9", u"Flip=V"}, 8, 9, false, true},
      {{u"Width=8", u"Height=9", u"Flip=h"}, 8, 9, false, false},
      {{u"Width=8", u"Height=9", u"Flip=VH"}, 8, 9, false, false},
      {{}, 96, 48, false, false},                      // both from the image
      {{u"Width=-10"}, 10, 48, true, false},           // the missing one from the image
      {{u"Height=0", u"Width=0"}, 0, 0, false, false},
  };
  for (const Case& c : cases) {
    std::vector<std::u16string> settings = {u"FuncName=walk", u"ImageName=walk.png"};
    settings.insert(settings.end(), c.settings.begin(), c.settings.end());
    auto built = BuildTestDefinition({Function(u"f"), {u"MOTION_REG", settings}}, kImages);
    const auto* motion = built->Config<CMotionConfig>(u"walk");
    ASSERT_NE(motion, nullptr) << c.width;
    EXPECT_EQ(motion->imageName, u"walk.png");
    EXPECT_EQ(motion->width, c.width);
    EXPECT_EQ(motion->height, c.height);
    EXPECT_EQ(motion->flipHorizontal, c.flipH) << c.width;
    EXPECT_EQ(motion->flipVertical, c.flipV) << c.width;
  }
}

TEST(MotionRegisterTest, SizeErrors) {
  struct Case {
    std::vector<std::u16string> settings;
    std::u16string message;
  };
  const Case cases[] = {
      {{u"ImageName=gone.png", u"Width=4"}, u"Charaのwalk" u"Charaのgone.pngを読み込めませんでした。"},
      {{u"ImageName=gone.png"}, u"Charaのwalk" u"Charaのgone.pngを読み込めませんでした。"},
      {{u"ImageName=walk.png", u"Width=4x"}, u"Charaのwalkに不正な数値が設定されています。"},
      {{u"ImageName=walk.png", u"Width=4", u"Height=--1"}, u"Charaのwalkに不正な数値が設定されています。"},
      {{u"ImageName=walk.png", u"Width=-2147483648", u"Height=1"}, u"Charaのwalkに不正な数値が設定されています。"},
  };
  for (const Case& c : cases) {
    std::vector<std::u16string> settings = {u"FuncName=walk"};
    settings.insert(settings.end(), c.settings.begin(), c.settings.end());
    auto built = BuildTestDefinition({Function(u"f"), {u"MOTION_REG", settings}}, kImages);
    EXPECT_EQ(built->definition.FindEntry(u"walk"), nullptr);
    EXPECT_EQ(built->Message(), c.message);
  }
  // With both sizes given, the image is not read here.
  auto built = BuildTestDefinition(
      {Function(u"f"), {u"MOTION_REG", {u"FuncName=walk", u"ImageName=gone.png", u"Width=4", u"Height=4"}}});
  EXPECT_TRUE(built->definition.Ok());
}

TEST(MotionRegisterTest, RowsCompileWithTheCellSizeAndSortMediaByExtension) {
  auto built = BuildTestDefinition(
      {Function(u"f"),
       {u"BALLOON_MOTION_REG",
        {u"FuncName=talk", u"ImageName=walk.png", u"Width=-16", u"Height=8"},
        {u"Width*2,Height,1,-1,5,step.wav,other.png", u"0,0", u"0,0,0,0,1,a.png,b.TGA",
         u"0,0,0,0,1,a.wav,b.mp3", u"0,0,0,0,1,,,c.png"}}},
      kImages);
  CCreateFuncInfo* entry = built->definition.FindEntry(u"talk");
  ASSERT_NE(entry, nullptr);
  EXPECT_EQ(entry->Config().type, BALLOON_MOTION_REG);
  EXPECT_EQ(built->definition.EntriesOf(BALLOON_MOTION_REG).Count(), 2);  // after the built-in one
  const auto& rows = entry->Rows();
  ASSERT_EQ(rows.size(), 5u);

  CScriptEvaluator evaluator;
  auto value = [&](const CFuncParam& row, int column) {
    return evaluator.Evaluate(row.expressions[static_cast<size_t>(column)].Tokens())->GetInt();
  };
  EXPECT_EQ(value(*rows[0], CFuncParam::kCellX), 32);  // the width without its sign
  EXPECT_EQ(value(*rows[0], CFuncParam::kCellY), 8);
  EXPECT_EQ(value(*rows[0], CFuncParam::kMoveY), -1);
  EXPECT_EQ(value(*rows[0], CFuncParam::kFrames), 5);
  EXPECT_EQ(rows[0]->expressions[0].Source(), u"Width*2");
  EXPECT_EQ(rows[0]->soundName, u"step.wav");
  EXPECT_EQ(rows[0]->imageName, u"other.png");
  EXPECT_TRUE(rows[1]->expressions[CFuncParam::kFrames].Empty());  // missing columns
  EXPECT_EQ(rows[1]->imageName, u"");
  EXPECT_EQ(rows[2]->imageName, u"b.TGA");  // the seventh column wins
  EXPECT_EQ(rows[3]->soundName, u"a.wav");
  EXPECT_EQ(rows[3]->imageName, u"");
  EXPECT_EQ(rows[4]->imageName, u"");  // only columns six and seven name media
}

TEST(MotionRegisterTest, RowExpressionErrorDropsTheEntry) {
  auto built = BuildTestDefinition(
      {Function(u"f"), {u"MOTION_REG", {u"FuncName=walk", u"Width=1", u"Height=1"}, {u"0,(0"}}});
  // The bracket error shows only when evaluated; a lexical error shows now.
  EXPECT_TRUE(built->definition.Ok());
  built = BuildTestDefinition(
      {Function(u"f"), {u"MOTION_REG", {u"FuncName=walk", u"Width=1", u"Height=1"}, {u"0,\"x"}}});
  EXPECT_EQ(built->definition.FindEntry(u"walk"), nullptr);
  EXPECT_EQ(built->Message(), u"Charaのwalkに\"で閉じられていない文字列があります。");
}

TEST(ImageLayerRegisterTest, PositionUsesTheLayerSize) {
  auto built = BuildTestDefinition(
      {Function(u"f"),
       {u"IMAGE_LAYER_REG",
        {u"FuncName=hat", u"ImageName=walk.png", u"Height=-10", u"PosX=Width-1", u"PosY=Height/2", u"Flip=V"},
        {u"0,Height"}}},
      kImages);
  const auto* layer = built->Config<CImageLayerConfig>(u"hat");
  ASSERT_NE(layer, nullptr);
  EXPECT_EQ(layer->type, IMAGE_LAYER_REG);
  EXPECT_EQ(layer->width, 96);
  EXPECT_EQ(layer->height, 10);
  EXPECT_TRUE(layer->flipVertical);
  EXPECT_FALSE(layer->flipHorizontal);
  CScriptEvaluator evaluator;
  EXPECT_EQ(evaluator.Evaluate(layer->positionX.Tokens())->GetInt(), 95);
  EXPECT_EQ(evaluator.Evaluate(layer->positionY.Tokens())->GetInt(), 5);
  EXPECT_EQ(layer->positionX.Source(), u"Width-1");
  const CCreateFuncInfo* entry = built->definition.FindEntry(u"hat");
  ASSERT_EQ(entry->Rows().size(), 1u);
  EXPECT_EQ(evaluator.Evaluate(entry->Rows()[0]->expressions[1].Tokens())->GetInt(), 10);
  // A motion is not an image layer, and the other way round.
  EXPECT_EQ(built->Config<CMotionConfig>(u"hat"), nullptr);
}

TEST(ImageLayerRegisterTest, BalloonLayersAndImageErrors) {
  auto built = BuildTestDefinition(
      {Function(u"f"),
       {u"BALLOON_IMAGE_LAYER_REG", {u"FuncName=frame", u"ImageName=walk.png"}},
       {u"IMAGE_LAYER_REG", {u"FuncName=gone", u"ImageName=none.png", u"Width=3"}}},
      kImages);
  ASSERT_NE(built->Config<CImageLayerConfig>(u"frame"), nullptr);
  EXPECT_EQ(built->Config<CImageLayerConfig>(u"frame")->type, BALLOON_IMAGE_LAYER_REG);
  EXPECT_EQ(built->Message(), u"Charaのgone" u"Charaのnone.pngを読み込めませんでした。");
}

}  // namespace
