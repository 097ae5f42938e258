#include <gtest/gtest.h>

#include "app/start_options.h"

namespace {

struct SOptionCase {
  std::vector<std::u16string> arguments;
  bool taskbar;
};

TEST(StartOptions, OnlyTaskbarWithAPrefixBeforeTheFirstPlainWordCounts) {
  const SOptionCase cases[] = {
      {{}, false},
      {{u"/taskbar"}, true},
      {{u"-taskbar"}, true},
      {{u"taskbar"}, false},                       // no prefix: not an option, ends the list
      {{u"/TaskBar"}, false},                      // names are case-sensitive
      {{u"-other", u"/taskbar"}, true},            // unknown names are skipped
      {{u"word", u"/taskbar"}, false},             // a plain word ends the options
      {{u"/taskbar", u"word", u"-x"}, true},
      {{u"", u"/taskbar"}, false},                 // an empty argument has no prefix
      {{u"/taskbarx"}, false},
  };
  for (const SOptionCase& c : cases) {
    EXPECT_EQ(ParseStartOptions(c.arguments).taskbar, c.taskbar) << "case with " << c.arguments.size() << " arguments";
  }
}

}  // namespace
