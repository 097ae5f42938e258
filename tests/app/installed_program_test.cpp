// The program as the package installs it, run in this process on the headless platform:
// <prefix>/bin/zelvotta with the shipped characters in <prefix>/share/zelvotta and the
// user's own in their data folder.
#include <gtest/gtest.h>

#include <clocale>
#include <filesystem>
#include <string>
#include <vector>

#include "app/program.h"
#include "application_folder_scope.h"
#include "media/pixel_surface.h"
#include "media/png_writer.h"
#include "platform/headless/headless_platform.h"
#include "support/file_system.h"
#include "temp_folder.h"

namespace {

// A character whose start function is `function`, showing `image` (in its own Images
// folder) when one is given.
std::string StartScript(const std::string& function, const std::string& image = {}) {
  std::string script;
  if (!image.empty()) {
    script += "<FUNC_MOTION_REG>\n<SET_CONFIG>\nFuncName=look\nImageName=" + image +
              "\nWidth=4\nHeight=4\n</SET_CONFIG>\n<SET_PARAM>\n0,0,0,0,1\n</SET_PARAM>\n</FUNC_MOTION_REG>\n";
  }
  return script + "<FUNC_ORDER_REG>\n<SET_CONFIG>\nFuncName=" + function +
         "\nFuncType=START_EVENT\nFuncNameMotion=" + (image.empty() ? "|MOTION_OBJECT_HIDE|" : "look") +
         "\n</SET_CONFIG>\n</FUNC_ORDER_REG>\n";
}

struct InstalledProgramFixture : ::testing::Test {
  CTempFolder root;
  CApplicationFolderScope restoresTheFolders{u""};
  const std::u16string userData = root.Engine(u"home\\.local\\share\\zelvotta\\");

  InstalledProgramFixture() {
    root.MakeFolder("usr/bin");
    root.WriteBytes("usr/share/zelvotta/Characters/Hopper/Scripts/a.func", StartScript("shipped"));
    root.WriteBytes("usr/share/zelvotta/Characters/Walker/Scripts/a.func", StartScript("walk", "walker.png"));
    WritePicture(u"usr\\share\\zelvotta\\Characters\\Walker\\Images\\walker.png");
    root.WriteBytes("home/.local/share/zelvotta/Characters/Hopper/Scripts/a.func", StartScript("mine", "mine.png"));
    WritePicture(u"home\\.local\\share\\zelvotta\\Characters\\Hopper\\Images\\mine.png");
  }

  void WritePicture(std::u16string_view relative) const {
    root.MakeFolder(ToNativePath(root.Engine(relative)).parent_path());
    WritePng(root.Engine(relative), CPixelSurface(4, 4));
  }

  // Runs the program from <root>/<binFolder> for a few frames; the trace lines.
  std::vector<std::string> Run(std::u16string_view binFolder) {
    SHeadlessOptions options;
    options.executablePath = root.Engine(std::u16string(binFolder) + u"\\zelvotta");
    options.runtimeDir = root.NativeString() + "/run";
    options.quitAfterFrames = 3;
    CHeadlessPlatform platform(options);
    SProgramOptions program;
    program.installedDataPath = u"..\\share\\zelvotta";
    program.userDataFolder = userData;
    // The program takes the user's locale; the tests after this one keep theirs.
    const std::string locale = std::setlocale(LC_ALL, nullptr);
    EXPECT_EQ(RunProgram(platform, {}, program), 0);
    std::setlocale(LC_ALL, locale.c_str());
    return platform.TraceLines();
  }

  static size_t Count(const std::vector<std::string>& lines, const std::string& part) {
    size_t count = 0;
    for (const std::string& line : lines) count += line.find(part) != std::string::npos ? 1 : 0;
    return count;
  }
};

TEST_F(InstalledProgramFixture, RunsTheUsersAndTheInstalledCharactersAndKeepsParamsInTheUsersFolder) {
  const std::vector<std::string> trace = Run(u"usr\\bin");
  EXPECT_EQ(Count(trace, "\"characters\":[\"Hopper\",\"Walker\"]"), 1u);
  // The user's Hopper, with its own image; Walker from the installed folder.
  EXPECT_EQ(Count(trace, "\"chara\":\"Hopper\",\"function\":\"mine\""), 1u);
  EXPECT_EQ(Count(trace, "\"function\":\"shipped\""), 0u);
  EXPECT_EQ(Count(trace, "\"chara\":\"Walker\",\"function\":\"walk\""), 1u);
  EXPECT_EQ(Count(trace, "\"event\":\"messagebox\""), 0u);

  const std::filesystem::path params = root.Native() / "home/.local/share/zelvotta/Params";
  EXPECT_TRUE(std::filesystem::is_regular_file(params / "app.cfg"));
  EXPECT_TRUE(std::filesystem::is_regular_file(params / "Hopper.param"));
  EXPECT_TRUE(std::filesystem::is_regular_file(params / "Walker.param"));
  EXPECT_FALSE(std::filesystem::exists(root.Native() / "usr/bin/Params"));
  EXPECT_FALSE(std::filesystem::exists(root.Native() / "usr/share/zelvotta/Params"));
}

TEST_F(InstalledProgramFixture, AProgramWithCharactersBesideItIgnoresTheInstalledOnes) {
  root.WriteBytes("usr/bin/Characters/Solo/Scripts/a.func", StartScript("solo"));
  const std::vector<std::string> trace = Run(u"usr\\bin");
  EXPECT_EQ(Count(trace, "\"characters\":[\"Solo\"]"), 1u);
  EXPECT_TRUE(std::filesystem::is_regular_file(root.Native() / "usr/bin/Params/Solo.param"));
  EXPECT_FALSE(std::filesystem::exists(root.Native() / "home/.local/share/zelvotta/Params"));
}

}  // namespace
