// Hit events end to end in zelvotta-tool run with scripted input: a click on an area, a
// stroke over another, and the cursor the character shows, all in the trace.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "temp_folder.h"
#include "tool_process.h"

namespace {

const char kScript[] = R"(
<FUNC_MOTION_REG>
<SET_CONFIG>
FuncName=stand
ImageName=body.png
Width=32
Height=32
</SET_CONFIG>
<SET_PARAM>
0,0,0,0,1
</SET_PARAM>
</FUNC_MOTION_REG>
<FUNC_ORDER_REG>
<SET_CONFIG>
FuncName=start
FuncType=START_EVENT
FuncNameMotion=stand
PosX=216
PosY=232
ListHitEvent=press,rub
CursorName=hand.cur
</SET_CONFIG>
</FUNC_ORDER_REG>
<FUNC_ORDER_REG>
<SET_CONFIG>
FuncName=pressed
FuncType=NONE_EVENT
FuncNameMotion=stand
PosX=target.X
PosY=target.Y
</SET_CONFIG>
</FUNC_ORDER_REG>
<FUNC_ORDER_REG>
<SET_CONFIG>
FuncName=rubbed
FuncType=NONE_EVENT
FuncNameMotion=stand
</SET_CONFIG>
</FUNC_ORDER_REG>
<FUNC_HIT_AREA_REG>
<SET_CONFIG>
FuncName=top
AreaType=RECT
Width=my.Width
Height=my.Height/2
</SET_CONFIG>
</FUNC_HIT_AREA_REG>
<FUNC_HIT_AREA_REG>
<SET_CONFIG>
FuncName=bottom
AreaType=RECT
Width=my.Width
Height=my.Height/2
PosY=Height
</SET_CONFIG>
</FUNC_HIT_AREA_REG>
<FUNC_HIT_EVENT_REG>
<SET_CONFIG>
FuncName=press
HitType=CLICK_L_BUTTON
MyHitArea=top
FuncListHit=pressed
</SET_CONFIG>
</FUNC_HIT_EVENT_REG>
<FUNC_HIT_EVENT_REG>
<SET_CONFIG>
FuncName=rub
HitType=STROKE_CURSOR
MyHitArea=bottom
FuncListHit=rubbed
</SET_CONFIG>
</FUNC_HIT_EVENT_REG>
)";

struct ToolHitFixture : ::testing::Test {
  CTempFolder work;
  CTempFolder app;

  // "Rubby" stands at 200, 200 (32 x 32, opaque): clicks on its top half, strokes on
  // its bottom half.
  ToolHitFixture() {
    const std::filesystem::path folder = app.Native() / "Characters" / "Rubby";
    app.WriteBytes("Characters/Rubby/Scripts/rubby.func", kScript);
    std::filesystem::create_directories(folder / "Images");
    std::filesystem::create_directories(folder / "Cursors");
    const std::filesystem::path data(ZV_TEST_DATA_DIR);
    std::filesystem::copy_file(data / "images/pngsuite/basn2c08.png", folder / "Images/body.png");
    std::filesystem::copy_file(data / "corpora/pillow/Tests/images/deerstalker.cur", folder / "Cursors/hand.cur");
  }

  std::string RunWith(const std::string& input) {
    work.WriteBytes("input.txt", input);
    const SToolResult result =
        ToolProcess(work.Native() / "run", work.Native() / "tool.err")
            .Run({"run", "--app-dir", app.NativeString(), "--screen", "800x600", "--frames", "40", "--input",
                  (work.Native() / "input.txt").string(), "--trace", (work.Native() / "trace.jsonl").string()});
    EXPECT_EQ(result.exitCode, 0) << result.standardError;
    return work.ReadBytes("trace.jsonl");
  }
  static size_t Count(const std::string& trace, const std::string& part) {
    size_t count = 0;
    for (size_t at = trace.find(part); at != std::string::npos; at = trace.find(part, at + 1)) ++count;
    return count;
  }
};

TEST_F(ToolHitFixture, AClickOnTheTopAreaFiresTheClickEventAndPlacesTheNextFunctionAtTheTarget) {
  const std::string trace = RunWith("3 move 210 205\n3 ldown\n4 lup\n");
  EXPECT_EQ(Count(trace, "\"event\":\"hit\",\"chara\":\"Rubby\",\"name\":\"press\",\"kind\":\"CLICK_L_BUTTON\",\"target\":\"\""),
            1u)
      << trace;
  EXPECT_EQ(Count(trace, "\"function\":\"pressed\",\"id\":"), 1u);
  EXPECT_EQ(Count(trace, "\"type\":\"NONE_EVENT\",\"slot\":7"), 1u);
  EXPECT_EQ(Count(trace, "\"event\":\"cursor\",\"chara\":\"Rubby\",\"cursor\":\"hand.cur\""), 1u);
}

TEST_F(ToolHitFixture, SixteenDistinctPositionsOverTheBottomAreaFireTheStroke) {
  std::ostringstream input;
  for (int i = 0; i < 15; ++i) input << 2 + i / 4 << " move " << 202 + i << " 220\n";
  input << "6 move 216 220\n";  // where the cursor already is: not counted
  const std::string fifteen = input.str();
  EXPECT_EQ(Count(RunWith(fifteen), "\"event\":\"hit\""), 0u);
  const std::string trace = RunWith(fifteen + "7 move 230 225\n");
  EXPECT_EQ(Count(trace, "\"name\":\"rub\",\"kind\":\"STROKE_CURSOR\""), 1u) << trace;
  EXPECT_EQ(Count(trace, "\"function\":\"rubbed\""), 1u);
}

TEST_F(ToolHitFixture, WithTheMouseDisabledTheCharacterShowsTheArrow) {
  const std::string trace = RunWith("3 move 210 205\n4 command 32812\n5 move 211 205\n");
  const size_t hand = trace.find("\"cursor\":\"hand.cur\"");
  const size_t arrow = trace.find("\"cursor\":\"arrow\"");
  ASSERT_NE(hand, std::string::npos) << trace;
  ASSERT_NE(arrow, std::string::npos) << trace;
  EXPECT_LT(hand, arrow);
}

}  // namespace
