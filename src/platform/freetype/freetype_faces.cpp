#include "platform/freetype/freetype_faces.h"

#include <fcntl.h>
#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include FT_FREETYPE_H

namespace {

// Faces read their files with pread rather than FreeType's default of mapping them:
// the parts a face looks at stay in the system's file cache instead of in this
// process, which matters for Japanese faces of several megabytes.
unsigned long ReadFontFile(FT_Stream stream, unsigned long offset, unsigned char* buffer, unsigned long count) {
  // A read of nothing is a seek; anything but 0 reports it as failed.
  if (count == 0) return offset > stream->size ? 1 : 0;
  const int fd = static_cast<int>(stream->descriptor.value);
  unsigned long done = 0;
  while (done < count) {
    const ssize_t got = pread(fd, buffer + done, count - done, static_cast<off_t>(offset + done));
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;
    done += static_cast<unsigned long>(got);
  }
  return done;
}

// FreeType closes the stream when the face is done, or when opening it failed.
void CloseFontFile(FT_Stream stream) {
  close(static_cast<int>(stream->descriptor.value));
  delete stream;
}

FT_Face OpenFaceReadingFile(FT_Library library, const std::string& path, int index) {
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return nullptr;
  struct stat info {};
  if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_size <= 0) {
    close(fd);
    return nullptr;
  }
  auto* stream = new FT_StreamRec{};
  stream->size = static_cast<unsigned long>(info.st_size);
  stream->descriptor.value = fd;
  stream->read = ReadFontFile;
  stream->close = CloseFontFile;
  FT_Open_Args args{};
  args.flags = FT_OPEN_STREAM;
  args.stream = stream;
  FT_Face face = nullptr;
  if (FT_Open_Face(library, &args, index, &face) != 0) face = nullptr;
  return face;
}

// What unnamed text, a face name the machine lacks, and the characters a named face
// lacks are drawn with: a sans-serif face, Japanese-capable when one exists.
constexpr const char* kFallbackFamily = "sans-serif";
constexpr const char* kFallbackLanguage = "ja";

// The names fontconfig's configuration stands for a face of its choice; a match for one
// of them is always the face asked for.
constexpr const char* kGenericFamilies[] = {"sans-serif", "sans", "serif", "monospace", "mono",
                                            "system-ui", "cursive", "fantasy", "emoji", "math"};

// A pattern for `family`, scalable, preferring faces that cover Japanese over any other
// default, with the configuration's substitutions applied.
FcPattern* MakePattern(const std::string& family) {
  FcPattern* pattern = FcPatternCreate();
  if (pattern == nullptr) return nullptr;
  FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
  FcLangSet* languages = FcLangSetCreate();
  if (languages != nullptr) {
    FcLangSetAdd(languages, reinterpret_cast<const FcChar8*>(kFallbackLanguage));
    FcPatternAddLangSet(pattern, FC_LANG, languages);
    FcLangSetDestroy(languages);
  }
  FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
  FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  return pattern;
}

std::pair<std::string, int> FileOf(FcPattern* font) {
  FcChar8* path = nullptr;
  if (FcPatternGetString(font, FC_FILE, 0, &path) != FcResultMatch || path == nullptr) return {};
  int index = 0;
  if (FcPatternGetInteger(font, FC_INDEX, 0, &index) != FcResultMatch) index = 0;
  return {reinterpret_cast<const char*>(path), index};
}

// Whether one of the font's family names is `name` (letter case aside).
bool HasFamily(FcPattern* font, const std::string& name) {
  FcChar8* family = nullptr;
  for (int i = 0; FcPatternGetString(font, FC_FAMILY, i, &family) == FcResultMatch; ++i) {
    if (FcStrCmpIgnoreCase(family, reinterpret_cast<const FcChar8*>(name.c_str())) == 0) return true;
  }
  return false;
}

bool IsGenericFamily(const std::string& name) {
  for (const char* generic : kGenericFamilies) {
    if (FcStrCmpIgnoreCase(reinterpret_cast<const FcChar8*>(name.c_str()),
                                    reinterpret_cast<const FcChar8*>(generic)) == 0) {
      return true;
    }
  }
  return false;
}

// A font without a spacing is proportional too: fontconfig only records the others.
bool IsProportional(FcPattern* font) {
  int spacing = FC_PROPORTIONAL;
  return FcPatternGetInteger(font, FC_SPACING, 0, &spacing) != FcResultMatch || spacing == FC_PROPORTIONAL;
}

bool CoversJapanese(FcPattern* font) {
  FcLangSet* languages = nullptr;
  return FcPatternGetLangSet(font, FC_LANG, 0, &languages) == FcResultMatch && languages != nullptr &&
         FcLangSetHasLang(languages, reinterpret_cast<const FcChar8*>(kFallbackLanguage)) == FcLangEqual;
}

}  // namespace

CFreeTypeFaces::CFreeTypeFaces() {
  if (FT_Init_FreeType(&library_) != 0) library_ = nullptr;
}

CFreeTypeFaces::~CFreeTypeFaces() {
  for (auto& [file, face] : opened_) {
    if (face != nullptr) FT_Done_Face(face);
  }
  for (SFallbackFace& fallback : fallbacks_) FcCharSetDestroy(fallback.charset);
  if (library_ != nullptr) FT_Done_FreeType(library_);
}

std::pair<std::string, int> CFreeTypeFaces::Match(const std::string& name) {
  if (name.empty()) {
    LookForFallbacks();
    return fallbacks_.empty() ? std::pair<std::string, int>{} : fallbacks_.front().file;
  }
  FcPattern* pattern = MakePattern(name);
  if (pattern == nullptr) return {};
  FcResult result = FcResultNoMatch;
  FcPattern* match = FcFontMatch(nullptr, pattern, &result);
  FcPatternDestroy(pattern);
  if (match == nullptr) return {};
  // fontconfig always offers its best guess; a face of another name means the machine
  // lacks the one asked for, and such text is set like unnamed text.
  std::pair<std::string, int> file;
  if (HasFamily(match, name) || IsGenericFamily(name)) file = FileOf(match);
  FcPatternDestroy(match);
  if (file.first.empty()) return Match({});
  return file;
}

void CFreeTypeFaces::LookForFallbacks() {
  if (fallbacksLooked_) return;
  fallbacksLooked_ = true;
  FcPattern* pattern = MakePattern(kFallbackFamily);
  if (pattern == nullptr) return;
  FcResult result = FcResultNoMatch;
  FcFontSet* sorted = FcFontSort(nullptr, pattern, FcFalse, nullptr, &result);
  FcPatternDestroy(pattern);
  if (sorted == nullptr) return;
  for (int i = 0; i < sorted->nfont; ++i) {
    FcPattern* font = sorted->fonts[i];
    FcBool scalable = FcFalse;
    FcCharSet* charset = nullptr;
    if (FcPatternGetBool(font, FC_SCALABLE, 0, &scalable) != FcResultMatch || !scalable) continue;
    if (FcPatternGetCharSet(font, FC_CHARSET, 0, &charset) != FcResultMatch || charset == nullptr) continue;
    std::pair<std::string, int> file = FileOf(font);
    if (file.first.empty()) continue;
    fallbacks_.push_back({std::move(file), FcCharSetCopy(charset), IsProportional(font), CoversJapanese(font)});
  }
  FcFontSetDestroy(sorted);
  // In fontconfig's order of preference, proportional faces before the monospaced ones,
  // which only draw what no proportional face has; the first proportional face that
  // covers Japanese leads, so Latin and Japanese text are set in one face.
  std::stable_partition(fallbacks_.begin(), fallbacks_.end(), [](const SFallbackFace& f) { return f.proportional; });
  const auto japanese = std::find_if(fallbacks_.begin(), fallbacks_.end(),
                                     [](const SFallbackFace& f) { return f.proportional && f.japanese; });
  if (japanese != fallbacks_.end()) std::rotate(fallbacks_.begin(), japanese, japanese + 1);
}

FT_FaceRec_* CFreeTypeFaces::Open(const std::pair<std::string, int>& file) {
  if (library_ == nullptr || file.first.empty()) return nullptr;
  auto found = opened_.find(file);
  if (found != opened_.end()) return found->second;
  FT_Face face = OpenFaceReadingFile(library_, file.first, file.second);
  if (face != nullptr && FT_Select_Charmap(face, FT_ENCODING_UNICODE) != 0 && face->charmap == nullptr) {
    // A face without a Unicode map cannot be asked for characters.
    FT_Done_Face(face);
    face = nullptr;
  }
  opened_.emplace(file, face);
  return face;
}

FT_FaceRec_* CFreeTypeFaces::FaceFor(const std::string& name) {
  if (name.empty()) return Fallback();
  auto found = byName_.find(name);
  if (found != byName_.end()) return found->second;
  FT_FaceRec_* face = Open(Match(name));
  if (face == nullptr) face = Fallback();
  byName_.emplace(name, face);
  return face;
}

FT_FaceRec_* CFreeTypeFaces::Fallback() {
  LookForFallbacks();
  for (const SFallbackFace& fallback : fallbacks_) {
    if (FT_FaceRec_* face = Open(fallback.file)) return face;
  }
  return nullptr;
}

FT_FaceRec_* CFreeTypeFaces::FallbackFor(char32_t code) {
  LookForFallbacks();
  for (const SFallbackFace& fallback : fallbacks_) {
    if (!FcCharSetHasChar(fallback.charset, static_cast<FcChar32>(code))) continue;
    if (FT_FaceRec_* face = Open(fallback.file)) return face;
  }
  return nullptr;
}
