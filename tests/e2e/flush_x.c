// Preloaded into Wine: remembers every X display the process opens and
// flushes them all when it exits. Wine's X11 driver buffers drawing on the
// screen's DC and flushes it only when the buffer fills or the thread waits
// for messages; penplay never waits, so without this its last dots would be
// lost at exit. Declares the two Xlib calls itself so that no 32-bit Xlib
// headers are needed to build the 32-bit copy.
#define _GNU_SOURCE
#include <dlfcn.h>
#include <pthread.h>
#include <stdlib.h>

typedef struct Display Display;
typedef Display *(*open_display_fn)(const char *);
typedef int (*sync_fn)(Display *, int);

enum { max_displays = 16 };
static Display *displays[max_displays];
static int display_count;
static pthread_mutex_t lock = PTHREAD_MUTEX_INITIALIZER;

static void flush_displays(void) {
    sync_fn sync = (sync_fn)dlsym(RTLD_DEFAULT, "XSync");
    pthread_mutex_lock(&lock);
    for (int i = 0; sync && i < display_count; i++) sync(displays[i], 0);
    display_count = 0;
    pthread_mutex_unlock(&lock);
}

Display *XOpenDisplay(const char *name) {
    static open_display_fn real_open;
    if (!real_open) {
        real_open = (open_display_fn)dlsym(RTLD_NEXT, "XOpenDisplay");
        atexit(flush_displays);
    }
    Display *display = real_open ? real_open(name) : NULL;
    pthread_mutex_lock(&lock);
    if (display && display_count < max_displays) displays[display_count++] = display;
    pthread_mutex_unlock(&lock);
    return display;
}
