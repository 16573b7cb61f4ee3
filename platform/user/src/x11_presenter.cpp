// The X11 presenter. Headless unless the environment asks for it: with ZX_PRESENTER=x11 and
// DISPLAY set, the first top-level window shown opens the display and starts one presenter
// thread, which alone talks to Xlib. Each visible top-level window of the process gets an X
// window at its screen place (override-redirect for menus and other tool windows), its retained
// surface is put there with XPutImage whenever DCs over it were released, and X pointer,
// key, focus and close events become window input through the input model (zx/input.h).
// Each X window also carries its window's look (presenter_look.h): the caption as
// _NET_WM_NAME and WM_NAME, the icons as _NET_WM_ICON (for the taskbar entry), the window
// region as its Shape (so the corners outside it show what lies below and take no clicks) and
// a layered window's constant alpha as _NET_WM_WINDOW_OPACITY, which a compositing manager
// applies. Windows that draw their own frame get no decorations from the window manager.
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>
#include <thread>
#include <unordered_map>
#include <vector>

#include "compositor.h"
#include "input_model.h"
#include "presenter_look.h"
#include "queue.h"
#include "windowdc.h"
#include "x11_presenter.h"
#include "x11_keys.h"
#include "zx/input.h"
#include "zx/waits.h"
#include "zx/windowpaint.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/shape.h>
#include <unistd.h>

namespace zx::user {
namespace {

constexpr auto kTick = std::chrono::milliseconds(15);

struct Shown {
  ::Window x = 0;
  RECT rect{};
  std::uint64_t generation = ~std::uint64_t{0};  // of the pixels last put
  bool exposed = false;
  bool dressed = false;  // `look` is on the X window
  TopLevelLook look;
  SIZE shapedFor{};  // the window size its shape was cut to
};

class Presenter {
 public:
  explicit Presenter(Display* display) : display_(display) {
    wmDelete_ = XInternAtom(display_, "WM_DELETE_WINDOW", False);
    motifHints_ = XInternAtom(display_, "_MOTIF_WM_HINTS", False);
    netName_ = XInternAtom(display_, "_NET_WM_NAME", False);
    utf8String_ = XInternAtom(display_, "UTF8_STRING", False);
    netIcon_ = XInternAtom(display_, "_NET_WM_ICON", False);
    opacity_ = XInternAtom(display_, "_NET_WM_WINDOW_OPACITY", False);
    int eventBase = 0, errorBase = 0;
    shape_ = XShapeQueryExtension(display_, &eventBase, &errorBase);
    std::thread([this] { Run(); }).detach();
  }

  // Asks for a pass and answers its number.
  std::uint64_t Request() {
    const std::uint64_t target = ++requested_;
    std::lock_guard<std::mutex> guard(lock_);
    cv_.notify_all();
    return target;
  }
  std::uint64_t Done() const { return done_.load(); }

 private:
  void Run() {
    for (;;) {
      {
        std::unique_lock<std::mutex> lock(lock_);
        cv_.wait_for(lock, kTick, [this] { return requested_.load() != seen_; });
      }
      const std::uint64_t target = requested_.load();
      seen_ = target;
      Sync();
      XFlush(display_);
      done_ = target;
      zx::NotifyWaiters();
      Events();
    }
  }

  // Makes the X windows follow the visible top-level windows (minimised ones have none) and
  // puts changed pixels.
  void Sync() {
    const std::vector<TopLevelView> views = VisibleTopLevels();
    std::unordered_map<HWND, bool> present;
    std::vector<::Window> order;  // top first
    for (const TopLevelView& view : views) {
      if (view.style & WS_MINIMIZE) continue;  // off the screen: no X window
      present[view.handle] = true;
      Shown& shown = shown_[view.handle];
      const int width = std::max<int>(view.screen.right - view.screen.left, 1);
      const int height = std::max<int>(view.screen.bottom - view.screen.top, 1);
      const bool created = !shown.x;
      if (created) {
        shown.x = Create(view, width, height);
        byX_[shown.x] = view.handle;
      } else if (!EqualRect(&shown.rect, &view.screen)) {
        XMoveResizeWindow(display_, shown.x, view.screen.left, view.screen.top,
                          static_cast<unsigned>(width), static_cast<unsigned>(height));
        shown.generation = ~std::uint64_t{0};
      }
      Dress(LookOf(view.handle), width, height, shown);
      if (created) XMapWindow(display_, shown.x);
      order.insert(order.begin(), shown.x);
      shown.rect = view.screen;
      Put(view.handle, shown);
    }
    if (order != order_ && !order.empty()) XRestackWindows(display_, order.data(), static_cast<int>(order.size()));
    order_ = order;
    for (auto it = shown_.begin(); it != shown_.end();) {
      if (present.count(it->first)) {
        ++it;
        continue;
      }
      byX_.erase(it->second.x);
      XDestroyWindow(display_, it->second.x);
      it = shown_.erase(it);
    }
  }

  // Menus and other transient tool windows bypass the window manager; the other windows are
  // managed (so they get the keyboard) without its decorations when they draw their own frame.
  ::Window Create(const TopLevelView& view, int width, int height) {
    XSetWindowAttributes attributes{};
    attributes.override_redirect = (view.exStyle & WS_EX_TOOLWINDOW) && (view.exStyle & (WS_EX_TOPMOST | WS_EX_NOACTIVATE));
    attributes.background_pixel = BlackPixel(display_, DefaultScreen(display_));
    attributes.event_mask = ExposureMask | ButtonPressMask | ButtonReleaseMask | PointerMotionMask |
                            LeaveWindowMask | KeyPressMask | KeyReleaseMask | FocusChangeMask;
    const ::Window x = XCreateWindow(
        display_, DefaultRootWindow(display_), view.screen.left, view.screen.top,
        static_cast<unsigned>(width), static_cast<unsigned>(height), 0, CopyFromParent, InputOutput,
        CopyFromParent, CWOverrideRedirect | CWBackPixel | CWEventMask, &attributes);
    XSetWMProtocols(display_, x, &wmDelete_, 1);
    if ((view.style & WS_CAPTION) != WS_CAPTION) {
      // The Motif hints: flags (decorations given), functions, decorations (none), ...
      const long hints[5] = {2, 0, 0, 0, 0};
      XChangeProperty(display_, x, motifHints_, motifHints_, 32, PropModeReplace,
                      reinterpret_cast<const unsigned char*>(hints), 5);
    }
    XSizeHints position{};
    position.flags = PPosition | USPosition;
    position.x = view.screen.left;
    position.y = view.screen.top;
    XSetWMNormalHints(display_, x, &position);
    return x;
  }

  // Puts what changed of the window's look on its X window.
  void Dress(TopLevelLook look, int width, int height, Shown& shown) {
    const bool all = !shown.dressed;
    if (all || look.caption != shown.look.caption) {
      XChangeProperty(display_, shown.x, netName_, utf8String_, 8, PropModeReplace,
                      reinterpret_cast<const unsigned char*>(look.caption.data()),
                      static_cast<int>(look.caption.size()));
      XChangeProperty(display_, shown.x, XA_WM_NAME, XA_STRING, 8, PropModeReplace,
                      reinterpret_cast<const unsigned char*>(look.captionLatin1.data()),
                      static_cast<int>(look.captionLatin1.size()));
    }
    if (all || look.bigIcon != shown.look.bigIcon || look.smallIcon != shown.look.smallIcon) {
      const std::vector<unsigned long> icons = IconCardinals(look);
      if (icons.empty()) {
        XDeleteProperty(display_, shown.x, netIcon_);
      } else {
        XChangeProperty(display_, shown.x, netIcon_, XA_CARDINAL, 32, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(icons.data()), static_cast<int>(icons.size()));
      }
    }
    if (all || look.alpha != shown.look.alpha) {
      if (look.alpha == 255) {
        XDeleteProperty(display_, shown.x, opacity_);
      } else {
        const unsigned long opacity = look.alpha * 0x01010101UL;
        XChangeProperty(display_, shown.x, opacity_, XA_CARDINAL, 32, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(&opacity), 1);
      }
    }
    const bool resized = shown.shapedFor.cx != width || shown.shapedFor.cy != height;
    if (shape_ && (all || resized || !SameRegion(look, shown.look))) {
      Shape(look, width, height, shown.x);
      shown.shapedFor = SIZE{width, height};
    }
    shown.look = std::move(look);
    shown.dressed = true;
  }

  // The window region becomes the window's bounding shape; without one the shape is reset.
  void Shape(const TopLevelLook& look, int width, int height, ::Window x) {
    if (!look.shaped) {
      XShapeCombineMask(display_, x, ShapeBounding, 0, 0, None, ShapeSet);
      return;
    }
    std::vector<XRectangle> rects;
    for (const RECT& r : look.region) {
      RECT inside{};  // X rectangles hold 16-bit numbers
      if (!ClampToWindow(r, std::min(width, 32767), std::min(height, 32767), inside)) continue;
      rects.push_back(XRectangle{static_cast<short>(inside.left), static_cast<short>(inside.top),
                                 static_cast<unsigned short>(inside.right - inside.left),
                                 static_cast<unsigned short>(inside.bottom - inside.top)});
    }
    XShapeCombineRectangles(display_, x, ShapeBounding, 0, 0, rects.data(), static_cast<int>(rects.size()),
                            ShapeSet, Unsorted);
  }

  void Put(HWND handle, Shown& shown) {
    std::vector<DWORD> pixels;
    SIZE size{};
    std::uint64_t generation = 0;
    if (!CopySurface(handle, pixels, size, &generation)) return;
    if (generation == shown.generation && !shown.exposed) return;
    shown.generation = generation;
    shown.exposed = false;
    const int screen = DefaultScreen(display_);
    XImage* image = XCreateImage(display_, DefaultVisual(display_, screen),
                                 static_cast<unsigned>(DefaultDepth(display_, screen)), ZPixmap, 0,
                                 reinterpret_cast<char*>(pixels.data()), static_cast<unsigned>(size.cx),
                                 static_cast<unsigned>(size.cy), 32, 0);
    if (!image) return;
    XPutImage(display_, shown.x, DefaultGC(display_, screen), image, 0, 0, 0, 0,
              static_cast<unsigned>(size.cx), static_cast<unsigned>(size.cy));
    image->data = nullptr;  // the pixels are the vector's
    XDestroyImage(image);
  }

  // X events become window input.
  void Events() {
    while (XPending(display_)) {
      XEvent event;
      XNextEvent(display_, &event);
      const auto found = byX_.find(event.xany.window);
      if (found == byX_.end()) continue;
      const HWND window = found->second;
      const RECT at = shown_[window].rect;
      switch (event.type) {
        case Expose:
          shown_[window].exposed = true;
          ++requested_;
          break;
        case MotionNotify:
          InjectMouse(POINT{at.left + event.xmotion.x, at.top + event.xmotion.y}, WM_MOUSEMOVE);
          break;
        case LeaveNotify:
          // Into another of our windows a motion follows; out of all of them, nothing does.
          if (event.xcrossing.mode == NotifyNormal && !OverShownWindow(event.xcrossing.x_root, event.xcrossing.y_root))
            NotePointerLeft();
          break;
        case ButtonPress:
        case ButtonRelease:
          Button(event.xbutton, at, event.type == ButtonPress);
          break;
        case KeyPress:
        case KeyRelease:
          if (const int key = VirtualKeyOfKey(XLookupKeysym(&event.xkey, 0), XLookupKeysym(&event.xkey, 1),
                                              (event.xkey.state & Mod2Mask) != 0))
            InjectKey(key, event.type == KeyPress);
          break;
        case FocusIn:
          InjectFocus(window);
          break;
        case ClientMessage:
          if (static_cast<Atom>(event.xclient.data.l[0]) == wmDelete_)
            PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
          break;
        default:
          break;
      }
    }
  }

  bool OverShownWindow(int x, int y) const {
    for (const auto& [handle, shown] : shown_)
      if (x >= shown.rect.left && x < shown.rect.right && y >= shown.rect.top && y < shown.rect.bottom) return true;
    return false;
  }

  static void Button(const XButtonEvent& e, const RECT& at, bool press) {
    const POINT p{at.left + e.x, at.top + e.y};
    switch (e.button) {
      case Button1: InjectMouse(p, press ? WM_LBUTTONDOWN : WM_LBUTTONUP); break;
      case Button2: InjectMouse(p, press ? WM_MBUTTONDOWN : WM_MBUTTONUP); break;
      case Button3: InjectMouse(p, press ? WM_RBUTTONDOWN : WM_RBUTTONUP); break;
      case Button4: if (press) InjectMouse(p, WM_MOUSEWHEEL, 120); break;
      case Button5: if (press) InjectMouse(p, WM_MOUSEWHEEL, -120); break;
      default: break;
    }
  }

  Display* display_;
  Atom wmDelete_;
  Atom motifHints_;
  Atom netName_;
  Atom utf8String_;
  Atom netIcon_;
  Atom opacity_;
  bool shape_ = false;
  std::mutex lock_;
  std::condition_variable cv_;
  std::atomic<std::uint64_t> requested_{0};
  std::atomic<std::uint64_t> done_{0};
  std::uint64_t seen_ = 0;
  // Touched only by the presenter thread.
  std::unordered_map<HWND, Shown> shown_;
  std::unordered_map<::Window, HWND> byX_;
  std::vector<::Window> order_;
};

bool Asked() {
  const char* presenter = std::getenv("ZX_PRESENTER");
  const char* display = std::getenv("DISPLAY");
  return presenter && std::strcmp(presenter, "x11") == 0 && display && *display;
}

std::atomic<Presenter*> g_presenter{nullptr};

// The display went away (its server ended or the connection broke). Xlib would end the process
// with exit() on the presenter thread, running the exit handlers and static destructors while
// the window threads go on using what they destroy; the process ends at once instead.
int DisplayLost(Display*) {
  static constexpr char kText[] = "zx: the X display is gone; the program ends\n";
  [[maybe_unused]] const ssize_t written = ::write(2, kText, sizeof kText - 1);
  ::_exit(1);
}

// The presenter; with `start`, made the first time while the environment asks for it.
Presenter* ThePresenter(bool start) {
  static std::once_flag once;
  if (start) {
    std::call_once(once, [] {
      if (!Asked()) return;
      Display* display = XOpenDisplay(nullptr);
      if (!display) return;
      XSetIOErrorHandler(DisplayLost);
      if (DefaultDepth(display, DefaultScreen(display)) < 24) {
        XCloseDisplay(display);
        return;
      }
      g_presenter = new Presenter(display);
    });
  }
  return g_presenter.load();
}

}  // namespace

void PresenterNoteWindows() {
  if (Presenter* p = ThePresenter(true)) p->Request();
}

void NoteSurfaceChanged(HWND) {
  if (Presenter* p = ThePresenter(false)) p->Request();
}

bool PresenterRunning() { return ThePresenter(false) != nullptr; }

bool PresenterFlush(unsigned timeoutMs) {
  Presenter* p = ThePresenter(false);
  if (!p) return false;
  const std::uint64_t target = p->Request();
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  // Messages sent to this thread (the presenter's hit-tests) are served meanwhile.
  while (std::chrono::steady_clock::now() < deadline) {
    if (WaitServing([&] { return p->Done() >= target; }, 10)) return true;
  }
  return p->Done() >= target;
}

}  // namespace zx::user
