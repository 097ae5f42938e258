#include "platform/freetype/freetype_faces.h"

#include <fcntl.h>
#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include <sys/stat.h>
#include <unistd.h>

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

// What a face name that fontconfig does not know turns into, and what characters the
// named face lacks are drawn with: a sans-serif face, Japanese-capable when one exists.
constexpr const char* kFallbackFamily = "sans-serif";
constexpr const char* kFallbackLanguage = "ja";

}  // namespace

CFreeTypeFaces::CFreeTypeFaces() {
  if (FT_Init_FreeType(&library_) != 0) library_ = nullptr;
}

CFreeTypeFaces::~CFreeTypeFaces() {
  for (auto& [file, face] : opened_) {
    if (face != nullptr) FT_Done_Face(face);
  }
  if (library_ != nullptr) FT_Done_FreeType(library_);
}

std::pair<std::string, int> CFreeTypeFaces::Match(const std::string& name) {
  FcPattern* pattern = FcPatternCreate();
  if (pattern == nullptr) return {};
  const std::string family = name.empty() ? kFallbackFamily : name;
  FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
  // A weaker wish than the family: when the family is missing, prefer a face that
  // covers Japanese over any other default.
  FcLangSet* languages = FcLangSetCreate();
  if (languages != nullptr) {
    FcLangSetAdd(languages, reinterpret_cast<const FcChar8*>(kFallbackLanguage));
    FcPatternAddLangSet(pattern, FC_LANG, languages);
    FcLangSetDestroy(languages);
  }
  FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
  FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result = FcResultNoMatch;
  FcPattern* match = FcFontMatch(nullptr, pattern, &result);
  FcPatternDestroy(pattern);
  if (match == nullptr) return {};
  std::pair<std::string, int> file;
  FcChar8* path = nullptr;
  int index = 0;
  if (FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch && path != nullptr) {
    if (FcPatternGetInteger(match, FC_INDEX, 0, &index) != FcResultMatch) index = 0;
    file = {reinterpret_cast<const char*>(path), index};
  }
  FcPatternDestroy(match);
  return file;
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
  if (!fallbackLooked_) {
    fallbackLooked_ = true;
    fallback_ = Open(Match({}));
  }
  return fallback_;
}
