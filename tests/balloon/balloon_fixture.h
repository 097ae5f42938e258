#pragma once
// Characters with a balloon for tests: the character fixture with a host that gives
// each character a balloon map, balloon blocks, and the balloon ids by name.
#include <string>
#include <vector>

#include "../runtime/chara_fixture.h"
#include "balloon/balloon_map.h"
#include "chardef/balloon_config.h"

// A balloon motion of the 64 x 64 test image, `width` x `height`.
inline STestBlock BalloonMotionBlock(const std::u16string& name, int width = 64, int height = 48) {
  return STestBlock{u"BALLOON_MOTION_REG",
                    {u"FuncName=" + name, u"ImageName=body.png", u"Width=" + FromUtf8(std::to_string(width)),
                     u"Height=" + FromUtf8(std::to_string(height))},
                    {u"0,0,0,0,1"}};
}

// A balloon function on the motion "box" with a 64 x 48 text area and `text` lines.
inline STestBlock BalloonBlock(const std::u16string& name, std::vector<std::u16string> text,
                               std::vector<std::u16string> settings = {}) {
  settings.insert(settings.begin(), {u"FuncName=" + name, u"FuncNameMotion=box", u"TextAreaWidth=64",
                                     u"TextAreaHeight=48"});
  return STestBlock{u"BALLOON_ORDER_REG", std::move(settings), {}, std::move(text)};
}

class BalloonFixture : public CharaFixture {
 protected:
  BalloonFixture() {
    host.makeBalloons = [this](CCharacter& character) {
      auto map = std::make_unique<CBalloonMap>(character);
      maps_.push_back(map.get());
      return map;
    };
  }

  // A character standing in one long function, with `balloons` (and the motion "box").
  CCharacter& StartWithBalloons(const std::string& name, std::vector<STestBlock> balloons,
                                std::vector<std::u16string> standSettings = {}) {
    WriteWithBalloons(name, std::move(balloons), std::move(standSettings));
    return Start(name);
  }
  void WriteWithBalloons(const std::string& name, std::vector<STestBlock> balloons,
                         std::vector<std::u16string> standSettings = {}) {
    std::vector<STestBlock> blocks = {
        MotionBlock(u"still", u"body.png", 32, 32, {u"0,0,0,0,1"}),
        BalloonMotionBlock(u"box"),
    };
    standSettings.insert(standSettings.begin(),
                         {u"FuncType=START_EVENT", u"FuncNameMotion=still", u"PosX=100", u"PosY=200"});
    blocks.push_back(FunctionBlock(u"stand", standSettings));
    for (STestBlock& block : balloons) blocks.push_back(std::move(block));
    WriteCharacter(name, blocks);
  }

  CBalloon& Main() { return *maps_.back()->Main(); }
  int IdOf(const CCharacter& character, const std::u16string& name) const {
    const CCreateFuncInfo* entry = character.Definition().registers.FindEntry(name);
    return entry != nullptr ? entry->Config().id : -1;
  }
  // The balloon functions entered, in order, from the trace.
  std::vector<std::u16string> BalloonsEntered() const {
    std::vector<std::u16string> names;
    for (const std::string& line : platform_.TraceLines()) {
      if (line.find("\"event\":\"balloon\"") == std::string::npos) continue;
      const size_t at = line.find("\"function\":\"");
      names.push_back(FromUtf8(line.substr(at + 12, line.find('"', at + 12) - at - 12)));
    }
    return names;
  }

  std::vector<CBalloonMap*> maps_;
};
