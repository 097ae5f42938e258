// The mouse and the pop-up menu: what presses, releases and cursor moves over the
// character window do. They run on the main thread and only set requests, marks, the
// capture and the cursor.
#include "chardef/hit_event_config.h"
#include "chardef/order_config.h"
#include "platform/layered_window.h"
#include "platform/user_interface.h"
#include "runtime/chara_host.h"
#include "runtime/character.h"
#include "platform/trace_record.h"
#include "script/name_tables.h"
#include "window/command_ids.h"

namespace {
const std::u16string kArrowName = u"arrow";
}  // namespace

void CCharacter::ZOrderFix() {
  ILayeredWindow* balloon = balloons_->MainWindow();
  ILayeredWindow* window = Window();
  if (balloon == nullptr || window == nullptr) return;
  balloon->BringToTop();
  window->PlaceBelow(*balloon);
}

void CCharacter::ShowCursor(const SCursorImage* cursor, const std::u16string& name) {
  host_.Ui().SetCursor(cursor);
  const std::u16string& shown = cursor != nullptr ? name : kArrowName;
  if (shown == shownCursor_) return;
  shownCursor_ = shown;
  if (host_.Trace().Tracing()) {
    host_.Trace().Trace(CTraceRecord("cursor").Add("chara", Name()).Add("cursor", shownCursor_));
  }
}

void CCharacter::ShowCursorOf(const COrderConfig* function, const SCursorImage* fallback,
                              const std::u16string& fallbackName) {
  if (function != nullptr && function->cursor != nullptr) {
    ShowCursor(function->cursor, function->cursorName);
  } else {
    ShowCursor(fallback, fallbackName);
  }
}

void CCharacter::TraceHit(const CHitEventConfig& event, const CCharacter* target) {
  if (!host_.Trace().Tracing()) return;
  host_.Trace().Trace(CTraceRecord("hit")
                          .Add("chara", Name())
                          .Add("name", event.name)
                          .Add("kind", std::u16string(NameOf(kFuncTypeNames, event.hitType)))
                          .Add("target", target != nullptr ? target->Name() : std::u16string()));
}

void CCharacter::TakeCapture() {
  if (ILayeredWindow* window = Window()) window->SetCapture();
}

void CCharacter::ReleaseCapture() {
  if (ILayeredWindow* window = Window()) window->ReleaseCapture();
}

void CCharacter::LeftButtonDown(int, int) {
  ZOrderFix();
  CImageWnd::LeftButtonDown(0, 0);  // sets the left-button mark
  if (Ending()) {
    TakeCapture();
    ShowCursor(definition_->cursors.drag, Info().dragCursorName);
    return;
  }
  if (mouseMode_.load(std::memory_order_relaxed) != 1) return;
  if (lButtonEnabled_.load(std::memory_order_relaxed)) {
    if (!requests_.IsPending()) {
      if (const CHitEventConfig* click = hitTest_->ClickEvent()) {
        TraceHit(*click, nullptr);
        PlayHitSound(*click);
        if (RequestFromList(KIND_CLICK, &click->resolvedFuncList)) return;
      }
    }
    if (lButtonFunctionsExist_.load(std::memory_order_relaxed)) {
      const COrderConfig* function = CurrentFunction();
      const std::u16string& sound = function != nullptr && !function->lButtonSoundName.empty()
                                        ? function->lButtonSoundName
                                        : Info().lButtonSoundName;
      if (!sound.empty()) PlaySound(SOUND_CHANNEL_L_BUTTON, sound, false);
      RequestFromList(KIND_L_BUTTON);
      return;
    }
  }
  TakeCapture();
  ShowCursor(definition_->cursors.drag, Info().dragCursorName);
}

void CCharacter::LeftButtonUp(int, int) {
  ClearLeftButton();
  captureDrag_.store(false, std::memory_order_release);
  FinishButtonRelease();
}

void CCharacter::LeftButtonUpOnFrame() {
  ClearLeftButton();
  captureDrag_.store(false, std::memory_order_release);
  host_.PostButtonRelease(*this);
}

void CCharacter::FinishButtonRelease() {
  if (mouseMode_.load(std::memory_order_relaxed) != 1) return;
  ShowCursorOf(FunctionOf(nextFunctionId_.load(std::memory_order_relaxed)), definition_->cursors.normal,
               Info().normalCursorName);
  ReleaseCapture();
}

void CCharacter::RightButtonDown(int, int) {
  menuShown_.store(true, std::memory_order_relaxed);
  ZOrderFix();
  if (mouseMode_.load(std::memory_order_relaxed) != 1) return;
  const COrderConfig* function = CurrentFunction();
  const std::u16string& sound = function != nullptr && !function->rButtonSoundName.empty()
                                    ? function->rButtonSoundName
                                    : Info().rButtonSoundName;
  if (!sound.empty()) PlaySound(SOUND_CHANNEL_R_BUTTON, sound, false);
  if (Ending()) {
    host_.OpenPopupMenu(host_.ApplicationMenu(), Name(), nullptr);
    return;
  }
  RefreshMenuState();
  host_.OpenPopupMenu(menu_, Name(), Window());
}

void CCharacter::RefreshMenuState() {
  if (!customItemAdded_) return;
  CMenuItem* item = menu_.FindById(kCmdCustomItem);
  if (item == nullptr) return;
  if (const std::u16string* text = customItemText_.load(std::memory_order_acquire)) item->text = *text;
  item->greyed = !customItemEnabled_.load(std::memory_order_relaxed);
}

void CCharacter::SetCursorForPointer() {
  const SCursorImage* cursor = nullptr;
  const std::u16string* name = &kArrowName;
  auto use = [&](const SCursorImage* image, const std::u16string& imageName) {
    cursor = image;
    name = &imageName;
  };
  if (mouseMode_.load(std::memory_order_relaxed) == 1) {
    if (!menuShown_.load(std::memory_order_relaxed)) {
      bool areaCursor = false;
      if (!Ending() && nextFunctionId_.load(std::memory_order_relaxed) != kHiddenFunctionId) {
        if (const CHitEventConfig* click = hitTest_->ClickArea()) {
          use(click->cursor, click->cursorName);
          areaCursor = click->cursor != nullptr;
        } else if (const CHitEventConfig* stroke = hitTest_->StrokeArea()) {
          use(stroke->cursor, stroke->cursorName);
          areaCursor = stroke->cursor != nullptr;
          if (const CHitEventConfig* fired = hitTest_->Stroke(*stroke)) {
            TraceHit(*fired, nullptr);
            PlayHitSound(*fired);
            RequestFromList(KIND_STROKE, &fired->resolvedFuncList);
          }
        }
      }
      if (!areaCursor) {
        const COrderConfig* function = CurrentFunction();
        if (function != nullptr && function->cursor != nullptr) {
          use(function->cursor, function->cursorName);
        } else {
          use(definition_->cursors.normal, Info().normalCursorName);
        }
      }
    }
  } else {
    use(definition_->cursors.disabled, Info().disabledCursorName);
  }
  if (!AcceptsMouse() && !Ending() && definition_->cursors.disabled != nullptr) {
    use(definition_->cursors.disabled, Info().disabledCursorName);
  }
  ShowCursor(cursor, *name);
}

void CCharacter::PlayHitSound(const CHitEventConfig& event) {
  if (event.soundName.empty()) {
    StopSound(SOUND_CHANNEL_HIT_EVENT);
  } else {
    PlaySound(SOUND_CHANNEL_HIT_EVENT, event.soundName, false);
  }
}

SPoint CCharacter::CursorSample() const { return host_.CursorSample(); }

SPoint CCharacter::PointerPosition() const { return host_.Ui().CursorPosition(); }
