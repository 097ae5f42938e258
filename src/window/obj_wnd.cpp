#include "window/obj_wnd.h"

CObjWnd::CObjWnd(CImageWndClass& windowClass, const std::u16string& name)
    : CImageWnd(windowClass),
      name_(name),
      charactersFolder_(u"Characters\\"),
      imagesFolder_(charactersFolder_ + name + u"\\Images\\"),
      soundsFolder_(charactersFolder_ + name + u"\\Sounds\\"),
      cursorsFolder_(charactersFolder_ + name + u"\\Cursors\\"),
      scriptsFolder_(charactersFolder_ + name + u"\\Scripts") {}
