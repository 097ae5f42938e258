// The pass after the register build: weighted lists resolved across every register,
// motions and layers looked up by type, cells checked against real images, sounds and
// cursors loaded, the first fault reported with its entry, and the hit-test hand-over.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "chardef/balloon_config.h"
#include "chardef/chara_definition.h"
#include "chardef/chara_loader.h"
#include "chardef/condition_event_config.h"
#include "chardef/hit_event_config.h"
#include "chardef/image_layer_config.h"
#include "chardef/text_layer_config.h"
#include "chardef/text_style_config.h"
#include "platform/headless/text_headless.h"
#include "test_chara_folder.h"

namespace {

constexpr SRect kMoveArea{0, 0, 1280, 720};

std::u16string Decimal(int value) { return FromUtf8(std::to_string(value)); }

// A 64 x 32 strip of `tag` on walk.png (90 x 32) with the given rows.
STestBlock Strip(std::u16string tag, std::u16string name, std::vector<std::u16string> rows = {u"0,0,0,0,1"},
                 std::vector<std::u16string> extra = {}) {
  std::vector<std::u16string> settings = {u"FuncName=" + name, u"ImageName=walk.png", u"Width=64", u"Height=32"};
  settings.insert(settings.end(), extra.begin(), extra.end());
  return {std::move(tag), std::move(settings), std::move(rows)};
}
STestBlock Motion(std::u16string name, std::vector<std::u16string> rows = {u"0,0,0,0,1"}) {
  return Strip(u"MOTION_REG", std::move(name), std::move(rows));
}
// A layer of the given cell size on layer.png (96 x 48).
STestBlock Layer(std::u16string tag, std::u16string name, int width, int height) {
  return {std::move(tag),
          {u"FuncName=" + name, u"ImageName=layer.png", u"Width=" + Decimal(width),
           u"Height=" + Decimal(height)}};
}
STestBlock Balloon(std::u16string name, std::vector<std::u16string> extra = {u"FuncNameMotion=bm"}) {
  std::vector<std::u16string> settings = {u"FuncName=" + name};
  settings.insert(settings.end(), extra.begin(), extra.end());
  return {u"BALLOON_ORDER_REG", std::move(settings)};
}

// Character "Chara" in a temporary application folder holding walk.png (90 x 32),
// wide.png (96 x 32), small.png (32 x 32), layer.png (96 x 48), step.wav and arrow.cur.
class DefinitionValidatorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_.WriteImage("Chara", "walk.png", 90, 32);
    folder_.WriteImage("Chara", "wide.png", 96, 32);
    folder_.WriteImage("Chara", "small.png", 32, 32);
    folder_.WriteImage("Chara", "layer.png", 96, 48);
    folder_.WriteSound("Chara", "step.wav");
    folder_.WriteCursor("Chara", "arrow.cur");
  }

  // Builds the blocks as the loader does; every block must build.
  void Build(const std::vector<STestBlock>& blocks) {
    definition_ = std::make_unique<CCharaDefinition>(u"Chara", kMoveArea, audio_);
    hitTest_ = CRecordingHitTestSetUp();
    const bool built = CCharaLoader(u"Chara", numbering_).BuildDefinition(*definition_, ReadTestBlocks(blocks), text_);
    ASSERT_TRUE(built) << ToUtf8(definition_->registers.ErrorMessage());
  }

  // Runs the pass: "" when it succeeds, else the failure's message (its entry kept).
  std::string Validate() {
    CDefinitionValidator validator(definition_->registers, definition_->media, u"Chara", &hitTest_);
    failedType_ = SCRIPT_TYPE_NONE;
    failedName_.clear();
    try {
      playerCount_ = validator.Validate();
    } catch (const EDefinitionCheckError& error) {
      failedType_ = error.EntryType();
      failedName_ = error.EntryName();
      return ToUtf8(error.Message());
    }
    return "";
  }
  std::string BuildAndValidate(const std::vector<STestBlock>& blocks) {
    Build(blocks);
    return HasFatalFailure() ? "<not built>" : Validate();
  }

  template <class T>
  T* Config(const std::u16string& name) {
    CCreateFuncInfo* entry = definition_->registers.FindEntry(name);
    return entry == nullptr ? nullptr : entry->ConfigAs<T>();
  }
  int IdOf(const std::u16string& name) {
    const CCreateFuncInfo* entry = definition_->registers.FindEntry(name);
    return entry == nullptr ? -1 : entry->Config().id;
  }
  std::vector<std::pair<int, int>> Pairs(const CWeightMap& map) {
    std::vector<std::pair<int, int>> pairs;
    for (int i = 0; i < map.Count(); ++i) pairs.emplace_back(map.KeyAt(i), map.ValueAt(i));
    return pairs;
  }

  CTestCharaFolder folder_;
  CTestNoAudio audio_;
  CHeadlessText text_;
  SCharaNumbering numbering_;
  std::unique_ptr<CCharaDefinition> definition_;
  CRecordingHitTestSetUp hitTest_;
  int playerCount_ = -1;
  SCRIPT_TYPE failedType_ = SCRIPT_TYPE_NONE;
  std::u16string failedName_;
};

TEST_F(DefinitionValidatorTest, WeightedListsResolveAgainstEveryRegister) {
  Build({Motion(u"m"), Function(u"a", {u"FuncNameMotion=m"}), Function(u"b", {u"FuncNameMotion=m"}),
         {u"CONDITION_EVENT_REG", {u"FuncName=cond"}}, Layer(u"IMAGE_LAYER_REG", u"layer", 8, 8)});
  ASSERT_FALSE(HasFatalFailure());
  const int a = IdOf(u"a");
  const int b = IdOf(u"b");
  struct Case {
    std::u16string list;
    std::vector<std::pair<int, int>> resolved;
    std::optional<std::u16string> unknown;
  };
  const Case cases[] = {
      {u"a*0", {{a, 0}}, {}},
      {u"a*x", {{a, 1}}, {}},  // an invalid weight counts as 1
      {u"a*-2", {{a, 1}}, {}},
      {u"a*", {{a, 1}}, {}},
      {u"a* 7\t", {{a, 7}}, {}},
      {u"a,a*5", {{a, 1}}, {}},  // the first weight of a name stays
      {u"a*5,b,a", {{a, 5}, {b, 1}}, {}},
      {u"a*3,b,", {{a, 3}, {b, 1}}, {}},  // empty names are skipped
      {u",*4,a", {{a, 1}}, {}},
      {u"m*2,cond,layer", {{IdOf(u"m"), 2}, {IdOf(u"cond"), 1}, {IdOf(u"layer"), 1}}, {}},
      {u"|ORDER_OBJECT_HIDE|,|DEFAULT_TEXT_STYLE_FUNC|*4,|BALLOON_MOTION_OBJECT_HIDE|", {{1, 1}, {5, 4}, {4, 1}}, {}},
      {u"a,ghost,b", {{a, 1}}, u"ghost"},  // resolution stops at the unknown name
      {u"ghost*3", {}, u"ghost"},
      {u"A", {}, u"A"},  // names are case-sensitive
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(ToUtf8(c.list));
    CWeightMap out;
    EXPECT_EQ(ResolveWeightedList(definition_->registers, SplitAtCommas(c.list), out), c.unknown);
    EXPECT_EQ(Pairs(out), c.resolved);
  }
}

TEST_F(DefinitionValidatorTest, ResolvedListsReplaceTheirNames) {
  ASSERT_EQ(BuildAndValidate({Motion(u"m"), Strip(u"BALLOON_MOTION_REG", u"bm"),
                              Function(u"f", {u"FuncNameMotion=m", u"FuncListEvent=m*2,cond,|ORDER_OBJECT_HIDE|",
                                              u"FuncListBottomEvent=f*0", u"CallBalloonList=b*3"}),
                              {u"CONDITION_EVENT_REG", {u"FuncName=cond", u"FuncListCondition=f*9"}},
                              {u"HIT_EVENT_REG", {u"FuncName=hit", u"FuncListHit=f,f*2"}},
                              Balloon(u"b", {u"FuncNameMotion=bm", u"NextBalloonList=b*2"})}),
            "");
  const int f = IdOf(u"f");
  const auto* function = Config<COrderConfig>(u"f");
  EXPECT_EQ(Pairs(function->resolvedFuncLists[FUNC_LIST_EVENT]), (std::vector<std::pair<int, int>>{
                                                                     {IdOf(u"m"), 2}, {IdOf(u"cond"), 1}, {1, 1}}));
  EXPECT_EQ(Pairs(function->resolvedFuncLists[FUNC_LIST_BOTTOM_EVENT]), (std::vector<std::pair<int, int>>{{f, 0}}));
  EXPECT_TRUE(function->resolvedFuncLists[FUNC_LIST_TIMER].Count() == 0);
  EXPECT_EQ(Pairs(function->resolvedBalloonList), (std::vector<std::pair<int, int>>{{IdOf(u"b"), 3}}));
  EXPECT_EQ(Pairs(Config<CConditionEventConfig>(u"cond")->resolvedFuncList), (std::vector<std::pair<int, int>>{{f, 9}}));
  EXPECT_EQ(Pairs(Config<CHitEventConfig>(u"hit")->resolvedFuncList), (std::vector<std::pair<int, int>>{{f, 1}}));
  EXPECT_EQ(Pairs(Config<CBalloonConfig>(u"b")->nextBalloons), (std::vector<std::pair<int, int>>{{IdOf(u"b"), 2}}));
  // The name lists are dropped once resolved.
  for (const COptionalNameList& list : function->funcLists) EXPECT_FALSE(list.has_value());
  EXPECT_FALSE(function->balloonList.has_value());
  EXPECT_FALSE(Config<CConditionEventConfig>(u"cond")->funcList.has_value());
  EXPECT_FALSE(Config<CHitEventConfig>(u"hit")->funcList.has_value());
  EXPECT_FALSE(Config<CBalloonConfig>(u"b")->nextBalloonList.has_value());
}

TEST_F(DefinitionValidatorTest, UnknownListNamesNameTheListAndTheEntry) {
  struct Case {
    std::vector<STestBlock> blocks;
    std::string message;
    SCRIPT_TYPE type;
    std::u16string entry;
  };
  const Case cases[] = {
      {{{u"CONDITION_EVENT_REG", {u"FuncName=cond", u"FuncListCondition=f,ghost"}}},
       "CharaのcondのFuncListConditionに存在しない関数ghostが指定されています。", CONDITION_EVENT_REG, u"cond"},
      {{{u"HIT_EVENT_REG", {u"FuncName=hit", u"HitType=CLICK_L_BUTTON", u"FuncListHit=ghost*2"}}},
       "CharaのhitのFuncListHitに存在しない関数ghostが指定されています。", HIT_EVENT_REG, u"hit"},
      {{Function(u"g", {u"FuncNameMotion=m", u"FuncListTimer=f,ghost*2"})},
       "CharaのgのFuncListTimerに存在しない関数ghostが指定されています。", ORDER_REG, u"g"},
      {{Function(u"g", {u"FuncNameMotion=m", u"FuncListBottomEvent=Ghost"})},
       "CharaのgのFuncListBottomEventに存在しない関数Ghostが指定されています。", ORDER_REG, u"g"},
      // The lists go in their fixed order, not in the order the block writes them.
      {{Function(u"g", {u"FuncNameMotion=m", u"FuncListTimer=late", u"FuncListEvent=early"})},
       "CharaのgのFuncListEventに存在しない関数earlyが指定されています。", ORDER_REG, u"g"},
      {{Function(u"g", {u"FuncNameMotion=m", u"CallBalloonList=ghost"})},
       "CharaのgのCallBalloonListに存在しない関数ghostが指定されています。", ORDER_REG, u"g"},
      {{Balloon(u"b", {u"FuncNameMotion=bm", u"NextBalloonList=b,ghost"})},
       "CharaのbのNextBalloonListに存在しない関数ghostが指定されています。", BALLOON_ORDER_REG, u"b"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    std::vector<STestBlock> blocks = {Motion(u"m"), Strip(u"BALLOON_MOTION_REG", u"bm"),
                                      Function(u"f", {u"FuncNameMotion=m"})};
    blocks.insert(blocks.end(), c.blocks.begin(), c.blocks.end());
    EXPECT_EQ(BuildAndValidate(blocks), c.message);
    EXPECT_EQ(failedType_, c.type);
    EXPECT_EQ(failedName_, c.entry);
  }
}

TEST_F(DefinitionValidatorTest, MotionMustBeOfTheOwnersRegister) {
  struct Case {
    STestBlock owner;
    std::string message;  // "" when the motion resolves
    SCRIPT_TYPE type;
  };
  const std::string noFunctionMotion = "Charaのgに有効なFuncNameMotionが設定されていません。";
  const std::string noBalloonMotion = "Charaのbに有効なFuncNameMotionが設定されていません。";
  const Case cases[] = {
      {Function(u"g"), noFunctionMotion, ORDER_REG},
      {Function(u"g", {u"FuncNameMotion=layer"}), noFunctionMotion, ORDER_REG},
      {Function(u"g", {u"FuncNameMotion=bm"}), noFunctionMotion, ORDER_REG},
      {Function(u"g", {u"FuncNameMotion=M"}), noFunctionMotion, ORDER_REG},
      {Function(u"g", {u"FuncNameMotion=|MOTION_OBJECT_HIDE|"}), "", SCRIPT_TYPE_NONE},
      {Balloon(u"b", {}), noBalloonMotion, BALLOON_ORDER_REG},
      {Balloon(u"b", {u"FuncNameMotion=m"}), noBalloonMotion, BALLOON_ORDER_REG},
      {Balloon(u"b", {u"FuncNameMotion=blayer"}), noBalloonMotion, BALLOON_ORDER_REG},
      {Balloon(u"b", {u"FuncNameMotion=|BALLOON_MOTION_OBJECT_HIDE|"}), "", SCRIPT_TYPE_NONE},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(ToUtf8(c.owner.settings.back()));
    EXPECT_EQ(BuildAndValidate({Motion(u"m"), Strip(u"BALLOON_MOTION_REG", u"bm"),
                                Layer(u"IMAGE_LAYER_REG", u"layer", 8, 8),
                                Layer(u"BALLOON_IMAGE_LAYER_REG", u"blayer", 8, 8),
                                Function(u"f", {u"FuncNameMotion=m"}), c.owner}),
              c.message);
    EXPECT_EQ(failedType_, c.type);
  }
  ASSERT_EQ(BuildAndValidate({Motion(u"m"), Strip(u"BALLOON_MOTION_REG", u"bm"), Function(u"f", {u"FuncNameMotion=m"}),
                              Balloon(u"b")}),
            "");
  EXPECT_EQ(Config<COrderConfig>(u"f")->motionId, IdOf(u"m"));
  EXPECT_EQ(Config<CBalloonConfig>(u"b")->motionId, IdOf(u"bm"));
}

TEST_F(DefinitionValidatorTest, CellsMustLieInsideTheirImage) {
  struct Case {
    std::vector<std::u16string> rows;
    std::string message;  // after "Chara" and "の"
    bool entryImageMissing = false;
  };
  const std::string outside = "walkに画像サイズを超えるパラメータ指定が有ります。";
  const Case cases[] = {
      {{u"26,0"}, ""},  // 26 + 64 = 90 fits exactly
      {{u"32,0"}, outside},
      {{u"0,1"}, outside},
      {{u"Width/2,0"}, outside},                // row expressions see the cell size
      {{u"2147483647,0"}, outside},             // no wrap-around past the largest position
      {{u"32,0,0,0,1,,wide.png"}, ""},          // checked against its own 96-pixel image
      {{u"0,0,0,0,1,,small.png"}, outside},     // its own image is narrower than the cell
      {{u"0,0,0,0,1,,gone.png"}, "gone.pngを読み込めませんでした。"},
      {{u"0,0,0,0,1,,gone.png", u"32,0"}, outside},  // rows on the entry's image come first
      {{u"0,0"}, "gone.pngを読み込めませんでした。", true},
  };
  struct Register {
    std::u16string tag;
    SCRIPT_TYPE type;
  };
  const Register registers[] = {{u"MOTION_REG", MOTION_REG},
                                {u"IMAGE_LAYER_REG", IMAGE_LAYER_REG},
                                {u"BALLOON_MOTION_REG", BALLOON_MOTION_REG},
                                {u"BALLOON_IMAGE_LAYER_REG", BALLOON_IMAGE_LAYER_REG}};
  for (const Register& r : registers) {
    for (const Case& c : cases) {
      SCOPED_TRACE(ToUtf8(r.tag + u" " + c.rows.back()));
      STestBlock strip = Strip(r.tag, u"walk", c.rows);
      // Both sizes are given, so the build does not read the image; the check does.
      if (c.entryImageMissing) strip.settings[1] = u"ImageName=gone.png";
      const std::string message =
          BuildAndValidate({Function(u"f", {u"FuncNameMotion=|MOTION_OBJECT_HIDE|"}), strip});
      EXPECT_EQ(message, c.message.empty() ? "" : "Charaの" + c.message);
      EXPECT_EQ(failedType_, c.message.empty() ? SCRIPT_TYPE_NONE : r.type);
      EXPECT_EQ(failedName_, c.message.empty() ? u"" : u"walk");
    }
  }
}

TEST_F(DefinitionValidatorTest, RowExpressionFailureNamesTheEntry) {
  // The evaluator says what is wrong; the check puts the entry in front.
  const std::pair<std::u16string, std::string> cases[] = {
      {u"(0,0", "Charaのmで括弧が閉じられていません。"},
      {u"0,1/0", "Charaのmで0除算がされています。"},
      {u"\"abc\",0", "Charaのmで不正な値が設定されています。"},
  };
  for (const auto& [row, message] : cases) {
    EXPECT_EQ(BuildAndValidate({Function(u"f", {u"FuncNameMotion=m"}), Motion(u"m", {row})}), message);
    EXPECT_EQ(failedName_, u"m");
  }
}

TEST_F(DefinitionValidatorTest, LayersMustFitTheMotion) {
  const std::vector<STestBlock> common = {
      Motion(u"m"),  // 64 x 32
      Strip(u"BALLOON_MOTION_REG", u"bm"),
      Layer(u"IMAGE_LAYER_REG", u"same", 64, 32),
      Layer(u"IMAGE_LAYER_REG", u"wider", 65, 10),
      Layer(u"IMAGE_LAYER_REG", u"taller", 10, 33),
      Layer(u"BALLOON_IMAGE_LAYER_REG", u"bsame", 64, 32),
      Layer(u"BALLOON_IMAGE_LAYER_REG", u"bwider", 65, 10),
  };
  const std::string function = "CharaのfのFuncNameImageLayerにこの関数の画像サイズを超える値が設定がされています。";
  const std::string balloon = "CharaのbのFuncNameImageLayerにこの関数の画像サイズを超える値が設定がされています。";
  struct Case {
    std::u16string functionLayers;
    std::u16string balloonLayers;
    std::string message;
  };
  const Case cases[] = {
      {u"same", u"bsame", ""},
      {u"same,wider", u"", function},
      {u"taller", u"", function},
      {u"bwider,ghost,m", u"wider,taller", ""},  // other registers' names are skipped
      {u"", u"bsame,bwider", balloon},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(ToUtf8(c.functionLayers + u"/" + c.balloonLayers));
    std::vector<STestBlock> blocks = common;
    blocks.push_back(Function(u"f", {u"FuncNameMotion=m", u"FuncNameImageLayer=" + c.functionLayers}));
    blocks.push_back(Balloon(u"b", {u"FuncNameMotion=bm", u"FuncNameImageLayer=" + c.balloonLayers}));
    EXPECT_EQ(BuildAndValidate(blocks), c.message);
  }
  ASSERT_EQ(BuildAndValidate([&] {
              std::vector<STestBlock> blocks = common;
              blocks.push_back(Function(u"f", {u"FuncNameMotion=m", u"FuncNameImageLayer=same,bsame,same"}));
              blocks.push_back(Balloon(u"b", {u"FuncNameMotion=bm", u"FuncNameImageLayer=bsame,same"}));
              return blocks;
            }()),
            "");
  EXPECT_EQ(Config<COrderConfig>(u"f")->imageLayerIds, (std::vector<int>{IdOf(u"same"), IdOf(u"same")}));
  EXPECT_EQ(Config<CBalloonConfig>(u"b")->imageLayerIds, (std::vector<int>{IdOf(u"bsame")}));
}

TEST_F(DefinitionValidatorTest, EverySoundNamedMustLoad) {
  struct Case {
    const char* where;
    std::function<std::vector<STestBlock>(const std::u16string&)> blocks;
    std::u16string entry;  // the entry the failure names
    ECharaSoundChannel channel;  // where the sound is loaded
  };
  const auto withFunction = [](std::u16string key) {
    return [key](const std::u16string& sound) {
      return std::vector<STestBlock>{Function(u"f", {u"FuncNameMotion=m", key + u"=" + sound})};
    };
  };
  const auto withRow = [](std::u16string tag) {
    return [tag](const std::u16string& sound) {
      return std::vector<STestBlock>{Strip(tag, u"strip", {u"0,0", u"0,0,0,0,1," + sound})};
    };
  };
  const Case cases[] = {
      {"motion row", withRow(u"MOTION_REG"), u"strip", SOUND_CHANNEL_ROW},
      {"image layer row", withRow(u"IMAGE_LAYER_REG"), u"strip", SOUND_CHANNEL_ROW},
      {"balloon motion row", withRow(u"BALLOON_MOTION_REG"), u"strip", SOUND_CHANNEL_BALLOON_ROW},
      {"balloon layer row", withRow(u"BALLOON_IMAGE_LAYER_REG"), u"strip", SOUND_CHANNEL_BALLOON_ROW},
      {"function", withFunction(u"SoundNameBgm"), u"f", SOUND_CHANNEL_FUNCTION_BGM},
      {"left button", withFunction(u"SoundNameLButton"), u"f", SOUND_CHANNEL_L_BUTTON},
      {"right button", withFunction(u"SoundNameRButton"), u"f", SOUND_CHANNEL_R_BUTTON},
      {"hit event",
       [](const std::u16string& sound) {
         return std::vector<STestBlock>{{u"HIT_EVENT_REG", {u"FuncName=hit", u"SoundName=" + sound}}};
       },
       u"hit", SOUND_CHANNEL_HIT_EVENT},
      {"balloon",
       [](const std::u16string& sound) {
         return std::vector<STestBlock>{Balloon(u"b", {u"FuncNameMotion=|BALLOON_MOTION_OBJECT_HIDE|",
                                                        u"SoundNameBgm=" + sound})};
       },
       u"b", SOUND_CHANNEL_BALLOON_BGM},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.where);
    for (const std::u16string sound : {u"step.wav", u"gone.wav"}) {
      std::vector<STestBlock> blocks = {Motion(u"m"), Function(u"main", {u"FuncNameMotion=m"})};
      for (STestBlock& block : c.blocks(sound)) blocks.push_back(std::move(block));
      const bool present = sound == u"step.wav";
      EXPECT_EQ(BuildAndValidate(blocks), present ? "" : "Charaのgone.wavを読み込めませんでした。");
      EXPECT_EQ(failedName_, present ? u"" : c.entry);
      if (!present || HasFatalFailure()) continue;
      // Each kind of sound has its own channel, so one never cuts another off.
      for (int channel = 0; channel < SOUND_CHANNEL_COUNT; ++channel) {
        const bool loaded = definition_->media.Channel(static_cast<ECharaSoundChannel>(channel))
                                .HasLoaded(u"Characters\\Chara\\Sounds\\step.wav");
        EXPECT_EQ(loaded, channel == c.channel) << "channel " << channel;
      }
    }
  }
}

TEST_F(DefinitionValidatorTest, CursorsThatDoNotLoadStayEmpty) {
  ASSERT_EQ(BuildAndValidate({Motion(u"m"), Function(u"f", {u"FuncNameMotion=m", u"CursorName=arrow.cur"}),
                              Function(u"g", {u"FuncNameMotion=m", u"CursorName=gone.cur"}),
                              {u"HIT_EVENT_REG", {u"FuncName=hit", u"CursorName=arrow.cur"}},
                              {u"HIT_EVENT_REG", {u"FuncName=miss", u"CursorName=gone.cur"}}}),
            "");
  const SCursorImage* arrow = Config<COrderConfig>(u"f")->cursor;
  ASSERT_NE(arrow, nullptr);
  EXPECT_EQ(Config<CHitEventConfig>(u"hit")->cursor, arrow);  // one cache entry per file
  EXPECT_EQ(Config<COrderConfig>(u"g")->cursor, nullptr);
  EXPECT_EQ(Config<CHitEventConfig>(u"miss")->cursor, nullptr);
}

TEST_F(DefinitionValidatorTest, TextLayersAndConditionEventsAttachByName) {
  ASSERT_EQ(BuildAndValidate({Motion(u"m"), {u"TEXT_STYLE_REG", {u"FuncName=style"}},
                              {u"TEXT_LAYER_REG", {u"FuncName=styled", u"FuncNameTextStyle=style"}},
                              {u"TEXT_LAYER_REG", {u"FuncName=unstyled", u"FuncNameTextStyle=ghost"}},
                              {u"TEXT_LAYER_REG", {u"FuncName=wrongType", u"FuncNameTextStyle=m"}},
                              {u"TEXT_LAYER_REG", {u"FuncName=default"}},
                              Balloon(u"b", {u"FuncNameMotion=|BALLOON_MOTION_OBJECT_HIDE|",
                                             u"FuncNameTextLayer=styled,ghost,m,default"}),
                              {u"CONDITION_EVENT_REG", {u"FuncName=c1"}},
                              {u"CONDITION_EVENT_REG", {u"FuncName=c2"}},
                              Function(u"f", {u"FuncNameMotion=m", u"ListConditionEvent=c2,ghost,m,c1"})}),
            "");
  EXPECT_EQ(Config<CTextLayerConfig>(u"styled")->textStyle, Config<CTextStyleConfig>(u"style"));
  EXPECT_EQ(Config<CTextLayerConfig>(u"unstyled")->textStyle, nullptr);
  EXPECT_EQ(Config<CTextLayerConfig>(u"wrongType")->textStyle, nullptr);
  EXPECT_EQ(Config<CTextLayerConfig>(u"default")->textStyle, Config<CTextStyleConfig>(u"|DEFAULT_TEXT_STYLE_FUNC|"));
  EXPECT_NE(Config<CTextLayerConfig>(u"default")->textStyle, nullptr);

  std::vector<const CTextLayerConfig*> expectedLayers;
  if (const auto* own = Config<CTextLayerConfig>(u"b-<SET_TEXT>")) expectedLayers.push_back(own);
  expectedLayers.push_back(Config<CTextLayerConfig>(u"styled"));
  expectedLayers.push_back(Config<CTextLayerConfig>(u"default"));
  EXPECT_EQ(Config<CBalloonConfig>(u"b")->textLayers, expectedLayers);

  EXPECT_EQ(Config<COrderConfig>(u"f")->conditionEvents,
            (std::vector<CConditionEventConfig*>{Config<CConditionEventConfig>(u"c2"),
                                                 Config<CConditionEventConfig>(u"c1")}));
}

TEST_F(DefinitionValidatorTest, OnlyTheFirstFaultIsReported) {
  struct Case {
    const char* what;
    std::vector<STestBlock> blocks;
    std::u16string reported;  // the entry the message names
  };
  const STestBlock badCondition = {u"CONDITION_EVENT_REG", {u"FuncName=cond", u"FuncListCondition=ghost"}};
  const STestBlock badHit = {u"HIT_EVENT_REG", {u"FuncName=hit", u"FuncListHit=ghost"}};
  const Case cases[] = {
      {"functions in registration order",
       {Function(u"f1"), Function(u"f2", {u"FuncNameMotion=m", u"FuncListTimer=ghost"})}, u"f1"},
      {"functions in registration order, swapped",
       {Function(u"f2", {u"FuncNameMotion=m", u"FuncListTimer=ghost"}), Function(u"f1")}, u"f2"},
      {"condition events before hit events", {badHit, badCondition}, u"cond"},
      {"hit events before images", {Strip(u"IMAGE_LAYER_REG", u"layer", {u"32,0"}), badHit}, u"hit"},
      {"image layers before motions", {Motion(u"walk", {u"32,0"}), Strip(u"IMAGE_LAYER_REG", u"layer", {u"32,0"})},
       u"layer"},
      {"motions before balloon layers",
       {Strip(u"BALLOON_IMAGE_LAYER_REG", u"blayer", {u"32,0"}), Motion(u"walk", {u"32,0"})}, u"walk"},
      {"balloon layers before balloon motions",
       {Strip(u"BALLOON_MOTION_REG", u"bwalk", {u"32,0"}), Strip(u"BALLOON_IMAGE_LAYER_REG", u"blayer", {u"32,0"})},
       u"blayer"},
      {"balloon motions before balloons", {Balloon(u"b", {}), Strip(u"BALLOON_MOTION_REG", u"bwalk", {u"32,0"})},
       u"bwalk"},
      {"balloons before functions", {Function(u"f1"), Balloon(u"b", {})}, u"b"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<STestBlock> blocks = {Motion(u"m"), Function(u"main", {u"FuncNameMotion=m"})};
    blocks.insert(blocks.end(), c.blocks.begin(), c.blocks.end());
    EXPECT_NE(BuildAndValidate(blocks), "");
    EXPECT_EQ(failedName_, c.reported);
  }
}

TEST_F(DefinitionValidatorTest, EachFunctionIsHandedToTheHitTestOnceResolved) {
  ASSERT_EQ(BuildAndValidate({Motion(u"m"), Motion(u"m2"), {u"CONDITION_EVENT_REG", {u"FuncName=c1"}},
                              Function(u"f", {u"FuncNameMotion=m"}),
                              Function(u"g", {u"FuncNameMotion=m2", u"ListConditionEvent=c1"})}),
            "");
  EXPECT_EQ(hitTest_.Names(), (std::vector<std::u16string>{u"|ORDER_OBJECT_HIDE|>|MOTION_OBJECT_HIDE|", u"f>m",
                                                          u"g>m2"}));
  ASSERT_EQ(hitTest_.calls.size(), 3u);
  EXPECT_EQ(hitTest_.calls[0].motionId, 2);
  EXPECT_EQ(hitTest_.calls[2].motionId, IdOf(u"m2"));
  EXPECT_EQ(hitTest_.calls[2].conditionEvents, 1u);

  // A failing function is not handed over, and none after it.
  EXPECT_NE(BuildAndValidate({Motion(u"m"), Function(u"f", {u"FuncNameMotion=m"}), Function(u"g"),
                              Function(u"h", {u"FuncNameMotion=m"})}),
            "");
  EXPECT_EQ(hitTest_.Names(), (std::vector<std::u16string>{u"|ORDER_OBJECT_HIDE|>|MOTION_OBJECT_HIDE|", u"f>m"}));
}

TEST_F(DefinitionValidatorTest, PlayerCountIsTheMostLayersOfAnyFunction) {
  const std::vector<STestBlock> layers = {Motion(u"m"), Layer(u"IMAGE_LAYER_REG", u"a", 8, 8),
                                          Layer(u"IMAGE_LAYER_REG", u"b", 8, 8),
                                          Layer(u"BALLOON_IMAGE_LAYER_REG", u"bl", 8, 8)};
  struct Case {
    std::vector<std::u16string> functionLayers;
    int players;
  };
  const Case cases[] = {
      {{u""}, 0},
      {{u"a,b,ghost,bl", u"a"}, 2},
      {{u"a", u"b,a,b", u""}, 3},  // a name given twice shows twice
  };
  for (const Case& c : cases) {
    std::vector<STestBlock> blocks = layers;
    int index = 0;
    for (const std::u16string& names : c.functionLayers) {
      blocks.push_back(Function(u"f" + Decimal(++index), {u"FuncNameMotion=m", u"FuncNameImageLayer=" + names}));
    }
    ASSERT_EQ(BuildAndValidate(blocks), "");
    EXPECT_EQ(playerCount_, c.players);
  }
}

}  // namespace
