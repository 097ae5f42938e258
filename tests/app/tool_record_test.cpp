// zelvotta-tool record: the animated PNG's chunks, numbering and pictures, the GIF read
// back through giflib, cropping to the characters' windows, repeatable output, and the
// exit codes of faulty calls and failed runs.
#include <gtest/gtest.h>
#include <png.h>
#include <zlib.h>
#if defined(ZV_HAVE_GIF)
#include <gif_lib.h>
#endif

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "media/pixel_surface.h"
#include "media/png_writer.h"
#include "png_chunk.h"
#include "support/utf.h"
#include "temp_folder.h"
#include "tool_process.h"

namespace {

uint32_t Word(const std::string& bytes, size_t at) {
  return (uint32_t{static_cast<uint8_t>(bytes[at])} << 24) | (uint32_t{static_cast<uint8_t>(bytes[at + 1])} << 16) |
         (uint32_t{static_cast<uint8_t>(bytes[at + 2])} << 8) | uint32_t{static_cast<uint8_t>(bytes[at + 3])};
}
uint32_t Half(const std::string& bytes, size_t at) {
  return (uint32_t{static_cast<uint8_t>(bytes[at])} << 8) | uint32_t{static_cast<uint8_t>(bytes[at + 1])};
}

struct SChunk {
  std::string type;
  std::string data;
};

// The chunks after the signature; a bad length or checksum fails the test.
std::vector<SChunk> Chunks(const std::string& png) {
  std::vector<SChunk> chunks;
  EXPECT_TRUE(png.starts_with(kPngFileSignature));
  for (size_t at = kPngFileSignature.size(); at < png.size();) {
    if (at + 12 > png.size() || Word(png, at) > png.size() - at - 12) {
      ADD_FAILURE() << "chunk overruns the file at " << at;
      break;
    }
    const uint32_t length = Word(png, at);
    SChunk chunk{png.substr(at + 4, 4), png.substr(at + 8, length)};
    const std::string checked = png.substr(at + 4, 4 + length);
    EXPECT_EQ(crc32(0, reinterpret_cast<const Bytef*>(checked.data()), static_cast<uInt>(checked.size())),
              Word(png, at + 8 + length))
        << chunk.type;
    chunks.push_back(std::move(chunk));
    at += 12 + length;
  }
  return chunks;
}

struct SPicture {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> rgba;  // straight alpha
  const uint8_t* At(int x, int y) const { return &rgba[(static_cast<size_t>(y) * width + x) * 4]; }
  bool operator==(const SPicture&) const = default;
};

// A PNG file decoded by libpng; an empty picture when it fails.
SPicture DecodePng(const std::string& png) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  SPicture picture;
  if (!png_image_begin_read_from_memory(&image, png.data(), png.size())) return picture;
  image.format = PNG_FORMAT_RGBA;
  std::vector<uint8_t> rgba(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, rgba.data(), 0, nullptr)) return picture;
  return {static_cast<int>(image.width), static_cast<int>(image.height), std::move(rgba)};
}

// An animated PNG taken apart: the chunks checked for order and numbering, each frame
// decoded by libpng as a PNG of its own.
struct SApng {
  uint32_t width = 0;
  uint32_t height = 0;
  uint32_t frameCount = 0;  // acTL
  uint32_t plays = 1;
  std::vector<std::string> frameControls;
  std::vector<SPicture> frames;
};

SApng ReadApng(const std::string& bytes) {
  SApng apng;
  const std::vector<SChunk> chunks = Chunks(bytes);
  if (chunks.size() < 4 || chunks[0].type != "IHDR" || chunks[1].type != "acTL" || chunks.back().type != "IEND") {
    ADD_FAILURE() << "not IHDR, acTL, ..., IEND";
    return apng;
  }
  apng.width = Word(chunks[0].data, 0);
  apng.height = Word(chunks[0].data, 4);
  apng.frameCount = Word(chunks[1].data, 0);
  apng.plays = Word(chunks[1].data, 4);
  uint32_t sequence = 0;
  std::vector<std::string> frameData;
  for (const SChunk& chunk : chunks) {
    if (chunk.type == "fcTL") {
      EXPECT_EQ(Word(chunk.data, 0), sequence++);
      apng.frameControls.push_back(chunk.data);
      frameData.emplace_back();
    } else if (chunk.type == "IDAT") {
      EXPECT_EQ(apng.frameControls.size(), 1u) << "IDAT belongs to the first frame";
      if (!frameData.empty()) frameData.back() += PngChunk("IDAT", chunk.data);
    } else if (chunk.type == "fdAT") {
      EXPECT_EQ(Word(chunk.data, 0), sequence++);
      EXPECT_GT(apng.frameControls.size(), 1u) << "fdAT before the second frame";
      if (!frameData.empty()) frameData.back() += PngChunk("IDAT", chunk.data.substr(4));
    }
  }
  for (const std::string& data : frameData) {
    apng.frames.push_back(DecodePng(kPngFileSignature + PngChunk("IHDR", chunks[0].data) + data + PngChunk("IEND", "")));
    EXPECT_EQ(apng.frames.back().width, static_cast<int>(apng.width));
  }
  return apng;
}

// Where `part` lies inside `whole`, pixel for pixel; -1, -1 when nowhere.
std::pair<int, int> FindInside(const SPicture& whole, const SPicture& part) {
  for (int top = 0; top + part.height <= whole.height; ++top) {
    for (int left = 0; left + part.width <= whole.width; ++left) {
      bool same = true;
      for (int y = 0; same && y < part.height; ++y) {
        same = std::equal(part.At(0, y), part.At(0, y) + part.width * 4, whole.At(left, top + y));
      }
      if (same) return {left, top};
    }
  }
  return {-1, -1};
}

#if defined(ZV_HAVE_GIF)
struct SGif {
  int width = 0;
  int height = 0;
  bool loops = false;
  std::vector<int> delays;
  std::vector<SPicture> frames;  // transparent pixels as 0, 0, 0, 0
};

// A GIF read back through giflib's DGifSlurp; no frames when it fails.
SGif ReadGif(const std::filesystem::path& file) {
  SGif out;
  int error = 0;
  GifFileType* gif = DGifOpenFileName(file.string().c_str(), &error);
  if (gif == nullptr) return out;
  if (DGifSlurp(gif) == GIF_OK) {
    out.width = gif->SWidth;
    out.height = gif->SHeight;
    for (int i = 0; i < gif->ImageCount; ++i) {
      const SavedImage& image = gif->SavedImages[i];
      for (int e = 0; e < image.ExtensionBlockCount; ++e) {
        const ExtensionBlock& block = image.ExtensionBlocks[e];
        if (block.Function == APPLICATION_EXT_FUNC_CODE && block.ByteCount == 11 &&
            std::string(reinterpret_cast<const char*>(block.Bytes), 11) == "NETSCAPE2.0") {
          out.loops = true;
        }
      }
      GraphicsControlBlock control{};
      DGifSavedExtensionToGCB(gif, i, &control);
      out.delays.push_back(control.DelayTime);
      const ColorMapObject* map = image.ImageDesc.ColorMap ? image.ImageDesc.ColorMap : gif->SColorMap;
      SPicture picture{image.ImageDesc.Width, image.ImageDesc.Height, {}};
      for (int p = 0; p < picture.width * picture.height; ++p) {
        const int index = image.RasterBits[p];
        if (index == control.TransparentColor || map == nullptr || index >= map->ColorCount) {
          picture.rgba.insert(picture.rgba.end(), {0, 0, 0, 0});
        } else {
          const GifColorType& c = map->Colors[index];
          picture.rgba.insert(picture.rgba.end(), {c.Red, c.Green, c.Blue, 255});
        }
      }
      out.frames.push_back(std::move(picture));
    }
  }
  DGifCloseFile(gif, &error);
  return out;
}
#endif

struct ToolRecordFixture : ::testing::Test {
  CTempFolder work;
  CTempFolder app;

  // The shipped Walker, which walks along the bottom of the desktop from the first frame.
  // Every run fixes the machine's load and the time of day, which Walker reacts to, so
  // two runs show the same.
  ToolRecordFixture() {
    app.MakeFolder("Characters");
    std::filesystem::copy(std::filesystem::path(ZV_TEST_DATA_DIR) / ".." / ".." / "characters" / "Walker",
                          app.Native() / "Characters" / "Walker", std::filesystem::copy_options::recursive);
    work.WriteBytes("calm.txt", "0 cpu 10\n0 clock 2026-06-01 09:30:10\n");
  }

  SToolResult Tool(std::vector<std::string> arguments, const std::string& command = "record") {
    arguments.insert(arguments.begin(), {command, "--app-dir", app.NativeString(), "--input", Path("calm.txt")});
    return ToolProcess(work.Native() / "run", work.Native() / "tool.err").Run(arguments);
  }
  std::string Path(const std::string& name) const { return (work.Native() / name).string(); }
};

TEST_F(ToolRecordFixture, AnAnimatedPngHasItsFramesNumberedCroppedAndAsRunShowsThem) {
  const std::vector<std::string> run = {"--frames", "20", "--screen", "400x300", "--seed", "7"};
  std::vector<std::string> record = run;
  record.push_back(Path("walk.png"));
  const SToolResult result = Tool(record);
  ASSERT_EQ(result.exitCode, 0) << result.standardError;
  EXPECT_EQ(result.standardError, "");

  const SApng apng = ReadApng(work.ReadBytes("walk.png"));
  EXPECT_EQ(apng.frameCount, 7u);  // frames 0, 3, ..., 18
  EXPECT_EQ(apng.plays, 0u);
  ASSERT_EQ(apng.frames.size(), 7u);
  EXPECT_GT(apng.width, 0u);
  EXPECT_LT(apng.width, 400u);
  EXPECT_LT(apng.height, 300u);
  for (const std::string& control : apng.frameControls) {
    EXPECT_EQ(Word(control, 4), apng.width);
    EXPECT_EQ(Word(control, 8), apng.height);
    EXPECT_EQ(Half(control, 20), 3u);   // 3/30 s
    EXPECT_EQ(Half(control, 22), 30u);
  }
  for (const SPicture& frame : apng.frames) EXPECT_EQ(frame.height, static_cast<int>(apng.height));
  EXPECT_NE(apng.frames.front(), apng.frames.back()) << "the walker walks";
  // A plain PNG reader sees the first frame, opaque on the default grey.
  const SPicture first = DecodePng(work.ReadBytes("walk.png"));
  EXPECT_EQ(first, apng.frames.front());
  EXPECT_EQ(std::vector<uint8_t>(first.At(0, 0), first.At(0, 0) + 4), (std::vector<uint8_t>{0x80, 0x80, 0x80, 0xFF}));

  // Frames 0 and 18 are parts of what `run --snapshot` shows of the same run.
  std::vector<std::string> snapshots = run;
  snapshots.insert(snapshots.end(), {"--snapshot", "0:" + Path("0.png"), "--snapshot", "18:" + Path("18.png")});
  ASSERT_EQ(Tool(snapshots, "run").exitCode, 0);
  const std::pair<int, int> at = FindInside(DecodePng(work.ReadBytes("0.png")), apng.frames.front());
  EXPECT_NE(at.first, -1);
  EXPECT_EQ(FindInside(DecodePng(work.ReadBytes("18.png")), apng.frames.back()), at);
}

TEST_F(ToolRecordFixture, TheSameRunGivesTheSameBytes) {
  std::vector<std::string> formats = {"png"};
#if defined(ZV_HAVE_GIF)
  formats.push_back("gif");
#endif
  for (const std::string& format : formats) {
    for (const char* name : {"a.", "b."}) {
      const SToolResult result =
          Tool({"--frames", "12", "--every", "2", "--seed", "3", "--background", "none", Path(name + format)});
      EXPECT_EQ(result.exitCode, 0) << result.standardError;
    }
    const std::string first = work.ReadBytes("a." + format);
    EXPECT_FALSE(first.empty()) << format;
    EXPECT_EQ(first, work.ReadBytes("b." + format)) << format;
  }
}

#if defined(ZV_HAVE_GIF)
// A character of two flat colours that walks to the left from the right end: few
// enough colours for a palette, so a GIF of it holds its frames exactly.
void WriteFlatWalker(const CTempFolder& app) {
  app.WriteBytes("Characters/flat/Scripts/a.func",
                 "<FUNC_MOTION_REG>\n<SET_CONFIG>\nFuncName=walk\nImageName=f.png\nWidth=16\nHeight=24\n"
                 "</SET_CONFIG>\n<SET_PARAM>\n0,0,-2,0,3\n16,0,-2,0,3\n</SET_PARAM>\n</FUNC_MOTION_REG>\n"
                 "<FUNC_ORDER_REG>\n<SET_CONFIG>\nFuncName=start\nFuncType=START_EVENT\nFuncNameMotion=walk\n"
                 "PosX=LINE_RIGHT\nPosY=LINE_BOTTOM\nTimerFrame=100\n</SET_CONFIG>\n</FUNC_ORDER_REG>\n");
  CPixelSurface picture(32, 24);
  for (int y = 0; y < 24; ++y) {
    for (int x = 0; x < 32; ++x) {
      const int cellX = x % 16;
      const bool body = cellX >= 3 && cellX < 13 && y < 18;
      const bool leg = y >= 18 && (x < 16 ? cellX == 4 || cellX == 11 : cellX == 6 || cellX == 9);
      picture.At(x, y) = body ? 0xFF3080E0u : leg ? 0xFF203050u : 0u;
    }
  }
  app.MakeFolder("Characters/flat/Images");
  WritePng(app.Engine(u"Characters\\flat\\Images\\f.png"), picture);
}

TEST_F(ToolRecordFixture, AGifHoldsTheSameFramesAsTheAnimatedPng) {
  std::filesystem::remove_all(app.Native() / "Characters" / "Walker");
  WriteFlatWalker(app);
  for (const char* name : {"walk.png", "walk.gif"}) {
    const SToolResult result = Tool({"--frames", "20", "--screen", "400x300", "--seed", "7", Path(name)});
    ASSERT_EQ(result.exitCode, 0) << result.standardError;
  }
  const SApng apng = ReadApng(work.ReadBytes("walk.png"));
  const SGif gif = ReadGif(work.Native() / "walk.gif");
  EXPECT_EQ(gif.width, static_cast<int>(apng.width));
  EXPECT_EQ(gif.height, static_cast<int>(apng.height));
  EXPECT_TRUE(gif.loops);
  EXPECT_EQ(gif.delays, std::vector<int>(7, 10));  // 3/30 s in hundredths
  // The character has few colours, so every frame is exact.
  EXPECT_EQ(gif.frames, apng.frames);
}

// A still picture with more colours than a palette holds and a half-transparent strip.
void WriteGradientCharacter(const CTempFolder& app) {
  app.WriteBytes("Characters/gradient/Scripts/a.func",
                 "<FUNC_MOTION_REG>\n<SET_CONFIG>\nFuncName=still\nImageName=g.png\nWidth=32\nHeight=32\n"
                 "</SET_CONFIG>\n<SET_PARAM>\n0,0,0,0,1\n</SET_PARAM>\n</FUNC_MOTION_REG>\n"
                 "<FUNC_ORDER_REG>\n<SET_CONFIG>\nFuncName=start\nFuncType=START_EVENT\nFuncNameMotion=still\n"
                 "PosX=LINE_LEFT\nPosY=LINE_BOTTOM\n</SET_CONFIG>\n</FUNC_ORDER_REG>\n");
  CPixelSurface picture(32, 32);
  for (int y = 0; y < 32; ++y) {
    for (int x = 0; x < 32; ++x) {
      // Opaque 0xFFRRGGBB, or alpha 64 premultiplied for the right-hand strip.
      picture.At(x, y) = x < 24 ? 0xFF000080u | static_cast<uint32_t>(x * 10) << 16 | static_cast<uint32_t>(y * 8) << 8
                                : 0x40102010u;
    }
  }
  app.MakeFolder("Characters/gradient/Images");
  WritePng(app.Engine(u"Characters\\gradient\\Images\\g.png"), picture);
}

TEST_F(ToolRecordFixture, AGifOfManyColoursIsQuantizedAndKeepsItsTransparency) {
  std::filesystem::remove_all(app.Native() / "Characters" / "Walker");
  WriteGradientCharacter(app);
  const SToolResult result = Tool({"--frames", "4", "--every", "2", "--background", "none", Path("g.gif")});
  ASSERT_EQ(result.exitCode, 0) << result.standardError;
  const SGif gif = ReadGif(work.Native() / "g.gif");
  ASSERT_EQ(gif.frames.size(), 2u);
  ASSERT_EQ(gif.width, 32);
  ASSERT_EQ(gif.height, 32);
  // giflib's quantizer works on 5 bits a channel and is coarse at the edges of its
  // boxes; a pixel mapped to the wrong palette entry would be far off.
  int worst = 0;
  int total = 0;
  for (int y = 0; y < 32; ++y) {
    for (int x = 0; x < 32; ++x) {
      const uint8_t* pixel = gif.frames[1].At(x, y);
      if (x >= 24) {
        EXPECT_EQ(pixel[3], 0) << x << "," << y;
        continue;
      }
      EXPECT_EQ(pixel[3], 255) << x << "," << y;
      const int error = std::max({std::abs(pixel[0] - x * 10), std::abs(pixel[1] - y * 8), std::abs(pixel[2] - 0x80)});
      worst = std::max(worst, error);
      total += error;
    }
  }
  EXPECT_LE(worst, 64);
  EXPECT_LE(total / (24 * 32), 16);
}
#else
TEST_F(ToolRecordFixture, ABuildWithoutGiflibRefusesAGif) {
  const SToolResult result = Tool({"--frames", "3", Path("a.gif")});
  EXPECT_EQ(result.exitCode, 2);
  EXPECT_EQ(result.standardError,
            "zelvotta-tool record: this build writes no GIF (giflib was not found); write a .png instead\n");
  EXPECT_FALSE(std::filesystem::exists(Path("a.gif")));
}
#endif

TEST_F(ToolRecordFixture, FaultyCallsAndFailedRunsWriteNothing) {
  for (const std::vector<std::string>& arguments : {std::vector<std::string>{"--frames", "3"},
                                                    {"--frames", "3", Path("a.jpg")},
                                                    {Path("a.png")},
                                                    {"--frames", "0", Path("a.png")},
                                                    {"--frames", "3", "--every", "0", Path("a.png")},
                                                    {"--frames", "3", "--background", "grey", Path("a.png")},
                                                    {"--frames", "3", Path("a.png"), Path("b.png")}}) {
    const SToolResult result = Tool(arguments);
    EXPECT_EQ(result.exitCode, 2) << arguments.back();
    EXPECT_TRUE(result.standardError.starts_with("zelvotta-tool record: ")) << result.standardError;
    EXPECT_NE(result.standardError.find("usage: zelvotta-tool record"), std::string::npos) << result.standardError;
  }
  EXPECT_FALSE(std::filesystem::exists(Path("a.png")));

  const SToolResult unwritable = Tool({"--frames", "3", Path("no-such-folder/a.png")});
  EXPECT_EQ(unwritable.exitCode, 1);
  EXPECT_EQ(unwritable.standardError, "zelvotta-tool record: cannot write '" + Path("no-such-folder/a.png") + "'\n");

  // A character fault ends the program with its message; the frames before it are no
  // recording of the run asked for.
  app.WriteBytes("Characters/broken/Scripts/a.func",
                 "<FUNC_ORDER_REG>\n<SET_CONFIG>\nFuncName=start\nFuncType=START_EVENT\nFuncNameMotion=none\n"
                 "</SET_CONFIG>\n</FUNC_ORDER_REG>\n");
  const SToolResult fault = Tool({"--frames", "30", Path("a.png")});
  EXPECT_EQ(fault.exitCode, 1);
  EXPECT_TRUE(fault.standardError.starts_with("messagebox ")) << fault.standardError;
  EXPECT_TRUE(fault.standardError.ends_with("zelvotta-tool record: the program showed an error message; nothing was "
                                            "written\n"))
      << fault.standardError;
  EXPECT_FALSE(std::filesystem::exists(Path("a.png")));
}

}  // namespace
