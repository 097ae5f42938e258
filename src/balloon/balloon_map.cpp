#include "balloon/balloon_map.h"

#include "chardef/balloon_config.h"
#include "runtime/character.h"
#include "script/vocabulary.h"

CBalloonMap::~CBalloonMap() = default;

CBalloon* CBalloonMap::Insert(const std::u16string& name, std::unique_ptr<CBalloon> balloon) {
  if (CBalloon* present = balloons_.Find(name)) return present;
  CBalloon* added = balloon.release();
  balloons_.Add(name, added);
  return added;
}

CBalloon* CBalloonMap::Find(const std::u16string& name) const { return balloons_.Find(name); }

bool CBalloonMap::CreateMain() {
  const CFuncInfoIdMap& functions = owner_.Definition().registers.EntriesOf(BALLOON_ORDER_REG);
  bool own = false;
  for (int i = 0; i < functions.Count() && !own; ++i) own = functions.KeyAt(i) != kHiddenBalloonId;
  if (!own) return false;
  const std::u16string name(kMainBalloonName);
  Insert(name, std::make_unique<CBalloon>(owner_, name, glyphs_));
  return true;
}

ILayeredWindow* CBalloonMap::MainWindow() const {
  CBalloon* main = Main();
  return main != nullptr ? main->Window() : nullptr;
}

void CBalloonMap::CloseAll() {
  for (int i = 0; i < balloons_.Count(); ++i) balloons_.ValueAt(i)->Close();
}

void CBalloonMap::UpdateAll() {
  for (int i = 0; i < balloons_.Count(); ++i) balloons_.ValueAt(i)->Update();
}

void CBalloonMap::ForgetPendingCall() {
  if (CBalloon* main = Main()) main->ForgetWaitingCall();
}

void CBalloonMap::CallMain(int balloonId) {
  if (CBalloon* main = Main()) main->Call(balloonId);
}

void CBalloonMap::ApplyScale(double scale) {
  for (int i = 0; i < balloons_.Count(); ++i) balloons_.ValueAt(i)->SetScale(scale);
}

void CBalloonMap::ApplyOpacity(double opacity) {
  for (int i = 0; i < balloons_.Count(); ++i) balloons_.ValueAt(i)->SetOpacity(opacity);
}
