// The X11 presenter. Headless unless the environment asks for it: with ZX_PRESENTER=x11 and
// DISPLAY set, the first top-level window shown opens the display and starts one presenter
// thread, which alone talks to Xlib. Each visible top-level window of the process gets an X
// window at its screen place (override-redirect for menus and other tool windows), its retained
// surface is put there with XPutImage whenever DCs over it were released, and X pointer,
// key, focus and close events become window input through the input model (zx/input.h).
// Under a window manager: a window with a caption shows its client area in the manager's frame
// (which draws the caption and its buttons) in place of the caption it paints itself; the
// others draw their own frame and get no decorations. Owned windows are transient for their owner's X window, so the manager keeps
// them above it; the presenter only ever raises windows, never stacks them against a sibling
// that the manager has reparented. Minimising iconifies the X window, and the manager's
// restore (the taskbar) restores the window. Keys type the text X composes for them (its
// keyboard layout, Shift, AltGr and dead keys through the input method). X protocol errors
// are reported on stderr and never end the process.
// Each X window also carries its window's look (presenter_look.h): the caption as
// _NET_WM_NAME and WM_NAME, the icons as _NET_WM_ICON (for the taskbar entry), the window
// region as its Shape (so the corners outside it show what lies below and take no clicks) and
// a layered window's constant alpha as _NET_WM_WINDOW_OPACITY, which a compositing manager
// applies. Windows that draw their own frame get no decorations from the window manager.
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>
#include <thread>
#include <unordered_map>
#include <vector>

#include "compositor.h"
#include "geometry.h"
#include "input_model.h"
#include "presenter_look.h"
#include "queue.h"
#include "stringapiset.h"
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
  XIC input = nullptr;  // the input method's context of the window (null without one)
  RECT rect{};          // the X window's place: the client area of a framed window
  POINT offset{};       // of the X window's pixels in the window's surface
  bool framed = false;  // the window manager draws its frame and caption
  bool iconic = false;  // minimised: the X window is iconified
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
    wmCheck_ = XInternAtom(display_, "_NET_SUPPORTING_WM_CHECK", False);
    netActive_ = XInternAtom(display_, "_NET_ACTIVE_WINDOW", False);
    int eventBase = 0, errorBase = 0;
    shape_ = XShapeQueryExtension(display_, &eventBase, &errorBase);
    XSetLocaleModifiers("");
    inputMethod_ = XOpenIM(display_, nullptr, nullptr, nullptr);
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

  // Makes the X windows follow the visible top-level windows (minimised ones iconified) and
  // puts changed pixels.
  void Sync() {
    const std::vector<TopLevelView> views = VisibleTopLevels();
    std::unordered_map<HWND, bool> present;
    std::vector<::Window> order;  // bottom first, of the windows on the screen
    for (const TopLevelView& view : views) {
      present[view.handle] = true;
      Shown& shown = shown_[view.handle];
      const bool minimised = (view.style & WS_MINIMIZE) != 0;
      const bool created = !shown.x;
      if (created) {
        if (minimised) continue;  // shown when first restored
        shown.framed = Framed(view) && ManagerRunning();
        shown.x = Create(view, shown);
        byX_[shown.x] = view.handle;
        if (inputMethod_)
          shown.input = XCreateIC(inputMethod_, XNInputStyle, XIMPreeditNothing | XIMStatusNothing, XNClientWindow,
                                  shown.x, XNFocusWindow, shown.x, nullptr);
      }
      if (minimised) {
        if (!shown.iconic) XIconifyWindow(display_, shown.x, DefaultScreen(display_));
        shown.iconic = true;
        continue;
      }
      const RECT place = PlaceOf(view, shown);
      const int width = std::max<int>(place.right - place.left, 1);
      const int height = std::max<int>(place.bottom - place.top, 1);
      if (!created && !EqualRect(&shown.rect, &place)) {
        XMoveResizeWindow(display_, shown.x, place.left, place.top, static_cast<unsigned>(width),
                          static_cast<unsigned>(height));
        FixSize(view, shown.x, place);
        shown.generation = ~std::uint64_t{0};
      }
      Dress(LookOf(view.handle), width, height, shown);
      if (created || shown.iconic) XMapRaised(display_, shown.x);
      shown.iconic = false;
      order.push_back(shown.x);
      shown.rect = place;
      Put(view.handle, shown);
    }
    Raise(order);
    for (auto it = shown_.begin(); it != shown_.end();) {
      if (present.count(it->first)) {
        ++it;
        continue;
      }
      if (it->second.x) {
        byX_.erase(it->second.x);
        if (it->second.input) XDestroyIC(it->second.input);
        XDestroyWindow(display_, it->second.x);
      }
      it = shown_.erase(it);
    }
  }

  // Brings the X windows into the windows' order by raising, bottom first, each from the first
  // that stands elsewhere than before: a raise is a request the window manager carries out for
  // its frames, where a restack against a sibling fails once the manager has reparented them.
  void Raise(const std::vector<::Window>& order) {
    std::size_t same = 0;
    while (same < order.size() && same < order_.size() && order[same] == order_[same]) ++same;
    for (std::size_t i = same; i < order.size(); ++i) XRaiseWindow(display_, order[i]);
    order_ = order;
  }

  // Menus and other transient tool windows bypass the window manager.
  static bool OverrideRedirect(const TopLevelView& view) {
    return (view.exStyle & WS_EX_TOOLWINDOW) && (view.exStyle & (WS_EX_TOPMOST | WS_EX_NOACTIVATE));
  }
  // A window manager that says so (EWMH) runs on the screen.
  bool ManagerRunning() const {
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    const bool found = XGetWindowProperty(display_, DefaultRootWindow(display_), wmCheck_, 0, 1, False, XA_WINDOW,
                                          &type, &format, &count, &after, &data) == Success &&
                       type == XA_WINDOW && count == 1;
    if (data) XFree(data);
    return found;
  }
  // A window with a caption is framed by the window manager, when one runs; without one it
  // shows the caption it paints itself.
  static bool Framed(const TopLevelView& view) {
    return (view.style & WS_CAPTION) == WS_CAPTION && !OverrideRedirect(view);
  }
  static RECT PlaceOf(const TopLevelView& view, Shown& shown) {
    shown.offset = POINT{};
    if (!shown.framed) return view.screen;
    const Insets frame = NonClientInsets(view.style, view.exStyle);
    shown.offset = POINT{frame.left, frame.top};
    RECT client{view.screen.left + frame.left, view.screen.top + frame.top, view.screen.right - frame.right,
                view.screen.bottom - frame.bottom};
    if (client.right <= client.left) client.right = client.left + 1;
    if (client.bottom <= client.top) client.bottom = client.top + 1;
    return client;
  }

  // The other windows are managed (so they get the keyboard) without the manager's decorations
  // when they draw their own frame; each stays where and as large as the window is.
  ::Window Create(const TopLevelView& view, Shown& shown) {
    const RECT place = PlaceOf(view, shown);
    const int width = std::max<int>(place.right - place.left, 1);
    const int height = std::max<int>(place.bottom - place.top, 1);
    XSetWindowAttributes attributes{};
    attributes.override_redirect = OverrideRedirect(view);
    attributes.background_pixel = BlackPixel(display_, DefaultScreen(display_));
    attributes.event_mask = ExposureMask | ButtonPressMask | ButtonReleaseMask | PointerMotionMask |
                            LeaveWindowMask | KeyPressMask | KeyReleaseMask | FocusChangeMask |
                            StructureNotifyMask;
    const ::Window x = XCreateWindow(
        display_, DefaultRootWindow(display_), place.left, place.top, static_cast<unsigned>(width),
        static_cast<unsigned>(height), 0, CopyFromParent, InputOutput, CopyFromParent,
        CWOverrideRedirect | CWBackPixel | CWEventMask, &attributes);
    XSetWMProtocols(display_, x, &wmDelete_, 1);
    if (!shown.framed) {
      // The Motif hints: flags (decorations given), functions, decorations (none), ...
      const long hints[5] = {2, 0, 0, 0, 0};
      XChangeProperty(display_, x, motifHints_, motifHints_, 32, PropModeReplace,
                      reinterpret_cast<const unsigned char*>(hints), 5);
    }
    XWMHints wm{};
    wm.flags = InputHint | StateHint;
    wm.input = True;
    wm.initial_state = NormalState;
    XSetWMHints(display_, x, &wm);
    const auto owner = view.owner ? shown_.find(GetAncestor(view.owner, GA_ROOT)) : shown_.end();
    if (owner != shown_.end() && owner->second.x) XSetTransientForHint(display_, x, owner->second.x);
    FixSize(view, x, place);
    return x;
  }

  // The window's place for the manager: the client's own position (static gravity, whatever
  // the frame adds) and, unless the window has a sizing frame, its size as the only size.
  void FixSize(const TopLevelView& view, ::Window x, const RECT& place) {
    XSizeHints hints{};
    hints.flags = PPosition | USPosition | PWinGravity;
    hints.x = place.left;
    hints.y = place.top;
    hints.win_gravity = StaticGravity;
    if (!(view.style & WS_THICKFRAME)) {
      hints.flags |= PMinSize | PMaxSize;
      hints.min_width = hints.max_width = std::max<int>(place.right - place.left, 1);
      hints.min_height = hints.max_height = std::max<int>(place.bottom - place.top, 1);
    }
    XSetWMNormalHints(display_, x, &hints);
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
      Shape(look, width, height, shown);
      shown.shapedFor = SIZE{width, height};
    }
    shown.look = std::move(look);
    shown.dressed = true;
  }

  // The window region becomes the window's bounding shape; without one the shape is reset.
  void Shape(const TopLevelLook& look, int width, int height, const Shown& shown) {
    const ::Window x = shown.x;
    if (!look.shaped) {
      XShapeCombineMask(display_, x, ShapeBounding, 0, 0, None, ShapeSet);
      return;
    }
    std::vector<XRectangle> rects;
    for (RECT r : look.region) {
      OffsetRect(&r, -shown.offset.x, -shown.offset.y);
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
    XPutImage(display_, shown.x, DefaultGC(display_, screen), image, shown.offset.x, shown.offset.y, 0, 0,
              static_cast<unsigned>(size.cx - shown.offset.x), static_cast<unsigned>(size.cy - shown.offset.y));
    image->data = nullptr;  // the pixels are the vector's
    XDestroyImage(image);
  }

  // X events become window input.
  void Events() {
    while (XPending(display_)) {
      XEvent event;
      XNextEvent(display_, &event);
      if (XFilterEvent(&event, None)) continue;  // the input method's (a dead key, a composition)
      if (event.type == MappingNotify) {  // the keyboard's layout changed
        XRefreshKeyboardMapping(&event.xmapping);
        continue;
      }
      const auto found = byX_.find(event.xany.window);
      if (found == byX_.end()) continue;
      const HWND window = found->second;
      Shown& shown = shown_[window];
      const RECT at = shown.rect;
      switch (event.type) {
        case Expose:
          shown.exposed = true;
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
          KeyDown(event.xkey, shown);
          break;
        case KeyRelease:
          KeyUp(event.xkey);
          break;
        case FocusIn:
          if (shown.input) XSetICFocus(shown.input);
          if (!IsWindowEnabled(window)) {
            // The manager raised and focused a window that a modal popup disables (a click on
            // it): the windows go back into their order above it, and the focus to the popup.
            order_.clear();
            ++requested_;
            ActivateForeground();
            break;
          }
          InjectFocus(window);
          break;
        case FocusOut:
          if (shown.input) XUnsetICFocus(shown.input);
          break;
        case MapNotify:
          // The manager restored an iconified window (from the taskbar).
          if (IsIconic(window)) PostMessageW(window, WM_SYSCOMMAND, SC_RESTORE, 0);
          break;
        case UnmapNotify:
          // The manager iconified a window that is not minimised.
          if (!event.xunmap.send_event && !shown.iconic && IsWindowVisible(window) && !IsIconic(window)) {
            shown.iconic = true;
            PostMessageW(window, WM_SYSCOMMAND, SC_MINIMIZE, 0);
          }
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

  // Asks the window manager to give the focus to the X window of the foreground window.
  void ActivateForeground() {
    const auto found = shown_.find(GetForegroundWindow());
    if (found == shown_.end() || !found->second.x || found->second.iconic) return;
    XEvent request{};
    request.xclient.type = ClientMessage;
    request.xclient.window = found->second.x;
    request.xclient.message_type = netActive_;
    request.xclient.format = 32;
    request.xclient.data.l[0] = 1;  // from an application
    request.xclient.data.l[1] = CurrentTime;
    XSendEvent(display_, DefaultRootWindow(display_), False, SubstructureRedirectMask | SubstructureNotifyMask,
               &request);
  }

  // A key goes down: the text X composes for it (with its keyboard layout, Shift, AltGr and the
  // input method's dead keys) where the window system's key would not type it, else its key.
  void KeyDown(XKeyEvent& e, const Shown& shown) {
    const int key = KeyOf(e);
    char bytes[64];
    KeySym symbol = NoSymbol;
    int length = 0;
    if (shown.input) {
      Status status = 0;
      length = Xutf8LookupString(shown.input, &e, bytes, sizeof bytes, &symbol, &status);
      if (status != XLookupChars && status != XLookupBoth) length = 0;
    } else {
      length = XLookupString(&e, bytes, sizeof bytes, &symbol, nullptr);  // Latin-1
    }
    std::u16string typed;
    if (length > 0) typed = shown.input ? FromUtf8(bytes, length) : FromLatin1(bytes, length);
    const bool command = (e.state & (ControlMask | Mod1Mask)) != 0;
    if (TypedAsText(key, typed, (e.state & ShiftMask) != 0, (e.state & LockMask) != 0, command)) {
      for (char16_t c : typed) InjectCharacter(c);
      typedKeys_[e.keycode] = true;
      return;
    }
    typedKeys_.erase(e.keycode);
    if (key) InjectKey(key, true);
  }
  void KeyUp(XKeyEvent& e) {
    if (typedKeys_.erase(e.keycode)) return;  // its characters went down and up already
    if (const int key = KeyOf(e)) InjectKey(key, false);
  }
  static int KeyOf(XKeyEvent& e) {
    return VirtualKeyOfKey(XLookupKeysym(&e, 0), XLookupKeysym(&e, 1), (e.state & Mod2Mask) != 0);
  }
  static std::u16string FromUtf8(const char* bytes, int length) {
    const int size = MultiByteToWideChar(CP_UTF8, 0, bytes, length, nullptr, 0);
    std::u16string text(static_cast<std::size_t>(std::max(size, 0)), u'\0');
    if (size > 0) MultiByteToWideChar(CP_UTF8, 0, bytes, length, text.data(), size);
    return text;
  }
  static std::u16string FromLatin1(const char* bytes, int length) {
    std::u16string text;
    for (int i = 0; i < length; ++i) text += static_cast<char16_t>(static_cast<unsigned char>(bytes[i]));
    return text;
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
  Atom wmCheck_;
  Atom netActive_;
  bool shape_ = false;
  XIM inputMethod_ = nullptr;
  std::mutex lock_;
  std::condition_variable cv_;
  std::atomic<std::uint64_t> requested_{0};
  std::atomic<std::uint64_t> done_{0};
  std::uint64_t seen_ = 0;
  // Touched only by the presenter thread.
  std::unordered_map<HWND, Shown> shown_;
  std::unordered_map<::Window, HWND> byX_;
  std::vector<::Window> order_;              // bottom first
  std::unordered_map<unsigned, bool> typedKeys_;  // keys held whose text went as characters
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

// A request X refused (a window gone meanwhile, a manager's answer in between): said on stderr,
// and the presenter goes on; Xlib's own handler would end the process.
int RequestRefused(Display* display, XErrorEvent* error) {
  char text[160] = {};
  XGetErrorText(display, error->error_code, text, sizeof text);
  std::fprintf(stderr, "zx: X error %s (request %d.%d) ignored\n", text, error->request_code, error->minor_code);
  return 0;
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
      XSetErrorHandler(RequestRefused);
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
