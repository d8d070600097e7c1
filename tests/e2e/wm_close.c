/* What a window manager's close button does: sends the window the WM_DELETE_WINDOW message
   of the window-manager protocol (Xvfb runs no window manager to do it). */
#include <X11/Xlib.h>
#include <stdio.h>
#include <stdlib.h>

int main(int argc, char** argv) {
  if (argc != 2) {
    fputs("usage: wm_close WINDOW-ID\n", stderr);
    return 2;
  }
  Display* display = XOpenDisplay(NULL);
  if (display == NULL) {
    fputs("wm_close: no display\n", stderr);
    return 1;
  }
  Window window = (Window)strtoul(argv[1], NULL, 0);
  XEvent event = {0};
  event.xclient.type = ClientMessage;
  event.xclient.window = window;
  event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
  event.xclient.format = 32;
  event.xclient.data.l[0] = (long)XInternAtom(display, "WM_DELETE_WINDOW", False);
  event.xclient.data.l[1] = CurrentTime;
  XSendEvent(display, window, False, NoEventMask, &event);
  XSync(display, False);
  XCloseDisplay(display);
  return 0;
}
