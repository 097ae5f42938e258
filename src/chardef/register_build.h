#pragma once
// Building every register of a character from its script blocks, in a fixed order:
// motions, image layers, functions, condition events, hit areas, hit events, balloons,
// balloon motions, balloon image layers, text layers, text styles. Every block is tried
// even after an error; errors collect in the definition's latch.
#include <array>
#include <functional>

#include "chardef/register_build_context.h"
#include "script/script_file_reader.h"
#include "script/vocabulary.h"

// Builds one block of a register type into context.Definition().
using RegisterBlockBuilder = std::function<void(CRegisterBuildContext& context, const CScriptParam& block)>;

// One builder per register type ORDER_REG..TEXT_STYLE_REG (index = type - ORDER_REG).
// A type without a builder has its blocks skipped: VELOCITY_EVENT_REG blocks never
// build anything.
struct SRegisterBuilders {
  std::array<RegisterBlockBuilder, TEXT_STYLE_REG - ORDER_REG + 1> byType;

  RegisterBlockBuilder& operator[](SCRIPT_TYPE type) { return byType.at(static_cast<size_t>(type - ORDER_REG)); }
  const RegisterBlockBuilder& operator[](SCRIPT_TYPE type) const {
    return byType.at(static_cast<size_t>(type - ORDER_REG));
  }
};

// The order in which register types are built; it fixes the entries' ids.
inline constexpr std::array<SCRIPT_TYPE, 11> kRegisterBuildOrder = {
    MOTION_REG,        IMAGE_LAYER_REG,         ORDER_REG,          CONDITION_EVENT_REG,
    HIT_AREA_REG,      HIT_EVENT_REG,           BALLOON_ORDER_REG,  BALLOON_MOTION_REG,
    BALLOON_IMAGE_LAYER_REG, TEXT_LAYER_REG,    TEXT_STYLE_REG,
};

// The builders of functions, motions, image layers (both kinds) and event registers.
// Balloon, text-layer and text-style builders are set by their own registers.
SRegisterBuilders DefaultRegisterBuilders();

// Builds every block of `scripts` into context.Definition() in kRegisterBuildOrder.
// Returns false, building nothing, when there is no ORDER_REG block; otherwise true,
// whether or not blocks failed (see the definition's latch).
bool BuildRegisters(CRegisterBuildContext& context, const CScriptFuncMaps& scripts,
                    const SRegisterBuilders& builders = DefaultRegisterBuilders());
