// rumbolo-bench-mapwatch: starts a program and reports how long it takes until
// a top-level window with a given title is mapped on the X display, and then
// first drawn into, and how much memory the program then holds.
//
//   rumbolo-bench-mapwatch --title TITLE [--settle-ms MS] [--timeout-ms MS] -- PROGRAM [ARGS...]
//
// Prints one line: "map_ms=<ms> frame_ms=<ms> rss_kib=<VmRSS after settling>
// hwm_kib=<VmHWM> anon_kib=<RssAnon> file_kib=<RssFile>".
// The clock starts just before the program is forked; the watcher listens to
// the root window's substructure events, so the moment of the MapNotify is
// exact rather than polled. Every top-level window is watched with the X
// damage extension from its creation, so the first drawing into the window
// (its first frame: the program paints nothing before it is mapped) is exact
// too; frame_ms is -1 when the extension is missing or nothing was drawn within
// the settling time. The program is then ended with SIGTERM.

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xdamage.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <string>
#include <sys/select.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

double nowMs()
{
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return ts.tv_sec * 1000.0 + ts.tv_nsec / 1e6;
}

std::string windowTitle(Display *display, Window window)
{
    const Atom netWmName = XInternAtom(display, "_NET_WM_NAME", False);
    const Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char *data = nullptr;
    std::string title;
    if (XGetWindowProperty(display, window, netWmName, 0, 1024, False, utf8, &type, &format, &count, &after, &data)
            == Success
        && data && type == utf8) {
        title.assign(reinterpret_cast<char *>(data), count);
    }
    if (data)
        XFree(data);
    if (title.empty()) {
        char *name = nullptr;
        if (XFetchName(display, window, &name) && name) {
            title = name;
            XFree(name);
        }
    }
    return title;
}

long statusField(pid_t pid, const char *field)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    const std::string prefix = std::string(field) + ":";
    while (std::getline(status, line)) {
        if (line.compare(0, prefix.size(), prefix) == 0)
            return std::strtol(line.c_str() + prefix.size(), nullptr, 10);
    }
    return -1;
}

int ignoreXErrors(Display *, XErrorEvent *)
{
    return 0; // a window may vanish between its event and our property read
}

int usage()
{
    std::fprintf(stderr,
                 "usage: rumbolo-bench-mapwatch --title TITLE [--settle-ms MS] [--timeout-ms MS] -- PROGRAM [ARGS...]\n");
    return 2;
}
}

int main(int argc, char **argv)
{
    std::string title;
    int settleMs = 1000;
    int timeoutMs = 30000;
    int i = 1;
    for (; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--" ) {
            ++i;
            break;
        }
        if (i + 1 >= argc)
            return usage();
        if (arg == "--title")
            title = argv[++i];
        else if (arg == "--settle-ms")
            settleMs = std::atoi(argv[++i]);
        else if (arg == "--timeout-ms")
            timeoutMs = std::atoi(argv[++i]);
        else
            return usage();
    }
    if (title.empty() || i >= argc)
        return usage();

    Display *display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "mapwatch: cannot open the display\n");
        return 1;
    }
    XSetErrorHandler(ignoreXErrors);
    const Window root = DefaultRootWindow(display);
    XSelectInput(display, root, SubstructureNotifyMask);
    int damageEvent = 0, damageError = 0;
    const bool damage = XDamageQueryExtension(display, &damageEvent, &damageError);
    XSync(display, False);

    const double start = nowMs();
    const pid_t child = fork();
    if (child < 0) {
        std::perror("mapwatch: fork");
        return 1;
    }
    if (child == 0) {
        execvp(argv[i], argv + i);
        std::perror("mapwatch: exec");
        _exit(127);
    }

    const int fd = ConnectionNumber(display);
    double mappedAt = -1;
    double drawnAt = -1;
    Window watched = None;
    // A window is drawn into only after it is mapped; its damage is followed
    // from its creation, so that no drawing can come before the watch.
    auto handle = [&](const XEvent &event) {
        if (event.type == CreateNotify && damage) {
            XDamageCreate(display, event.xcreatewindow.window, XDamageReportNonEmpty);
            XFlush(display);
        } else if (event.type == MapNotify && watched == None && windowTitle(display, event.xmap.window) == title) {
            mappedAt = nowMs();
            watched = event.xmap.window;
        } else if (damage && event.type == damageEvent + XDamageNotify) {
            const auto &notify = reinterpret_cast<const XDamageNotifyEvent &>(event);
            if (watched != None && notify.drawable == watched && drawnAt < 0)
                drawnAt = nowMs();
        }
    };
    while (mappedAt < 0) {
        while (XPending(display)) {
            XEvent event;
            XNextEvent(display, &event);
            handle(event);
        }
        if (mappedAt >= 0)
            break;
        int status = 0;
        if (waitpid(child, &status, WNOHANG) == child) {
            std::fprintf(stderr, "mapwatch: the program ended before its window was mapped (status %d)\n", status);
            return 1;
        }
        if (nowMs() - start > timeoutMs) {
            std::fprintf(stderr, "mapwatch: no window \"%s\" within %d ms\n", title.c_str(), timeoutMs);
            kill(child, SIGKILL);
            waitpid(child, nullptr, 0);
            return 1;
        }
        fd_set fds;
        FD_ZERO(&fds);
        FD_SET(fd, &fds);
        timeval tv{0, 5000};
        select(fd + 1, &fds, nullptr, nullptr, &tv);
    }

    // Let the first frames be painted and the event loop settle before the
    // memory is read.
    const double settleUntil = nowMs() + settleMs;
    while (nowMs() < settleUntil) {
        while (XPending(display)) {
            XEvent event;
            XNextEvent(display, &event);
            handle(event);
        }
        if (drawnAt >= 0) {
            usleep(10000);
            continue;
        }
        fd_set fds;
        FD_ZERO(&fds);
        FD_SET(fd, &fds);
        timeval tv{0, 2000};
        select(fd + 1, &fds, nullptr, nullptr, &tv);
    }
    const long rss = statusField(child, "VmRSS");
    const long hwm = statusField(child, "VmHWM");
    const long anon = statusField(child, "RssAnon");
    const long file = statusField(child, "RssFile");

    kill(child, SIGTERM);
    int status = 0;
    waitpid(child, &status, 0);
    XCloseDisplay(display);

    std::printf("map_ms=%.1f frame_ms=%.1f rss_kib=%ld hwm_kib=%ld anon_kib=%ld file_kib=%ld\n", mappedAt - start,
                drawnAt < 0 ? -1.0 : drawnAt - start, rss, hwm, anon, file);
    return 0;
}
