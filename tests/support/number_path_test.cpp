#include <gtest/gtest.h>

#include <optional>

#include "support/number.h"
#include "support/path.h"
#include "support/utf.h"

namespace {

TEST(Number, Converters) {
  const struct {
    std::u16string text;
    std::optional<long long> asUnsigned;  // nullopt: EConvertError
    std::optional<int> asSigned;
  } cases[] = {
      {u" \t42\t ", 42, 42},
      {u"-12", std::nullopt, -12},
      {u" -12", std::nullopt, std::nullopt},  // a blank before "-" is not allowed
      {u"- 12", std::nullopt, -12},           // but the digits after it are trimmed
      {u"-", std::nullopt, std::nullopt},
      {u"", std::nullopt, std::nullopt},
      {u"abc", std::nullopt, std::nullopt},
      {u"+5", std::nullopt, std::nullopt},
      {u"1 2", std::nullopt, std::nullopt},
      {u"4294967295", 4294967295, -1},
      {u"99999999999999999999", 1661992959, 1661992959},  // wraps modulo 2^32
      {u"-2147483648", std::nullopt, -2147483647 - 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(ToUtf8(c.text));
    if (c.asUnsigned) {
      EXPECT_EQ(ToUnsigned(c.text), *c.asUnsigned);
      EXPECT_EQ(ToUnsignedOrMinusOne(c.text), static_cast<int>(*c.asUnsigned));
    } else {
      EXPECT_THROW(ToUnsigned(c.text), EConvertError);
      EXPECT_EQ(ToUnsignedOrMinusOne(c.text), -1);
    }
    if (c.asSigned) {
      EXPECT_EQ(ToSigned(c.text), *c.asSigned);
      EXPECT_EQ(ToSignedOrZero(c.text), *c.asSigned);
    } else {
      EXPECT_THROW(ToSigned(c.text), EConvertError);
      EXPECT_EQ(ToSignedOrZero(c.text), 0);
    }
  }
}

TEST(Path, FileNameExtensionAndFolder) {
  const struct {
    std::u16string path;
    std::u16string fileName;
    std::u16string extension;
    std::u16string folder;
  } cases[] = {
      {u"C:\\x\\.\\y\\..\\z\\prog.exe", u"prog.exe", u".exe", u"C:\\x\\z\\"},
      {u"C:\\x\\a.PNG", u"a.PNG", u".PNG", u"C:\\x\\"},
      {u"dir.v2\\file", u"file", u"", u"dir.v2\\"},
      {u"a/b\\c.tar.gz", u"c.tar.gz", u".gz", u"a/b\\"},
      {u"..\\..\\a\\.hidden", u".hidden", u".hidden", u"..\\..\\a\\"},  // nothing before ".."
      {u"a\\..\\..\\b\\", u"", u"", u"..\\b\\"},
      {u"plain", u"plain", u"", u""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(ToUtf8(c.path));
    EXPECT_EQ(FileNameOf(c.path), c.fileName);
    EXPECT_EQ(ExtensionOf(c.path), c.extension);
    EXPECT_EQ(FolderOf(c.path), c.folder);
  }
}

}  // namespace
