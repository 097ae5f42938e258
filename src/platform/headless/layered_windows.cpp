#include "platform/headless/layered_windows.h"

#include <algorithm>
#include <cstring>

#include "media/png_writer.h"
#include "platform/headless/layered_window.h"
#include "platform/headless/window_registry.h"

namespace {

// x × y / 255, rounded to nearest, for 8-bit x and y.
uint32_t MulDiv255(uint32_t x, uint32_t y) { return (x * y + 127) / 255; }

// Whether the window holds its last frame's pixels (not when they are not kept).
bool HasPixels(const CHeadlessLayeredWindow& window) {
  return window.pixels.size() >= static_cast<size_t>(window.state.width) * static_cast<size_t>(window.state.height);
}

// Premultiplied source-over of `s` scaled by `constantAlpha` onto `d`, rounding each
// channel to nearest, as the system's compositor does.
uint32_t SourceOver(uint32_t s, uint32_t d, uint32_t constantAlpha) {
  const uint32_t alpha = MulDiv255(s >> 24, constantAlpha);
  uint32_t out = 0;
  for (int shift = 0; shift < 32; shift += 8) {
    const uint32_t source = MulDiv255((s >> shift) & 0xFF, constantAlpha);
    const uint32_t below = MulDiv255((d >> shift) & 0xFF, 255 - alpha);
    out |= std::min<uint32_t>(source + below, 255) << shift;
  }
  return out;
}

bool Contains(const SLayeredWindowState& state, SPoint point) {
  return point.x >= state.position.x && point.y >= state.position.y &&
         point.x < state.position.x + state.width && point.y < state.position.y + state.height;
}

}  // namespace

CHeadlessLayeredWindows::CHeadlessLayeredWindows(CWindowRegistry& census) : census_(census) {}

CHeadlessLayeredWindows::~CHeadlessLayeredWindows() {
  // The core's handlers may be gone by now: take the titles out of the census only.
  for (const auto& window : windows_) {
    if (window->state.alive && window->CensusId() != 0) census_.Unregister(window->CensusId());
  }
}

ILayeredWindow* CHeadlessLayeredWindows::Create(IMainWindow& owner, const std::u16string& title,
                                                ILayeredWindowHandler& handler) {
  const int censusId = title.empty() ? 0 : census_.Register(title);
  std::lock_guard lock(mutex_);
  auto& window = windows_.emplace_back(std::make_unique<CHeadlessLayeredWindow>(*this, owner, handler, censusId));
  window->pixels.assign(1, 0u);
  window->state.topmost = std::find(topmostOwners_.begin(), topmostOwners_.end(), &owner) != topmostOwners_.end();
  InsertAtTopOfBandLocked(*window);
  return window.get();
}

void CHeadlessLayeredWindows::SetOwnerTopmost(const IMainWindow& owner, bool topmost) {
  std::lock_guard lock(mutex_);
  topmostOwners_.erase(std::remove(topmostOwners_.begin(), topmostOwners_.end(), &owner), topmostOwners_.end());
  if (topmost) topmostOwners_.push_back(&owner);
  std::vector<CHeadlessLayeredWindow*> owned;
  for (CHeadlessLayeredWindow* window : stack_) {
    if (&window->OwnerWindow() == &owner) owned.push_back(window);
  }
  // Bottom first, each to the top of the new band: they arrive above the windows already
  // there, in the order they had.
  for (CHeadlessLayeredWindow* window : owned) {
    RemoveFromStackLocked(*window);
    window->state.topmost = topmost;
    InsertAtTopOfBandLocked(*window);
  }
}

bool CHeadlessLayeredWindows::Alive(const ILayeredWindow& window) const {
  std::lock_guard lock(mutex_);
  return static_cast<const CHeadlessLayeredWindow&>(window).state.alive;
}

void CHeadlessLayeredWindows::RemoveFromStackLocked(CHeadlessLayeredWindow& window) {
  stack_.erase(std::remove(stack_.begin(), stack_.end(), &window), stack_.end());
}

void CHeadlessLayeredWindows::InsertAtTopOfBandLocked(CHeadlessLayeredWindow& window) {
  auto at = stack_.end();
  if (!window.state.topmost) {
    at = std::find_if(stack_.begin(), stack_.end(),
                      [](const CHeadlessLayeredWindow* other) { return other->state.topmost; });
  }
  stack_.insert(at, &window);
}

void CHeadlessLayeredWindows::Show(CHeadlessLayeredWindow& window, bool visible) {
  std::lock_guard lock(mutex_);
  if (window.state.alive) window.state.visible = visible;
}

bool CHeadlessLayeredWindows::IsVisible(const CHeadlessLayeredWindow& window) const {
  std::lock_guard lock(mutex_);
  return window.state.alive && window.state.visible;
}

void CHeadlessLayeredWindows::BringToTop(CHeadlessLayeredWindow& window) {
  std::lock_guard lock(mutex_);
  if (!window.state.alive) return;
  RemoveFromStackLocked(window);
  InsertAtTopOfBandLocked(window);
}

void CHeadlessLayeredWindows::PlaceBelow(CHeadlessLayeredWindow& window, CHeadlessLayeredWindow& other) {
  std::lock_guard lock(mutex_);
  if (!window.state.alive || !other.state.alive || &window == &other) return;
  RemoveFromStackLocked(window);
  window.state.topmost = other.state.topmost;
  stack_.insert(std::find(stack_.begin(), stack_.end(), &other), &window);
}

void CHeadlessLayeredWindows::SetTopmost(CHeadlessLayeredWindow& window, bool topmost) {
  std::lock_guard lock(mutex_);
  if (!window.state.alive) return;
  RemoveFromStackLocked(window);
  window.state.topmost = topmost;
  InsertAtTopOfBandLocked(window);
}

bool CHeadlessLayeredWindows::Update(CHeadlessLayeredWindow& window, const SLayeredFrame& frame) {
  if (frame.pixels == nullptr) {
    std::lock_guard lock(mutex_);
    if (!window.state.alive) return false;
    window.state.position = frame.position;
    ++window.state.updates;
    return true;
  }
  if (frame.width <= 0 || frame.height <= 0 || frame.stride < frame.width) return false;
  std::lock_guard lock(mutex_);
  if (!window.state.alive) return false;
  const size_t count = static_cast<size_t>(frame.width) * static_cast<size_t>(frame.height);
  if (!keepPixels_) {
    window.pixels.clear();
  } else {
    // Only the changed part is copied when the window already holds the rest.
    SRect part{0, 0, frame.width, frame.height};
    if (window.state.width == frame.width && window.state.height == frame.height && window.pixels.size() == count &&
        frame.changed.Width() > 0 && frame.changed.Height() > 0) {
      part = ClippedTo(frame.changed, frame.width, frame.height);
    }
    // resize keeps the capacity, so frames no larger than the largest so far allocate nothing.
    window.pixels.resize(count);
    for (int y = part.top; y < part.bottom && part.left < part.right; ++y) {
      std::memcpy(window.pixels.data() + static_cast<size_t>(y) * static_cast<size_t>(frame.width) + part.left,
                  frame.pixels + static_cast<size_t>(y) * static_cast<size_t>(frame.stride) + part.left,
                  static_cast<size_t>(part.right - part.left) * sizeof(uint32_t));
    }
  }
  window.state.position = frame.position;
  window.state.width = frame.width;
  window.state.height = frame.height;
  window.state.constantAlpha = frame.constantAlpha;
  ++window.state.updates;
  return true;
}

void CHeadlessLayeredWindows::SetCapture(CHeadlessLayeredWindow& window) {
  CHeadlessLayeredWindow* previous;
  {
    std::lock_guard lock(mutex_);
    if (!window.state.alive || captured_ == &window) return;
    previous = captured_;
    captured_ = &window;
  }
  if (previous != nullptr) previous->Handler().OnMouse(*previous, ELayeredMouse::CaptureChanged, 0, 0);
}

void CHeadlessLayeredWindows::ReleaseCapture(CHeadlessLayeredWindow& window) {
  {
    std::lock_guard lock(mutex_);
    if (captured_ != &window) return;
    captured_ = nullptr;
  }
  window.Handler().OnMouse(window, ELayeredMouse::CaptureChanged, 0, 0);
}

void CHeadlessLayeredWindows::Destroy(CHeadlessLayeredWindow& window) {
  {
    std::lock_guard lock(mutex_);
    if (!window.state.alive) return;
    window.state.alive = false;
    window.state.visible = false;
    if (captured_ == &window) captured_ = nullptr;
    RemoveFromStackLocked(window);
  }
  window.Handler().OnDestroy(window);
  if (window.CensusId() != 0) census_.Unregister(window.CensusId());
}

bool CHeadlessLayeredWindows::DeliverMouse(ILayeredWindow& window, ELayeredMouse message, int x, int y) {
  if (!Alive(window)) return false;
  auto& headless = static_cast<CHeadlessLayeredWindow&>(window);
  return headless.Handler().OnMouse(window, message, x, y);
}

CHeadlessLayeredWindow* CHeadlessLayeredWindows::WindowAtLocked(SPoint desktop) const {
  for (auto it = stack_.rbegin(); it != stack_.rend(); ++it) {
    const CHeadlessLayeredWindow& window = **it;
    if (!window.state.visible || !Contains(window.state, desktop)) continue;
    const size_t x = static_cast<size_t>(desktop.x - window.state.position.x);
    const size_t y = static_cast<size_t>(desktop.y - window.state.position.y);
    // A fully transparent pixel lets the click through to the window below.
    if (!HasPixels(window) || (window.pixels[y * static_cast<size_t>(window.state.width) + x] >> 24) != 0) return *it;
  }
  return nullptr;
}

ILayeredWindow* CHeadlessLayeredWindows::WindowAt(SPoint desktop) const {
  std::lock_guard lock(mutex_);
  return WindowAtLocked(desktop);
}

ILayeredWindow* CHeadlessLayeredWindows::DeliverMouseAt(SPoint desktop, ELayeredMouse message) {
  CHeadlessLayeredWindow* target;
  SPoint origin;
  {
    std::lock_guard lock(mutex_);
    target = captured_ != nullptr ? captured_ : WindowAtLocked(desktop);
    if (target == nullptr) return nullptr;
    origin = target->state.position;
  }
  target->Handler().OnMouse(*target, message, desktop.x - origin.x, desktop.y - origin.y);
  return target;
}

ILayeredWindow* CHeadlessLayeredWindows::DeliverPointerAt(SPoint desktop, ELayeredMouse message) {
  CHeadlessLayeredWindow* uncaptured = nullptr;
  {
    std::lock_guard lock(mutex_);
    if (captured_ == nullptr) uncaptured = WindowAtLocked(desktop);
  }
  if (uncaptured != nullptr) uncaptured->Handler().OnMouse(*uncaptured, ELayeredMouse::SetCursor, 0, 0);
  // The message goes where the system would send it after the set-cursor handler ran.
  return DeliverMouseAt(desktop, message);
}

bool CHeadlessLayeredWindows::DeliverCommand(ILayeredWindow& window, int commandId) {
  if (!Alive(window)) return false;
  return static_cast<CHeadlessLayeredWindow&>(window).Handler().OnCommand(window, commandId);
}

void CHeadlessLayeredWindows::DeliverMenuOpened(ILayeredWindow& window, intptr_t param) {
  if (Alive(window)) static_cast<CHeadlessLayeredWindow&>(window).Handler().OnMenuOpened(window, param);
}

std::vector<ILayeredWindow*> CHeadlessLayeredWindows::StackingOrder() const {
  std::lock_guard lock(mutex_);
  return {stack_.begin(), stack_.end()};
}

ILayeredWindow* CHeadlessLayeredWindows::Captured() const {
  std::lock_guard lock(mutex_);
  return captured_;
}

SLayeredWindowState CHeadlessLayeredWindows::State(const ILayeredWindow& window) const {
  std::lock_guard lock(mutex_);
  return static_cast<const CHeadlessLayeredWindow&>(window).state;
}

void CHeadlessLayeredWindows::KeepPixels(bool keep) {
  std::lock_guard lock(mutex_);
  keepPixels_ = keep;
}

CPixelSurface CHeadlessLayeredWindows::Pixels(const ILayeredWindow& window) const {
  std::lock_guard lock(mutex_);
  const auto& headless = static_cast<const CHeadlessLayeredWindow&>(window);
  CPixelSurface copy(headless.state.width, headless.state.height);
  if (HasPixels(headless)) std::copy(headless.pixels.begin(), headless.pixels.end(), copy.Pixels());
  return copy;
}

CPixelSurface CHeadlessLayeredWindows::Snapshot(SRect desktop, uint32_t background) const {
  CPixelSurface out(desktop.Width(), desktop.Height());
  std::fill_n(out.Pixels(), static_cast<size_t>(out.Width()) * static_cast<size_t>(out.Height()),
              background);
  std::lock_guard lock(mutex_);
  for (const CHeadlessLayeredWindow* window : stack_) {
    const SLayeredWindowState& state = window->state;
    if (!state.visible || !HasPixels(*window)) continue;
    const int left = std::max(state.position.x, desktop.left);
    const int top = std::max(state.position.y, desktop.top);
    const int right = std::min(state.position.x + state.width, desktop.right);
    const int bottom = std::min(state.position.y + state.height, desktop.bottom);
    for (int y = top; y < bottom; ++y) {
      const uint32_t* source = window->pixels.data() +
                               static_cast<size_t>(y - state.position.y) * static_cast<size_t>(state.width);
      uint32_t* target = out.Row(y - desktop.top);
      for (int x = left; x < right; ++x) {
        uint32_t& d = target[x - desktop.left];
        d = SourceOver(source[x - state.position.x], d, state.constantAlpha);
      }
    }
  }
  return out;
}

bool CHeadlessLayeredWindows::WriteSnapshot(const std::u16string& path, SRect desktop, uint32_t background) const {
  return WritePng(path, Snapshot(desktop, background));
}
