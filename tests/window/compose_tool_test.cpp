// zelvotta-tool compose against the plain composition rules on images it loads itself.
#include <gtest/gtest.h>

#include <cinttypes>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "media/image_load.h"
#include "media/png_writer.h"
#include "support/file_system.h"
#include "window/layer_merge.h"
#include "window/scale_rules.h"
#include "child_process.h"

namespace {

struct SToolOutput {
  int exitCode = -1;
  std::string text;
};

// zelvotta-tool compose with `arguments`; its standard output, standard error dropped.
SToolOutput RunTool(std::vector<std::string> arguments) {
  arguments.insert(arguments.begin(), "compose");
  const SChildResult run = RunChild({.program = ZV_TOOL_PATH, .arguments = arguments});
  EXPECT_TRUE(run.failure.empty()) << run.failure;
  return {run.exitCode, ChildText(run.output)};
}

std::vector<std::string> Joined(std::vector<std::string> head, const std::vector<std::string>& tail) {
  head.insert(head.end(), tail.begin(), tail.end());
  return head;
}

std::string OkLine(const CPixelSurface& surface) {
  char line[64];
  std::snprintf(line, sizeof line, "ok %d %d %016" PRIx64 "\n", surface.Width(), surface.Height(), HashPixels(surface));
  return line;
}

class ComposeToolTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = std::filesystem::path(::testing::TempDir()) / "zv_compose_tool";
    std::filesystem::create_directories(folder_);
    CPixelSurface frame(7, 5);
    CPixelSurface layer(4, 3);
    for (int i = 0; i < 35; ++i) frame.Pixels()[i] = 0xFF000000u | static_cast<uint32_t>(i * 0x070503);
    for (int i = 0; i < 12; ++i) layer.Pixels()[i] = i % 3 == 0 ? 0u : i % 3 == 1 ? 0xFFFF8000u : 0x80402000u;
    ASSERT_TRUE(WritePng(FromNativePath(Path("frame.png")), frame));
    ASSERT_TRUE(WritePng(FromNativePath(Path("layer.png")), layer));
  }
  std::string Path(const char* name) const { return (folder_ / name).string(); }
  static CImageLoad Load(const std::string& path) { return CImageLoad(FromNativePath(path), FromNativePath(path)); }

  std::filesystem::path folder_;
};

TEST_F(ComposeToolTest, ScalePrintsTheHashOfTheRulesResult) {
  const CImageLoad image = Load(Path("frame.png"));
  ASSERT_TRUE(image.HasBitmap());
  const SImageView view{image.Pixels(), image.Width(), image.Width(), image.Height()};
  struct SCase {
    std::vector<std::string> options;
    SScaleRequest request;
  } cases[] = {
      {{"--rect", "1,1,5,3", "--size", "11x7", "--filter", "bilinear", "--mirror", "1"},
       {view, {1, 1, 5, 3}, 11, 7, EScaleFilter::Bilinear, 1, 1.0, {}}},
      {{"--size", "3x2", "--filter", "area", "--mirror", "2", "--opacity", "0.5"},
       {view, {0, 0, 7, 5}, 3, 2, EScaleFilter::AreaAverage, 2, 0.5, {}}},
      {{}, {view, {0, 0, 7, 5}, 7, 5, EScaleFilter::Nearest, 0, 1.0, {}}},
  };
  for (const SCase& c : cases) {
    CPixelSurface expected(c.request.outWidth, c.request.outHeight);
    ScaleReference(c.request, expected.Pixels(), expected.Width());
    const SToolOutput output = RunTool(Joined({"scale", Path("frame.png")}, c.options));
    EXPECT_EQ(output.exitCode, 0) << ::testing::PrintToString(c.options);
    EXPECT_EQ(output.text, OkLine(expected)) << ::testing::PrintToString(c.options);
  }
}

TEST_F(ComposeToolTest, MergePrintsTheFrameSizedResultAndWritesIt) {
  const CImageLoad frame = Load(Path("frame.png"));
  const CImageLoad layer = Load(Path("layer.png"));
  CPixelSurface expected(7, 5);
  CopyFrame({frame.Pixels(), 7, 7, 5}, {0, 0, 7, 5}, expected);
  MergeLayer(expected, 7, 5, {layer.Pixels(), 4, 4, 3}, {1, 0, 3, 3}, -1, 3, kMirrorBoth);
  const SToolOutput output = RunTool({"merge", Path("frame.png"), Path("layer.png"), "--src", "1,0,3,3", "--dst", "-1,3",
                                      "--mirror", "3", "--out", Path("merged.png")});
  EXPECT_EQ(output.exitCode, 0);
  EXPECT_EQ(output.text, OkLine(expected));
  EXPECT_TRUE(std::filesystem::exists(Path("merged.png")));
}

TEST_F(ComposeToolTest, RejectsBadArgumentsAndReportsUnreadableImages) {
  const std::string frame = Path("frame.png");
  // "F" stands for the frame's path.
  const std::vector<std::string> bad[] = {{},
                                          {"rotate"},
                                          {"scale"},
                                          {"scale", "A", "B"},
                                          {"scale", "F", "--size", "0x4"},
                                          {"scale", "F", "--size", "4"},
                                          {"scale", "F", "--filter", "cubic"},
                                          {"scale", "F", "--mirror", "4"},
                                          {"scale", "F", "--opacity", "1.5"},
                                          {"scale", "F", "--opacity", "x"},
                                          {"scale", "F", "--rect", "6,0,2,2"},
                                          {"scale", "F", "--rect", "1,1,0,1"},
                                          {"scale", "F", "--bogus", "1"},
                                          {"scale", "F", "--out"},
                                          {"merge", "F"},
                                          {"merge", "F", "F", "--dst", "1"},
                                          {"merge", "F", "F", "--src", "0,0,9,9"}};
  for (std::vector<std::string> arguments : bad) {
    for (std::string& argument : arguments) {
      if (argument == "F") argument = frame;
    }
    EXPECT_EQ(RunTool(arguments).exitCode, 2) << ::testing::PrintToString(arguments);
  }
  const SToolOutput missing = RunTool({"scale", Path("missing.png")});
  EXPECT_EQ(missing.exitCode, 1);
  EXPECT_EQ(missing.text, "fail\n");
}

}  // namespace
