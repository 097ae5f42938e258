// zelvotta-tool wav: loads one WAV file with the engine's sound loader and describes
// it; --play plays it once through the desktop audio output.
#include <chrono>
#include <cstdio>
#include <thread>

#include "commands.h"
#include "media/sound_load.h"
#include "media/sound_manager.h"
#ifdef _WIN32
#include "platform/win32/win32_audio.h"
#else
#include "platform/openal/openal_audio.h"
#endif
#include "support/utf.h"

namespace {

constexpr char kWavUsage[] = "usage: zelvotta-tool wav FILE [--play]\n";

int PlayOnce(const std::u16string& path, const CSoundLoad& sound) {
#ifdef _WIN32
  CWin32Audio audio(EWin32AudioDevice::kDeviceOnly);
#else
  COpenAlAudio audio;
#endif
  CSoundManager channel(audio);
  if (!channel.Play(path, 0)) {
    std::fputs("zelvotta-tool wav: cannot play: no audio output could be opened for this sound\n", stderr);
    return 1;
  }
  // Waits for the end, with a margin over the sound's length in case the device stalls.
  const uint32_t bytesPerSecond = sound.Format().averageBytesPerSecond ? sound.Format().averageBytesPerSecond : 1;
  const auto limit = std::chrono::steady_clock::now() +
                     std::chrono::milliseconds(uint64_t{sound.DataLength()} * 1000 / bytesPerSecond + 2000);
  while (channel.IsPlaying() && std::chrono::steady_clock::now() < limit) {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  channel.StopAndRelease();
  return 0;
}

}  // namespace

int RunWavCommand(const ToolArguments& arguments) {
  std::string file;
  bool play = false;
  for (const std::string& argument : arguments) {
    if (argument == "--play") {
      play = true;
    } else if (file.empty() && !argument.empty() && argument[0] != '-') {
      file = argument;
    } else {
      std::fprintf(stderr, "zelvotta-tool wav: unexpected argument '%s'\n%s", argument.c_str(), kWavUsage);
      return 2;
    }
  }
  if (file.empty()) {
    std::fputs(kWavUsage, stderr);
    return 2;
  }
  const std::u16string path = FromUtf8(file);
  const CSoundLoad sound(path, path);
  if (!sound.HasData()) {
    std::puts("fail");
    return 1;
  }
  const SPcmFormat& format = sound.Format();
  std::printf("ok %u %u %u %u\n", format.channels, format.samplesPerSecond, format.bitsPerSample, sound.DataLength());
  std::fflush(stdout);
  return play ? PlayOnce(path, sound) : 0;
}
