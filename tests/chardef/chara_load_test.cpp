// The whole load of a character folder: metadata, scripts, the register build, the
// checks and the cursors, in that order, each stopping the load at its first failure.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "chardef/chara_definition.h"
#include "chardef/chara_loader.h"
#include "chardef/image_layer_config.h"
#include "platform/headless/text_headless.h"
#include "script/script_error.h"
#include "test_chara_folder.h"

namespace {

constexpr SRect kMoveArea{0, 0, 1280, 720};

const STestBlock kMotion = {u"MOTION_REG",
                            {u"FuncName=m", u"ImageName=walk.png", u"Width=64", u"Height=32"},
                            {u"0,0,0,0,2,step.wav"}};

class CharaLoadTest : public ::testing::Test {
 protected:
  // A folder with walk.png (90 x 32), step.wav and arrow.cur, and the given files.
  void MakeCharacter(const std::string& name, const std::string& config, const std::vector<STestBlock>& blocks) {
    folder_.WriteImage(name, "walk.png", 90, 32);
    folder_.WriteSound(name, "step.wav");
    folder_.WriteCursor(name, "arrow.cur");
    if (!config.empty()) folder_.Write(name, "config.ini", config);
    if (!blocks.empty()) folder_.WriteScripts(name, blocks);
  }

  // Loads `name` into a fresh definition: "" when it loads, else the message.
  std::string Load(const std::string& name) {
    const std::u16string folder = FromUtf8(name);
    definition_ = std::make_unique<CCharaDefinition>(folder, kMoveArea, audio_);
    hitTest_ = CRecordingHitTestSetUp();
    try {
      CCharaLoader(folder, numbering_).Load(*definition_, text_, &hitTest_);
    } catch (const EScriptError& error) {
      return ToUtf8(error.Message());
    }
    return "";
  }

  CTestCharaFolder folder_;
  CTestNoAudio audio_;
  CHeadlessText text_;
  SCharaNumbering numbering_;
  std::unique_ptr<CCharaDefinition> definition_;
  CRecordingHitTestSetUp hitTest_;
};

TEST_F(CharaLoadTest, LoadsMetadataScriptsChecksAndCursors) {
  MakeCharacter("Hana", "CharaName=Hana chan\nNormalCursor=arrow.cur\nDragCursor=gone.cur\nDlgImageName=walk.png\n",
                {kMotion,
                 {u"IMAGE_LAYER_REG", {u"FuncName=a", u"ImageName=walk.png", u"Width=8", u"Height=8"}},
                 {u"IMAGE_LAYER_REG", {u"FuncName=b", u"ImageName=walk.png", u"Width=8", u"Height=8"}},
                 Function(u"f", {u"FuncNameMotion=m", u"FuncNameImageLayer=a,b", u"CursorName=arrow.cur"}),
                 Function(u"g", {u"FuncNameMotion=m", u"FuncNameImageLayer=b", u"FuncListTimer=f*3"})});
  ASSERT_EQ(Load("Hana"), "");
  EXPECT_EQ(definition_->info.displayName, u"Hanachan");
  EXPECT_EQ(definition_->info.aboutImageWidth, 90);
  EXPECT_EQ(definition_->imageLayerPlayerCount, 2);
  EXPECT_EQ(hitTest_.Names(), (std::vector<std::u16string>{u"|ORDER_OBJECT_HIDE|>|MOTION_OBJECT_HIDE|", u"f>m",
                                                          u"g>m"}));
  // Cursors that load are shared with the functions naming the same file; one that
  // does not load stays empty without a message.
  ASSERT_NE(definition_->cursors.normal, nullptr);
  EXPECT_EQ(definition_->cursors.drag, nullptr);
  EXPECT_EQ(definition_->cursors.disabled, nullptr);
  const CCreateFuncInfo* f = definition_->registers.FindEntry(u"f");
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(f->ConfigAs<COrderConfig>()->cursor, definition_->cursors.normal);
  const auto* g = definition_->registers.FindEntry(u"g")->ConfigAs<COrderConfig>();
  EXPECT_EQ(g->resolvedFuncLists[FUNC_LIST_TIMER].Find(f->Config().id), 3);
}

TEST_F(CharaLoadTest, EachStepFailsBeforeTheNextRuns) {
  const STestBlock badType1 = Function(u"f1", {u"FuncNameMotion=m"}, u"NO_SUCH_TYPE");
  const STestBlock badType2 = Function(u"f2", {u"FuncNameMotion=m"}, u"OTHER_TYPE");
  const STestBlock noMotion = Function(u"late", {u"FuncListTimer=ghost"});
  struct Case {
    std::string name;
    std::string config;
    std::vector<STestBlock> blocks;
    std::string message;  // after the folder name
    bool checked;         // whether the checks ran (the hit test saw functions)
  };
  const Case cases[] = {
      {"AboutBeforeScripts", "DlgImageName=gone.png\n", {}, "のgone.pngを読み込めませんでした。", false},
      {"AboutBeforeRegisters", "DlgImageName=gone.png\n", {kMotion, badType1}, "のgone.pngを読み込めませんでした。",
       false},
      {"NoScripts", "CharaName=x\n", {}, "のスクリプト命令が存在しません。", false},
      {"NoFunction", "", {kMotion}, "のスクリプトに不正な命令が設定されています。", false},
      // Every block is built; the last fault is told and the checks never run.
      {"RegistersBeforeChecks", "", {kMotion, badType1, noMotion, badType2}, "のf2に不正なFuncTypeが設定されています。",
       false},
      {"FirstCheck",
       "",
       {kMotion, Function(u"first", {u"FuncNameMotion=m"}), noMotion,
        Function(u"last", {u"FuncListTimer=ghost"})},
       "のlateのFuncListTimerに存在しない関数ghostが指定されています。", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    MakeCharacter(c.name, c.config, c.blocks);
    EXPECT_EQ(Load(c.name), c.name + c.message);
    EXPECT_EQ(!hitTest_.calls.empty(), c.checked);
    EXPECT_EQ(definition_->imageLayerPlayerCount, 0);
  }
}

TEST_F(CharaLoadTest, CheckFailuresKeepTheirEntryAndStopBeforeCursors) {
  MakeCharacter("Sora", "NormalCursor=arrow.cur\n",
                {kMotion, {u"IMAGE_LAYER_REG", {u"FuncName=big", u"ImageName=walk.png", u"Width=80", u"Height=8"}},
                 Function(u"f", {u"FuncNameMotion=m", u"FuncNameImageLayer=big"})});
  const std::u16string expected = u"SoraのfのFuncNameImageLayerにこの関数の画像サイズを超える値が設定がされています。";
  definition_ = std::make_unique<CCharaDefinition>(u"Sora", kMoveArea, audio_);
  try {
    CCharaLoader(u"Sora", numbering_).Load(*definition_, text_);
    ADD_FAILURE() << "loaded";
  } catch (const EDefinitionCheckError& error) {
    EXPECT_EQ(error.Message(), expected);
    EXPECT_EQ(error.EntryType(), ORDER_REG);
    EXPECT_EQ(error.EntryName(), u"f");
  }
  EXPECT_EQ(definition_->cursors.normal, nullptr);
  EXPECT_EQ(definition_->imageLayerPlayerCount, 0);
  // What loaded before the failure stays with the definition.
  EXPECT_NE(definition_->registers.FindEntry(u"big"), nullptr);
}

}  // namespace
