#pragma once
// A window that belongs to a character folder: a character, or one of its balloons. It
// knows the folder's name and the folders, relative to the application folder, where
// its media and scripts live.
#include <string>

#include "window/image_wnd.h"

class CObjWnd : public CImageWnd {
 public:
  // `name` is the character folder's name (a balloon takes its character's).
  CObjWnd(CImageWndClass& windowClass, const std::u16string& name);

  const std::u16string& Name() const { return name_; }
  const std::u16string& CharactersFolder() const { return charactersFolder_; }  // "Characters\"
  const std::u16string& ImagesFolder() const { return imagesFolder_; }          // "Characters\<name>\Images\"
  const std::u16string& SoundsFolder() const { return soundsFolder_; }
  const std::u16string& CursorsFolder() const { return cursorsFolder_; }
  const std::u16string& ScriptsFolder() const { return scriptsFolder_; }        // no trailing "\"

 private:
  std::u16string name_;
  std::u16string charactersFolder_;
  std::u16string imagesFolder_;
  std::u16string soundsFolder_;
  std::u16string cursorsFolder_;
  std::u16string scriptsFolder_;
};
