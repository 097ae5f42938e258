#include "script/name_tables.h"

namespace {

constexpr std::u16string_view kScriptType[] = {
    u"<FUNC_", u"</FUNC_", u"SCRIPT_TYPE_BEGIN", u"ORDER_REG", u"MOTION_REG", u"IMAGE_LAYER_REG",
    u"HIT_AREA_REG", u"HIT_EVENT_REG", u"VELOCITY_EVENT_REG", u"CONDITION_EVENT_REG",
    u"BALLOON_ORDER_REG", u"BALLOON_MOTION_REG", u"BALLOON_IMAGE_LAYER_REG", u"TEXT_LAYER_REG",
    u"TEXT_STYLE_REG", u"SCRIPT_TYPE_END", u"SCRIPT_TYPE_NONE",
};

constexpr std::u16string_view kBuiltin[] = {
    u"Rand", u"GetMemoryStatus", u"GetCPUStatus", u"Year", u"Month", u"Day", u"DayOfWeek",
    u"DayOfYear", u"Hour", u"Minute", u"Second", u"Open", u"Close", u"Clear", u"Wait",
    u"SetTextStyle", u"SetFont", u"SetFontSize", u"SetFontColor", u"SetSpeed",
};

constexpr std::u16string_view kToken[] = {
    u"IDENTIFIER", u"INTEGER", u"STRING", u"VARIABLE", u"KEYWORD_BEGIN",
    u"TRUE", u"FALSE", u"Width", u"Height", u"my.Width", u"my.Height", u"chara.Width",
    u"chara.Height", u"bal.Width", u"bal.Height", u"target.Width", u"target.Height", u"X", u"Y",
    u"LINE_LEFT", u"LINE_RIGHT", u"LINE_TOP", u"LINE_BOTTOM", u"target.X", u"target.Y",
    u"KEYWORD_END", u"OPERATOR_BEGIN",
    u"==", u"!=", u">=", u">", u"<=", u"<",
    u"+=", u"-=", u"*=", u"/=", u"%=", u"&=", u"^=", u"|=", u"=",
    u"+", u"-", u"*", u"/", u"%", u"!", u"&&", u"||", u"~", u"&", u"|", u"^", u".", u"?",
    u"DUMMY_OPERATOR", u"UNARY_PLUS", u"UNARY_MINUS", u"OPERATOR_END",
    u"SEPARATOR_BEGIN", u";", u",", u":", u"(", u")", u"SEPARATOR_END", u"TOKEN_NONE",
};
static_assert(std::size(kToken) == TOKEN_COUNT);

constexpr std::u16string_view kCpuVendor[] = {u"GenuineIntel", u"AuthenticAMD", u"Unknown"};

constexpr std::u16string_view kStatusSelector[] = {
    u"MEMORY_STATUS_BEGIN", u"UsageRate", u"Total", u"Free", u"Used", u"TotalPageFile",
    u"FreePageFile", u"UsedPageFile", u"TotalVirtual", u"FreeVirtual", u"UsedVirtual",
    u"FreeExtendedVirtual", u"MEMORY_STATUS_END", u"CPU_STATUS_BEGIN", u"Vendor", u"UsageRate",
    u"ClockRate", u"NumberOfCore", u"CPU_STATUS_END",
};

constexpr std::u16string_view kFuncType[] = {
    u"FUNC_TYPE_BEGIN", u"START_EVENT", u"EXIT_EVENT", u"SHOW_EVENT", u"HIDE_EVENT",
    u"LEFT_EVENT", u"RIGHT_EVENT", u"TOP_EVENT", u"BOTTOM_EVENT", u"NONE_EVENT", u"RECT_EVENT",
    u"LEFT_EVENT_FUZZY", u"RIGHT_EVENT_FUZZY", u"TOP_EVENT_FUZZY", u"BOTTOM_EVENT_FUZZY",
    u"LINE_UP_TOP_EVENT", u"LINE_UP_BOTTOM_EVENT", u"LINE_DOWN_TOP_EVENT",
    u"LINE_DOWN_BOTTOM_EVENT", u"L_BUTTON_EVENT", u"RELEASE_EVENT", u"MENU_EVENT",
    u"CUSTOM_EVENT", u"REGION_EVENT", u"FUNC_TYPE_END",
    u"POSITION_DATA_BEGIN", u"LINE_LEFT", u"LINE_RIGHT", u"LINE_TOP", u"LINE_BOTTOM", u"X", u"Y",
    u"POSITION_DATA_END",
    u"BALLOON_CALL_TYPE_BEGIN", u"NORMAL", u"WAIT", u"FORCE", u"BALLOON_CALL_TYPE_END",
    u"HIT_TYPE_BEGIN", u"HIT_CHARA", u"HIT_MAP", u"HIT_CURSOR", u"CLICK_L_BUTTON",
    u"STROKE_CURSOR", u"HIT_TYPE_END",
    u"HIT_AREA_TYPE_BEGIN", u"RECT", u"OUT_RECT", u"HIT_AREA_TYPE_END",
    u"LIMIT_CMP_BEGIN", u"==", u">=", u"<=", u">", u"<", u"", u"LIMIT_CMP_END",
    u"SCRIPT_NONE",
};
static_assert(std::size(kFuncType) == SCRIPT_NONE + 1);

constexpr std::u16string_view kFuncList[] = {
    u"FuncListEvent", u"FuncListTimer", u"FuncListMenu", u"FuncListExit", u"FuncListHide",
    u"FuncListLButton", u"FuncListTurn", u"FuncListEndLine", u"FuncListCustom",
    u"FuncListRegion", u"FuncListLeftEvent", u"FuncListRightEvent", u"FuncListTopEvent",
    u"FuncListBottomEvent", u"FUNC_LIST_END",
};

constexpr std::u16string_view kListKey[] = {
    u"LIST_ORDER_BEGIN", u"ListHitArea", u"ListHitEvent", u"ListConditionEvent",
    u"LIST_ORDER_END", u"LIST_HIT_EVENT_BEGIN", u"TargetID", u"TargetHitArea", u"MyHitArea",
    u"LIST_HIT_EVENT_END",
};

constexpr std::u16string_view kFreeFunc[] = {
    u"FREE_FUNC_NUMBER_BEGIN", u"|ORDER_OBJECT_HIDE|", u"|MOTION_OBJECT_HIDE|",
    u"|BALLOON_ORDER_OBJECT_HIDE|", u"|BALLOON_MOTION_OBJECT_HIDE|",
    u"|DEFAULT_TEXT_STYLE_FUNC|", u"FREE_FUNC_NUMBER_END",
};

constexpr std::u16string_view kIntervalType[] = {
    u"INTERVAL_TYPE_BEGIN", u"ONLY_ONCE", u"EVERY_FRAME", u"EVERY_SECOND", u"EVERY_MINUTE",
    u"EVERY_HOUR", u"INTERVAL_TYPE_END",
};

constexpr std::u16string_view kTextParamType[] = {
    u"TEXT_PARAM_TYPE_BEGIN", u"\"", u"SetTextStyle(", u"SetFont(", u"SetFontColor(",
    u"SetFontSize(", u"SetSpeed(", u"NextPage(", u"Wait(", u"Open(", u"Close(", u"Clear(",
    u"TEXT_PARAM_TYPE_END",
};

constexpr std::u16string_view kQuotedCommand[] = {u"SetFontColor", u"SetTextStyle"};

}  // namespace

const NameTable kScriptTypeNames{kScriptType};
const NameTable kBuiltinNames{kBuiltin};
const NameTable kTokenNames{kToken};
const NameTable kCpuVendorNames{kCpuVendor};
const NameTable kStatusSelectorNames{kStatusSelector};
const NameTable kFuncTypeNames{kFuncType};
const NameTable kFuncListNames{kFuncList};
const NameTable kListKeyNames{kListKey};
const NameTable kFreeFuncNames{kFreeFunc};
const NameTable kIntervalTypeNames{kIntervalType};
const NameTable kTextParamTypeNames{kTextParamType};
const NameTable kQuotedCommandNames{kQuotedCommand};

std::u16string_view NameOf(NameTable table, int value) {
  if (value < 0 || static_cast<size_t>(value) >= table.size()) return {};
  return table[static_cast<size_t>(value)];
}

int FindName(NameTable table, int first, int end, std::u16string_view name) {
  for (int value = first; value < end && static_cast<size_t>(value) < table.size(); ++value) {
    if (table[static_cast<size_t>(value)] == name) return value;
  }
  return kNameNotFound;
}

int FindRegisterType(std::u16string_view name) {
  return FindName(kScriptTypeNames, SCRIPT_TYPE_BEGIN + 1, SCRIPT_TYPE_END, name);
}

int FindRegisterTypePrefix(std::u16string_view text) {
  for (int value = SCRIPT_TYPE_BEGIN + 1; value < SCRIPT_TYPE_END; ++value) {
    if (text.starts_with(kScriptType[value])) return value;
  }
  return kNameNotFound;
}

int FindBuiltin(std::u16string_view name) { return FindName(kBuiltinNames, 0, BUILTIN_COUNT, name); }
int FindKeyword(std::u16string_view name) { return FindName(kTokenNames, KEYWORD_BEGIN + 1, KEYWORD_END, name); }
int FindCpuVendor(std::u16string_view name) { return FindName(kCpuVendorNames, 0, VENDOR_UNKNOWN + 1, name); }

int FindMemoryStatus(std::u16string_view name) {
  return FindName(kStatusSelectorNames, MEMORY_STATUS_BEGIN + 1, MEMORY_STATUS_END, name);
}
int FindCpuStatus(std::u16string_view name) {
  return FindName(kStatusSelectorNames, CPU_STATUS_BEGIN + 1, CPU_STATUS_END, name);
}

int FindFuncType(std::u16string_view name) { return FindName(kFuncTypeNames, FUNC_TYPE_BEGIN + 1, FUNC_TYPE_END, name); }
int FindPositionData(std::u16string_view name) {
  return FindName(kFuncTypeNames, POSITION_DATA_BEGIN + 1, POSITION_DATA_END, name);
}
int FindBalloonCallType(std::u16string_view name) {
  return FindName(kFuncTypeNames, BALLOON_CALL_TYPE_BEGIN + 1, BALLOON_CALL_TYPE_END, name);
}
int FindHitType(std::u16string_view name) { return FindName(kFuncTypeNames, HIT_TYPE_BEGIN + 1, HIT_TYPE_END, name); }
int FindHitAreaType(std::u16string_view name) {
  return FindName(kFuncTypeNames, HIT_AREA_TYPE_BEGIN + 1, HIT_AREA_TYPE_END, name);
}
int FindLimitCmp(std::u16string_view name) { return FindName(kFuncTypeNames, LIMIT_CMP_BEGIN + 1, LIMIT_CMP_END, name); }

int FindFuncList(std::u16string_view name) { return FindName(kFuncListNames, 0, FUNC_LIST_END, name); }
int FindListOrder(std::u16string_view name) { return FindName(kListKeyNames, LIST_ORDER_BEGIN + 1, LIST_ORDER_END, name); }
int FindListHitEvent(std::u16string_view name) {
  return FindName(kListKeyNames, LIST_HIT_EVENT_BEGIN + 1, LIST_HIT_EVENT_END, name);
}
int FindFreeFuncNumber(std::u16string_view name) {
  return FindName(kFreeFuncNames, FREE_FUNC_NUMBER_BEGIN + 1, FREE_FUNC_NUMBER_END, name);
}
int FindIntervalType(std::u16string_view name) {
  return FindName(kIntervalTypeNames, INTERVAL_TYPE_BEGIN + 1, INTERVAL_TYPE_END, name);
}
int FindTextParamType(std::u16string_view name) {
  return FindName(kTextParamTypeNames, TEXT_PARAM_TYPE_BEGIN + 1, TEXT_PARAM_TYPE_END, name);
}
