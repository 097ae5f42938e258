#include "script/script_param.h"

std::u16string CScriptParam::ValueOf(std::u16string_view key) const { return configLines_.ValueOf(key); }
