// Samples the X pointer's position as fast as the server answers and writes
// each change as "x y" to a file, until it is sent SIGTERM or SIGINT.
// Usage: pointer_sampler OUT.txt   (the display comes from DISPLAY)
#include <X11/Xlib.h>
#include <signal.h>
#include <stdio.h>

static volatile sig_atomic_t stopping;
static void stop(int signal_number) { (void)signal_number; stopping = 1; }

int main(int argc, char **argv) {
    if (argc != 2) {
        fprintf(stderr, "usage: %s OUT.txt\n", argv[0]);
        return 2;
    }
    Display *display = XOpenDisplay(NULL);
    if (!display) {
        fprintf(stderr, "pointer_sampler: cannot open the display\n");
        return 1;
    }
    FILE *out = fopen(argv[1], "w");
    if (!out) {
        perror(argv[1]);
        return 1;
    }
    signal(SIGTERM, stop);
    signal(SIGINT, stop);
    Window root = DefaultRootWindow(display), root_return, child;
    int last_x = -1, last_y = -1, x, y, window_x, window_y;
    unsigned int mask;
    long samples = 0;
    while (!stopping) {
        if (!XQueryPointer(display, root, &root_return, &child, &x, &y, &window_x, &window_y, &mask))
            continue;
        samples++;
        if (x != last_x || y != last_y) {
            fprintf(out, "%d %d\n", x, y);
            fflush(out);
            last_x = x;
            last_y = y;
        }
    }
    fprintf(stderr, "pointer_sampler: %ld samples\n", samples);
    fclose(out);
    XCloseDisplay(display);
    return 0;
}
