// The WAV header rules, the sound loader and its per-process sharing.
#include <gtest/gtest.h>

#include <filesystem>

#include "temp_folder.h"
#include "media/sound_load.h"
#include "media/sound_map.h"
#include "media/wav_header.h"
#include "sound_wav_builder.h"

namespace {

struct SHeaderCase {
  const char* name;
  std::string file;
  bool loads;
};

std::string FactThenData() {
  return CWavBuilder().Fmt(1, 2, 22050, 16).Chunk("fact", std::string(4, '\1')).Chunk("data", "abcd").File();
}

TEST(WavHeader, FollowsTheStrictChunkRules) {
  const std::string data = "\x80\x81\x82\x83";
  const SHeaderCase cases[] = {
      {"plain 16-byte fmt", MonoPcm8(8000, data), true},
      {"18-byte fmt, extra size 0", CWavBuilder().Fmt(1, 1, 8000, 8, 18, 0).Chunk("data", data).File(), true},
      {"40-byte fmt skips its extra bytes", CWavBuilder().Fmt(1, 1, 8000, 8, 40, 22).Chunk("data", data).File(), true},
      {"fact before data", FactThenData(), true},
      {"float format tag", CWavBuilder().Fmt(3, 1, 8000, 32).Chunk("data", data).File(), false},
      {"extensible format tag", CWavBuilder().Fmt(0xFFFE, 1, 8000, 16, 40, 22).Chunk("data", data).File(), false},
      {"LIST between fmt and data", CWavBuilder().Fmt(1, 1, 8000, 8).Chunk("LIST", "INFOxxxx").Chunk("data", data).File(), false},
      {"JUNK before fmt", CWavBuilder().Chunk("JUNK", "xx").Fmt(1, 1, 8000, 8).Chunk("data", data).File(), false},
      {"no data chunk", CWavBuilder().Fmt(1, 1, 8000, 8).File(), false},
      {"fact without data", CWavBuilder().Fmt(1, 1, 8000, 8).Chunk("fact", "1234").File(), false},
      {"RIFX byte order", "RIFX" + MonoPcm8(8000, data).substr(4), false},
      {"not WAVE", MonoPcm8(8000, data).replace(8, 4, "AVI "), false},
      {"data shorter than stated", MonoPcm8(8000, data).substr(0, 44 + 2), false},
      {"extra bytes past the end", CWavBuilder().Fmt(1, 1, 8000, 8, 18, 500).File().substr(0, 60), false},
      {"empty file", "", false},
  };
  for (const SHeaderCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(DecodeWav(c.file).has_value(), c.loads);
  }
}

TEST(WavHeader, ReportsFormatAndDataPosition) {
  const std::string file = FactThenData();
  const auto wav = DecodeWav(file);
  ASSERT_TRUE(wav);
  EXPECT_EQ(wav->info.format.channels, 2);
  EXPECT_EQ(wav->info.format.samplesPerSecond, 22050u);
  EXPECT_EQ(wav->info.format.bitsPerSample, 16);
  EXPECT_EQ(wav->info.format.blockAlign, 4);
  EXPECT_EQ(wav->info.dataOffset, 12u + 24u + 12u + 8u);
  EXPECT_EQ(wav->samples, "abcd");
}

TEST(SoundLoad, ReadsWavFilesAndSharesDataPerKey) {
  CTempFolder folder;
  folder.WriteBytes("a.WAV", MonoPcm8(11025, "\x10\x20\x30"));
  folder.WriteBytes("a.txt", MonoPcm8(11025, "\x10\x20\x30"));
  const std::u16string path = folder.Engine(u"a.WAV");

  CSoundLoad first(path, path);
  ASSERT_TRUE(first.HasData());
  EXPECT_FALSE(first.Shared());
  EXPECT_EQ(first.DataLength(), 3u);
  EXPECT_EQ(first.DataOffset(), 44u);
  EXPECT_EQ(first.Format().samplesPerSecond, 11025u);

  // The same key from another owner shares the bytes even when the file is gone.
  std::filesystem::remove(folder.Native() / "a.WAV");
  CSoundLoad second(path, path);
  ASSERT_TRUE(second.HasData());
  EXPECT_TRUE(second.Shared());
  EXPECT_EQ(second.BufferTemplate().data, first.BufferTemplate().data);

  EXPECT_FALSE(CSoundLoad(folder.Engine(u"a.txt"), folder.Engine(u"a.txt")).HasData());
  EXPECT_FALSE(CSoundLoad(folder.Engine(u"missing.wav"), folder.Engine(u"missing.wav")).HasData());
}

TEST(SoundLoad, ReadsTheKeyAgainOnceEveryOwnerIsGone) {
  CTempFolder folder;
  const std::u16string path = folder.Engine(u"b.wav");
  folder.WriteBytes("b.wav", MonoPcm8(8000, "\x01"));
  { EXPECT_EQ(CSoundLoad(path, path).DataLength(), 1u); }
  folder.WriteBytes("b.wav", MonoPcm8(8000, "\x01\x02"));
  CSoundLoad reread(path, path);
  EXPECT_FALSE(reread.Shared());
  EXPECT_EQ(reread.DataLength(), 2u);
}

TEST(SoundLoad, TheSameFileInAnotherFolderSharesItsSamplesAndANearCopyDoesNot) {
  CTempFolder folder;
  std::string samples(4096, '\x40');
  for (size_t i = 0; i < samples.size(); i += 7) samples[i] = static_cast<char>(i);
  std::string nearCopy = samples;
  nearCopy[1] = '\x41';  // between the bytes a fingerprint looks at
  folder.WriteBytes("one/voice.wav", MonoPcm8(8000, samples));
  folder.WriteBytes("two/voice.wav", MonoPcm8(8000, samples));
  folder.WriteBytes("three/voice.wav", MonoPcm8(8000, nearCopy));
  folder.WriteBytes("four/voice.wav", MonoPcm8(11025, samples));
  const std::u16string one = folder.Engine(u"one/voice.wav");
  const std::u16string two = folder.Engine(u"two/voice.wav");
  const std::u16string three = folder.Engine(u"three/voice.wav");
  const std::u16string four = folder.Engine(u"four/voice.wav");

  CSoundLoad first(one, one);
  CSoundLoad second(two, two);
  CSoundLoad third(three, three);
  CSoundLoad fourth(four, four);
  ASSERT_TRUE(first.HasData() && second.HasData() && third.HasData() && fourth.HasData());
  EXPECT_EQ(second.BufferTemplate().data, first.BufferTemplate().data);
  EXPECT_FALSE(second.Shared());  // read from its own file, then found equal
  EXPECT_NE(third.BufferTemplate().data, first.BufferTemplate().data);
  EXPECT_EQ(third.BufferTemplate().data[1], 0x41);
  EXPECT_NE(fourth.BufferTemplate().data, first.BufferTemplate().data);
  EXPECT_EQ(fourth.Format().samplesPerSecond, 11025u);
}

TEST(SoundMap, KeepsFailedKeysAndOwnsItsSounds) {
  CTempFolder folder;
  const std::u16string path = folder.Engine(u"late.wav");
  CSoundMap map;
  EXPECT_EQ(map.Load(path, path), nullptr);
  // A file that appears later is not tried again under the failed key.
  folder.WriteBytes("late.wav", MonoPcm8(8000, "\x01"));
  EXPECT_EQ(map.Load(path, path), nullptr);
  EXPECT_EQ(map.Count(), 1);

  const std::u16string other = folder.Engine(u"late2.wav");
  folder.WriteBytes("late2.wav", MonoPcm8(8000, "\x01"));
  CSoundLoad* sound = map.Load(other, other);
  ASSERT_NE(sound, nullptr);
  EXPECT_EQ(map.Load(other, other), sound);
  map.Clear();
  EXPECT_EQ(map.Count(), 0);
}

// Files of the public corpora: the ones our rules accept and the ones they refuse.
TEST(SoundLoad, ThirdPartyCorpora) {
  const std::filesystem::path root = std::filesystem::path(ZV_TEST_DATA_DIR) / "corpora";
  const std::pair<const char*, bool> files[] = {
      {"hound-wav/testsamples/pcmwaveformat-8bit-44100Hz-mono.wav", true},
      {"hound-wav/testsamples/pcmwaveformat-16bit-44100Hz-mono.wav", true},
      {"hound-wav/testsamples/pcmwaveformat-24bit-4byte-48kHz-stereo.wav", true},
      {"hound-wav/testsamples/waveformatex-16bit-44100Hz-stereo.wav", true},
      {"hound-wav/testsamples/pcmwaveformat-16bit-44100Hz-mono-extra.wav", false},
      {"hound-wav/testsamples/waveformatex-8bit-11025Hz-mono.wav", false},
      {"hound-wav/testsamples/waveformatex-ieeefloat-44100Hz-mono.wav", false},
      {"hound-wav/testsamples/waveformatextensible-32bit-48kHz-stereo.wav", false},
      {"hound-wav/testsamples/nonstandard-01.wav", false},
      {"scipy-wav/test-8000Hz-le-2ch-1byteu.wav", true},
      {"scipy-wav/test-8000Hz-le-3ch-5S-24bit.wav", true},
      {"scipy-wav/test-44100Hz-le-1ch-4bytes-early-eof.wav", false},
      {"scipy-wav/test-44100Hz-le-1ch-4bytes-early-eof-no-data.wav", false},
      {"scipy-wav/test-44100Hz-le-1ch-4bytes-incomplete-chunk.wav", false},
      {"scipy-wav/test-8000Hz-le-1ch-1byte-ulaw.wav", false},
      {"scipy-wav/test-44100Hz-be-1ch-4bytes.wav", false},
      {"cpython-audiodata/sndhdrdata/sndhdr.wav", true},
      {"cpython-audiodata/audiodata/pluck-pcm16.wav", false},
      {"sdl2-samples/sample.wav", false},
  };
  for (const auto& [name, loads] : files) {
    SCOPED_TRACE(name);
    const std::u16string path = FromNativePath(root / name);
    EXPECT_EQ(CSoundLoad(path, path).HasData(), loads);
  }
  // Fuzz findings of other readers must simply fail.
  for (const auto& entry : std::filesystem::directory_iterator(root / "hound-wav/testsamples/fuzz")) {
    const std::u16string path = FromNativePath(entry.path());
    EXPECT_FALSE(CSoundLoad(path, path).HasData()) << entry.path();
  }
}

}  // namespace
