// The demo characters' balloons stay on the desktop: each character, alone, is clicked
// when it stands at the left and at the right edge of its movement range, at 100 % and
// at 200 %, and every pixel of the balloon that opens lies inside the range. The range
// is set inside a larger virtual screen, so whatever a balloon draws past the range's
// edges shows in the snapshots.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "media/png_decoder.h"
#include "platform/geometry.h"
#include "temp_folder.h"
#include "tool_process.h"

namespace {

namespace fs = std::filesystem;

const fs::path kCharacters = fs::path(ZV_TEST_DATA_DIR) / ".." / ".." / "characters";
constexpr SRect kRange{120, 80, 680, 580};  // inside the 800 x 600 screen
constexpr int kFrames = 900;

struct SEdgeCase {
  const char* chara;
  const char* scaleId;  // ScaleID of app.cfg: 32782 is 100 %, 32778 200 %
  double scale;
  int bodyX, bodyY;     // a point on the character's body, unscaled, from its top-left
};

struct SPlace {
  int frame = -1;
  int x = 0, y = 0;
};

int NumberAfter(const std::string& line, const std::string& key) {
  const size_t at = line.find("\"" + key + "\":");
  return at == std::string::npos ? 0 : std::stoi(line.substr(at + key.size() + 3));
}

// The traced positions of a run, in frame order.
std::vector<SPlace> Positions(const std::string& trace) {
  std::ifstream in(trace);
  std::vector<SPlace> places;
  for (std::string line; std::getline(in, line);) {
    if (line.find("\"event\":\"position\"") == std::string::npos) continue;
    places.push_back({NumberAfter(line, "frame"), NumberAfter(line, "x"), NumberAfter(line, "y")});
  }
  return places;
}

class BalloonEdges : public ::testing::TestWithParam<SEdgeCase> {
 protected:
  void SetUp() override {
    const SEdgeCase& c = GetParam();
    fs::create_directories(app_.Native() / "Characters");
    fs::copy(kCharacters / c.chara, app_.Native() / "Characters" / c.chara, fs::copy_options::recursive);
  }

  // A run from nothing saved, on the move range and scale of the case; the machine is
  // calm and the clock far from the full minute and noon, which the characters react to.
  SToolResult Run(const std::string& input, std::vector<std::string> arguments) {
    fs::remove_all(app_.Native() / "Params");
    std::ostringstream settings;
    settings << "ScaleID=" << GetParam().scaleId << "\nMoveScopeLeft=" << kRange.left
             << "\nMoveScopeTop=" << kRange.top << "\nMoveScopeRight=" << kRange.right
             << "\nMoveScopeBottom=" << kRange.bottom << "\n";
    app_.WriteBytes("Params/app.cfg", settings.str());
    work_.WriteBytes("input.txt", "0 cpu 10\n0 clock 2026-06-01 09:30:05\n" + input);
    arguments.insert(arguments.begin(), {"run", "--app-dir", app_.NativeString(), "--screen", "800x600", "--seed",
                                         "5", "--input", Path("input.txt")});
    return ToolProcess(work_.Native() / "run", work_.Native() / "tool.err").Run(arguments);
  }
  std::string Path(const std::string& name) const { return (work_.Native() / name).string(); }

  CTempFolder app_;
  CTempFolder work_;

  // The first frames at which the character stands at the left and at the right edge of
  // the range, and where it is then.
  void FindEdges(SPlace& left, SPlace& right) {
    ASSERT_EQ(Run("", {"--frames", std::to_string(kFrames), "--positions", "--trace", Path("walk.jsonl")}).exitCode, 0);
    int lastX = 0;
    bool seen = false;
    for (const SPlace& place : Positions(Path("walk.jsonl"))) {
      if (place.x == kRange.left && left.frame < 0) left = place;
      // Standing still at the largest x it reaches: the right edge.
      if (seen && place.x == lastX && place.x > kRange.left && (right.frame < 0 || place.x > right.x)) right = place;
      lastX = place.x;
      seen = true;
    }
  }
};

TEST_P(BalloonEdges, EveryBalloonPixelLiesInsideTheDesktopAtBothEdges) {
  const SEdgeCase& c = GetParam();
  SPlace left, right;
  FindEdges(left, right);
  ASSERT_GE(left.frame, 0) << c.chara << " never reached the left edge";
  ASSERT_GT(right.x, kRange.left + 100) << c.chara << " never reached the right edge";

  for (const SPlace& at : {left, right}) {
    SCOPED_TRACE(std::string(c.chara) + (at.x == kRange.left ? " at the left edge" : " at the right edge"));
    // A click on its body while it turns there: Walker greets, Hopper is picked up, let
    // go and says phew.
    std::ostringstream input;
    const int pointX = at.x + static_cast<int>(c.bodyX * c.scale);
    const int pointY = at.y + static_cast<int>(c.bodyY * c.scale);
    input << at.frame + 3 << " move " << pointX << " " << pointY << "\n"
          << at.frame + 3 << " ldown\n" << at.frame + 4 << " lup\n" << at.frame + 5 << " move 790 10\n";
    std::vector<std::string> arguments = {"--frames", std::to_string(at.frame + 60), "--positions", "--trace",
                                          Path("click.jsonl")};
    const std::vector<int> shots = {at.frame + 12, at.frame + 30, at.frame + 50};
    for (int frame : shots) {
      arguments.insert(arguments.end(), {"--snapshot", std::to_string(frame) + ":" + Path(std::to_string(frame) + ".png")});
    }
    const SToolResult result = Run(input.str(), arguments);
    ASSERT_EQ(result.exitCode, 0) << result.standardError;

    const std::vector<SPlace> places = Positions(Path("click.jsonl"));
    int balloonPixels = 0;
    for (int frame : shots) {
      ASSERT_LT(static_cast<size_t>(frame), places.size());
      const int top = places[static_cast<size_t>(frame)].y;  // the character window's, then
      std::ifstream in(Path(std::to_string(frame) + ".png"), std::ios::binary);
      const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
      const std::optional<CPixelSurface> shot = DecodePng(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
      ASSERT_TRUE(shot.has_value());
      const uint32_t background = shot->At(0, 0);
      int outside = 0;
      for (int y = 0; y < shot->Height(); ++y) {
        for (int x = 0; x < shot->Width(); ++x) {
          const bool inRange = x >= kRange.left && x < kRange.right && y >= kRange.top && y < kRange.bottom;
          if (shot->At(x, y) == background) continue;
          if (!inRange) ++outside;
          // What shows above the character's window is its balloon.
          if (inRange && y < top) ++balloonPixels;
        }
      }
      EXPECT_EQ(outside, 0) << "frame " << frame << ": pixels drawn outside the desktop";
    }
    EXPECT_GT(balloonPixels, 2000) << "no balloon was open in the snapshots";
  }
}

INSTANTIATE_TEST_SUITE_P(DemoCharacters, BalloonEdges,
                         ::testing::Values(SEdgeCase{"Walker", "32782", 1.0, 72, 60},
                                           SEdgeCase{"Walker", "32778", 2.0, 72, 60},
                                           SEdgeCase{"Hopper", "32782", 1.0, 80, 72},
                                           SEdgeCase{"Hopper", "32778", 2.0, 80, 72}),
                         [](const ::testing::TestParamInfo<SEdgeCase>& edge) {
                           return std::string(edge.param.chara) + (edge.param.scale > 1.5 ? "At200" : "At100");
                         });

}  // namespace
