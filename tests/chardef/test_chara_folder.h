#pragma once
// A character folder in a temporary application folder, for tests that load media and
// scripts from disk: scripts written from test blocks, PNG images of chosen sizes, and
// a sound and a cursor copied from the third-party corpora. While the object lives the
// temporary folder is the program's application folder.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "application_folder_scope.h"
#include "register_test_blocks.h"
#include "temp_folder.h"
#include "chardef/definition_validator.h"
#include "chardef/motion_config.h"
#include "chardef/order_config.h"
#include "media/pixel_surface.h"
#include "media/png_writer.h"
#include "platform/audio.h"
#include "support/utf.h"

// No audio device: channels load sounds but never open an output.
class CTestNoAudio final : public IAudio {
 public:
  std::unique_ptr<IAudioOutput> Open(const SPcmFormat&, AudioBufferDone) override { return nullptr; }
};

// Records each hand-over as "function>motion", with the function's resolved motion id
// and condition-event count at that moment.
class CRecordingHitTestSetUp final : public IFunctionHitTestSetUp {
 public:
  struct SCall {
    std::u16string function;
    std::u16string motion;
    int motionId;
    size_t conditionEvents;
  };
  void SetUpFunctionHitTest(COrderConfig& function, const CMotionConfig& motion) override {
    calls.push_back({function.name, motion.name, function.motionId, function.conditionEvents.size()});
  }
  std::vector<std::u16string> Names() const {
    std::vector<std::u16string> names;
    for (const SCall& call : calls) names.push_back(call.function + u">" + call.motion);
    return names;
  }
  std::vector<SCall> calls;
};

// The script text of `blocks` as a UTF-8 file.
inline std::string ScriptFileOf(const std::vector<STestBlock>& blocks) {
  std::u16string text;
  ForEachTestBlockLine(blocks, [&text](const std::u16string& line) { text += line + u"\n"; });
  return ToUtf8(text);
}

class CTestCharaFolder {
 public:
  // The corpus files every test character may use.
  static std::filesystem::path SoundSample() {
    return std::filesystem::path(ZV_TEST_DATA_DIR) / "corpora/hound-wav/testsamples/pcmwaveformat-8bit-44100Hz-mono.wav";
  }
  static std::filesystem::path CursorSample() {
    return std::filesystem::path(ZV_TEST_DATA_DIR) / "corpora/pillow/Tests/images/deerstalker.cur";
  }

  // Files go below Characters/<folder>/.
  void Write(const std::string& folder, const std::string& relative, std::string_view bytes) const {
    app_.WriteBytes(CharaPath(folder, relative), bytes);
  }
  void WriteScripts(const std::string& folder, const std::vector<STestBlock>& blocks) const {
    Write(folder, "Scripts/test.func", ScriptFileOf(blocks));
  }
  // A transparent PNG of the given size in the Images folder.
  void WriteImage(const std::string& folder, const std::string& name, int width, int height) const {
    app_.MakeFolder(CharaPath(folder, "Images"));
    const std::u16string path = FromNativePath(app_.Native() / CharaPath(folder, "Images/" + name));
    ASSERT_TRUE(WritePng(path, CPixelSurface(width, height))) << name;
  }
  void WriteSound(const std::string& folder, const std::string& name) const {
    Copy(SoundSample(), CharaPath(folder, "Sounds/" + name));
  }
  void WriteCursor(const std::string& folder, const std::string& name) const {
    Copy(CursorSample(), CharaPath(folder, "Cursors/" + name));
  }

 private:
  static std::filesystem::path CharaPath(const std::string& folder, const std::string& relative) {
    return std::filesystem::path("Characters") / folder / relative;
  }
  void Copy(const std::filesystem::path& from, const std::filesystem::path& relative) const {
    app_.MakeFolder(relative.parent_path());
    // The corpus files are read-only; a copy that tests may overwrite must not be.
    std::filesystem::copy_file(from, app_.Native() / relative, std::filesystem::copy_options::overwrite_existing);
    std::filesystem::permissions(app_.Native() / relative, std::filesystem::perms::owner_read |
                                                                std::filesystem::perms::owner_write);
  }

  CTempFolder app_;
  CApplicationFolderScope scope_{app_.Engine() + u'\\'};
};
