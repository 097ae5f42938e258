#include "chardef/chara_paths.h"

SCharaPaths MakeCharaPaths(std::u16string_view name) {
  SCharaPaths paths;
  paths.characterFolder = std::u16string(kCharactersRoot) + std::u16string(name) + u'\\';
  paths.imagesFolder = paths.characterFolder + u"Images\\";
  paths.soundsFolder = paths.characterFolder + u"Sounds\\";
  paths.cursorsFolder = paths.characterFolder + u"Cursors\\";
  paths.scriptsFolder = paths.characterFolder + u"Scripts";
  paths.configFile = paths.characterFolder + u"config.ini";
  return paths;
}
