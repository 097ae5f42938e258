// Counters and the playback of motions and image layers: frame durations and looping,
// frame images and sounds, the drawn size, and layers drifting by their movement. The
// images are real PNG files in a temporary character folder.
#include <gtest/gtest.h>

#include <climits>
#include <memory>
#include <set>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "../chardef/test_chara_folder.h"
#include "chardef/chara_media.h"
#include "runtime/counter.h"
#include "runtime/image_layer_status.h"
#include "runtime/motion_status.h"
#include "script/script_error.h"
#include "window/image_view.h"

namespace {

using Values = std::vector<int>;
using Calls = std::vector<std::u16string>;

// The values after each of `forward` StepForward calls, then of `back` StepBack calls.
Values Walk(CRootCounter& counter, int forward, int back = 0) {
  Values values;
  for (int i = 0; i < forward + back; ++i) {
    i < forward ? counter.StepForward() : counter.StepBack();
    values.push_back(counter.Get());
  }
  return values;
}

CRootCounter Counter(int step, int end = INT_MAX, int value = 0) {
  CRootCounter counter;
  counter.SetStep(step);
  counter.SetEnd(end);
  counter.Set(value);
  return counter;
}

TEST(CounterTest, StepsBelowOneSlowTheCounterDown) {
  for (int step : {1, 0, -1}) {
    CRootCounter counter = Counter(step);
    EXPECT_EQ(Walk(counter, 3), (Values{1, 2, 3})) << step;
  }
  // -3 moves on every third call; going back, the sub-count first runs back to 0.
  CRootCounter slow = Counter(-3);
  EXPECT_EQ(Walk(slow, 7, 4), (Values{0, 0, 1, 1, 1, 2, 2, 2, 2, 2, 1}));
  // The most negative step must not overflow the sub-count's period.
  CRootCounter slowest = Counter(INT_MIN);
  EXPECT_EQ(Walk(slowest, 2), (Values{0, 0}));
}

TEST(CounterTest, StepsClampAtTheEndsWhicheverWayTheCounterRuns) {
  CRootCounter up = Counter(4, 10);
  EXPECT_EQ(Walk(up, 4, 3), (Values{4, 8, 10, 10, 6, 2, 0}));
  // An end below the start counts down on StepForward and up on StepBack.
  CRootCounter down = Counter(2, -5);
  EXPECT_EQ(Walk(down, 3, 3), (Values{-2, -4, -5, -3, -1, 0}));
  EXPECT_TRUE(down.AtStart());
  // Near the ends of the int range a step clamps instead of wrapping round.
  CRootCounter high = Counter(INT_MAX, INT_MAX, INT_MAX - 1);
  CRootCounter low = Counter(INT_MAX, INT_MIN, INT_MIN + 1);
  EXPECT_EQ(Walk(high, 1), (Values{INT_MAX}));
  EXPECT_EQ(Walk(low, 1), (Values{INT_MIN}));

  CRootCounter restarted = Counter(-2, 5, 7);
  restarted.StepForward();
  restarted.Restart(-2);
  EXPECT_EQ(restarted.SubCount(), 0);
  EXPECT_EQ(Walk(restarted, 3), (Values{-1, -2, -2}));
}

// Records what the players ask of the sound channels.
class CRecordingSoundPlayer final : public ISoundPlayer {
 public:
  void PlaySound(ECharaSoundChannel channel, const std::u16string& name, bool loop) override {
    calls_.push_back(Channel(channel) + u"play " + name + (loop ? u" loop" : u""));
  }
  void StopSound(ECharaSoundChannel channel) override { calls_.push_back(Channel(channel) + u"stop"); }
  Calls Take() { return std::exchange(calls_, {}); }

 private:
  static std::u16string Channel(ECharaSoundChannel channel) { return channel == SOUND_CHANNEL_ROW ? u"" : u"?"; }
  Calls calls_;
};

// Character "Chara" with walk.png (96 x 32), small.png (32 x 16) and huge.png
// (1100 x 1050) on disk; sounds are only named.
class PlaybackTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_.WriteImage("Chara", "walk.png", 96, 32);
    folder_.WriteImage("Chara", "small.png", 32, 16);
    folder_.WriteImage("Chara", "huge.png", 1100, 1050);
  }

  // Builds the blocks and a function, without which nothing is built.
  void Build(std::vector<STestBlock> blocks) {
    blocks.push_back(Function(u"f"));
    built_ = BuildTestDefinition(blocks, {{u"huge.png", {1100, 1050}}});
    ASSERT_TRUE(built_->built) << ToUtf8(built_->Message());
  }
  const CCreateFuncInfo& Entry(const std::u16string& name) {
    const CCreateFuncInfo* entry = built_->definition.FindEntry(name);
    if (entry == nullptr) throw std::runtime_error("no entry " + ToUtf8(name));
    return *entry;
  }
  // The image as the definition's check loaded it.
  const CImageLoad* Image(const std::u16string& name) { return media_.Images().Find(media_.ImagesFolder() + name); }

  CTestCharaFolder folder_;
  CTestNoAudio audio_;
  CCharaMedia media_{u"Characters\\Chara\\Images\\", u"Characters\\Chara\\Sounds\\", audio_};
  CScriptEvaluator evaluator_;
  CRecordingSoundPlayer sounds_;
  std::unique_ptr<STestDefinition> built_;
};

// A strip named `name`, by default a 64 x 32 cell of walk.png; `tag` is MOTION_REG or
// IMAGE_LAYER_REG.
STestBlock Strip(std::u16string tag, std::u16string name, std::vector<std::u16string> rows,
                 std::vector<std::u16string> settings = {u"ImageName=walk.png", u"Width=64", u"Height=32"}) {
  settings.insert(settings.begin(), u"FuncName=" + name);
  return {std::move(tag), std::move(settings), std::move(rows)};
}

class MotionStatusTest : public PlaybackTest {
 protected:
  // Starts `name` and lists the frame index after each of `advances` Advances.
  Values Frames(const std::u16string& name, int advances) {
    status_.Start(Entry(name));
    Values frames;
    for (int i = 0; i < advances; ++i) {
      status_.Advance();
      frames.push_back(status_.FrameIndex());
    }
    return frames;
  }

  CMotionStatus status_{evaluator_, media_, sounds_, SOUND_CHANNEL_ROW};
};

TEST_F(MotionStatusTest, FramesShowForTheirDurationsAndLoop) {
  // An absent duration reads 1; 0 ends a frame at the next Advance; -3 lasts 3 frames.
  Build({Strip(u"MOTION_REG", u"m", {u"0,0,0,0,2", u"32,0,0,0,1", u"0,0,0,0"}),
         Strip(u"MOTION_REG", u"odd", {u"0,0,0,0,0", u"0,0,0,0,-3", u"0,0,0,0,0"}),
         Strip(u"MOTION_REG", u"empty", {})});
  EXPECT_EQ(Frames(u"m", 9), (Values{0, 0, 1, 2, 0, 0, 1, 2, 0}));
  EXPECT_EQ(Frames(u"odd", 9), (Values{1, 1, 1, 2, 0, 1, 1, 1, 2}));
  // Without rows: one still frame at cell (0, 0) showing the motion's image.
  EXPECT_EQ(Frames(u"empty", 2), (Values{0, 0}));
  EXPECT_EQ(status_.OffsetX(), 0);
  EXPECT_EQ(status_.MoveX(), 0);
  EXPECT_EQ(status_.Image(), Image(u"walk.png"));
}

TEST_F(MotionStatusTest, ColumnsAreEvaluatedAgainEveryFrame) {
  Build({Strip(u"MOTION_REG", u"m", {u"Width / 2,Height - 2,3,-4,1", u"Rand(1000),=5,Rand(1000),0,1"}),
         Strip(u"MOTION_REG", u"bad", {u"0,0,0,0,1", u"Rand(,0,0,0,1"})});
  status_.Start(Entry(u"m"));
  EXPECT_EQ(status_.OffsetX(), 32);
  EXPECT_EQ(status_.OffsetY(), 30);
  EXPECT_EQ(status_.MoveX(), 0);
  status_.Advance();
  EXPECT_EQ(status_.MoveX(), 3);
  EXPECT_EQ(status_.MoveY(), -4);
  std::set<double> values;
  for (int i = 0; i < 40; ++i) {
    status_.Advance();
    if (status_.FrameIndex() != 1) continue;
    EXPECT_EQ(status_.OffsetY(), 0);  // an expression that only assigns reads 0
    values.insert(status_.OffsetX());
    values.insert(status_.MoveX());
  }
  EXPECT_GT(values.size(), 2u);

  EXPECT_EQ(Frames(u"bad", 1), (Values{0}));
  EXPECT_THROW(status_.Advance(), EScriptError);
}

TEST_F(MotionStatusTest, FrameImagesAndTheDrawnSize) {
  Build({Strip(u"MOTION_REG", u"m", {u"0,0,0,0,1,small.png", u"0,0,0,0,1", u"0,0,0,0,1,none.png"},
               {u"ImageName=walk.png", u"Width=64", u"Height=32", u"Flip=HV"}),
         Strip(u"MOTION_REG", u"big", {u"0,0,0,0,1"}, {u"ImageName=huge.png"}),
         Strip(u"MOTION_REG", u"tall", {}, {u"ImageName=small.png", u"Width=-40", u"Height=2000"})});
  status_.Start(Entry(u"m"));
  EXPECT_EQ(status_.Image(), Image(u"small.png"));
  EXPECT_EQ(status_.Width(), 32);
  EXPECT_EQ(status_.Height(), 16);
  EXPECT_EQ(status_.Flip(), kMirrorBoth);
  // A frame without an image shows the motion's, at the full cell size again.
  EXPECT_EQ(Frames(u"m", 2), (Values{0, 1}));
  EXPECT_EQ(status_.Image(), Image(u"walk.png"));
  EXPECT_EQ(status_.Width(), 64);
  // An image that does not load leaves nothing to draw; playing goes on.
  status_.Advance();
  EXPECT_EQ(status_.Image(), nullptr);
  EXPECT_EQ(status_.Height(), 32);
  status_.Advance();
  EXPECT_EQ(status_.Image(), Image(u"small.png"));

  status_.Start(Entry(u"big"));
  EXPECT_EQ(status_.Width(), CMotionStatus::kMaxSide);
  EXPECT_EQ(status_.Height(), CMotionStatus::kMaxSide);
  status_.Start(Entry(u"tall"));
  EXPECT_EQ(status_.Width(), 32);
  EXPECT_EQ(status_.Height(), 16);
  EXPECT_EQ(status_.Flip(), kMirrorLeftRight);
}

TEST_F(MotionStatusTest, FrameSoundsPlayWhenTheirFrameBegins) {
  Build({Strip(u"MOTION_REG", u"m", {u"0,0,0,0,2,step.wav", u"0,0,0,0,1", u"0,0,0,0,1,jump.wav"}),
         Strip(u"MOTION_REG", u"silent", {u"0,0,0,0,1"}), Strip(u"MOTION_REG", u"one", {u"0,0,0,0,1,tick.wav"})});
  // The silent frame (index 1 after three Advances) lets step.wav play on.
  EXPECT_EQ(Frames(u"m", 3), (Values{0, 0, 1}));
  EXPECT_EQ(sounds_.Take(), (Calls{u"play step.wav"}));
  status_.Advance();
  status_.Advance();
  EXPECT_EQ(sounds_.Take(), (Calls{u"play jump.wav", u"play step.wav"}));
  // A new motion whose first frame is silent stops what the last one played.
  status_.Start(Entry(u"silent"));
  EXPECT_EQ(sounds_.Take(), (Calls{u"stop"}));
  // A single frame restarts, and sounds again, on every Advance after the first.
  EXPECT_EQ(Frames(u"one", 3), (Values{0, 0, 0}));
  EXPECT_EQ(sounds_.Take(), (Calls{u"play tick.wav", u"play tick.wav", u"play tick.wav"}));
}

class ImageLayerStatusTest : public PlaybackTest {
 protected:
  CImageLayerStatus layer_{evaluator_, media_, sounds_, SOUND_CHANNEL_ROW};
};

TEST_F(ImageLayerStatusTest, LayerDriftsByItsMovementEveryFrame) {
  Build({Strip(u"IMAGE_LAYER_REG", u"l", {u"8,0,2,-1,2", u"Width,4,-5,0,1,small.png"},
               {u"ImageName=walk.png", u"Width=32", u"Height=16", u"PosX=10", u"PosY=Height", u"Flip=V"}),
         Strip(u"IMAGE_LAYER_REG", u"far", {u"0,0,2000000000,0,1"})});
  layer_.Bind(Entry(u"l"));
  EXPECT_EQ(layer_.PositionX(), 10);
  EXPECT_EQ(layer_.PositionY(), 16);
  EXPECT_EQ(layer_.MoveX(), 0);
  EXPECT_EQ(layer_.Flip(), kMirrorTopBottom);
  layer_.AdvanceLayer();
  EXPECT_EQ(layer_.OffsetX(), 8);
  EXPECT_EQ(layer_.PositionX(), 12);
  EXPECT_EQ(layer_.PositionY(), 15);
  layer_.AdvanceLayer();
  layer_.AdvanceLayer();
  EXPECT_EQ(layer_.OffsetX(), 32);
  EXPECT_EQ(layer_.OffsetY(), 4);
  EXPECT_EQ(layer_.PositionX(), 9);
  EXPECT_EQ(layer_.PositionY(), 14);
  // The layer keeps its cell size whatever image it shows.
  EXPECT_EQ(layer_.Image(), Image(u"small.png"));
  EXPECT_EQ(layer_.Width(), 32);
  EXPECT_EQ(layer_.Height(), 16);
  // Binding again starts over; a long drift stops at the end of the int range.
  layer_.Bind(Entry(u"l"));
  EXPECT_EQ(layer_.PositionX(), 10);
  EXPECT_EQ(layer_.FrameIndex(), 0);
  layer_.Bind(Entry(u"far"));
  for (int i = 0; i < 3; ++i) layer_.AdvanceLayer();
  EXPECT_EQ(layer_.PositionX(), INT_MAX);
}

TEST_F(ImageLayerStatusTest, SilentFramesLeaveTheChannelAloneAndSizesAreCapped) {
  Build({Strip(u"IMAGE_LAYER_REG", u"l", {u"0,0,0,0,1", u"0,0,0,0,1,bell.wav"}),
         Strip(u"IMAGE_LAYER_REG", u"big", {}, {u"ImageName=huge.png"})});
  layer_.Bind(Entry(u"l"));
  for (int i = 0; i < 3; ++i) layer_.AdvanceLayer();
  EXPECT_EQ(sounds_.Take(), (Calls{u"play bell.wav"}));
  layer_.Bind(Entry(u"big"));
  layer_.AdvanceLayer();
  EXPECT_EQ(layer_.Width(), CMotionStatus::kMaxSide);
  EXPECT_EQ(layer_.Height(), CMotionStatus::kMaxSide);
  EXPECT_TRUE(sounds_.Take().empty());
}

}  // namespace
