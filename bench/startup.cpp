// Measures the panel's start-up against a floor (a bare window of the same
// size and title showing one line of text in the panel's font), in
// alternating runs on a private X server (Xvfb):
//   - the time from exec to the mapped window (MapNotify on the root);
//   - the peak resident memory (VmHWM) once the window is up;
// and, for the panel alone, the resident memory with the wiring diagram, the
// operation guide and the About window open, and again after they closed.
// Prints the median of the pair ratios. Usage: startup [pairs] [help-runs]
#include <xcb/xcb.h>

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
const std::string PanelTitle = "Quorvale Automation KAVO H1.10xp";
const std::string GuideTitle = "Instalation & Operartion Guide..";
const std::string WiringTitle = "Quorvale Automation- Wiring Diagram for KAVOxp H1.10";
const std::string AboutTitle = "About Quorvale Rivavavo Control System KAVO x";

[[noreturn]] void die(const std::string& why) {
    std::fprintf(stderr, "startup: %s\n", why.c_str());
    std::exit(1);
}

struct XServer {
    pid_t pid = -1;
    std::string display;

    void start() {
        int fds[2];
        if (pipe(fds) != 0)
            die("pipe failed");
        pid = fork();
        if (pid == 0) {
            close(fds[0]);
            const std::string fd = std::to_string(fds[1]);
            execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1024x768x24",
                   "-nolisten", "tcp", static_cast<char*>(nullptr));
            _exit(127);
        }
        close(fds[1]);
        // Xvfb writes the number and the newline separately, and gives up if
        // the pipe is closed in between: read up to the newline.
        std::string number;
        char c = 0;
        while (read(fds[0], &c, 1) == 1 && c != '\n')
            number += c;
        close(fds[0]);
        if (number.empty())
            die("Xvfb did not start");
        display = ":" + number;
    }
    ~XServer() {
        if (pid > 0) {
            kill(pid, SIGTERM);
            waitpid(pid, nullptr, 0);
        }
    }
};

class X {
  public:
    explicit X(const std::string& display) {
        c_ = xcb_connect(display.c_str(), nullptr);
        if (xcb_connection_has_error(c_))
            die("cannot connect to " + display);
        root_ = xcb_setup_roots_iterator(xcb_get_setup(c_)).data->root;
        const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
        xcb_change_window_attributes(c_, root_, XCB_CW_EVENT_MASK, &mask);
        protocols_ = atom("WM_PROTOCOLS");
        deleteWindow_ = atom("WM_DELETE_WINDOW");
        xcb_flush(c_);
    }
    ~X() { xcb_disconnect(c_); }

    std::string title(xcb_window_t window) {
        auto cookie =
            xcb_get_property(c_, 0, window, XCB_ATOM_WM_NAME, XCB_GET_PROPERTY_TYPE_ANY, 0, 256);
        xcb_get_property_reply_t* reply = xcb_get_property_reply(c_, cookie, nullptr);
        std::string text;
        if (reply) {
            text.assign(static_cast<const char*>(xcb_get_property_value(reply)),
                        static_cast<std::size_t>(xcb_get_property_value_length(reply)));
            std::free(reply);
        }
        return text;
    }

    // Waits for a top-level window with this title to be mapped.
    std::optional<xcb_window_t> waitForMap(const std::string& wanted, int timeoutMs = 20000) {
        const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
        while (Clock::now() < deadline) {
            xcb_generic_event_t* event = xcb_poll_for_event(c_);
            if (!event) {
                pollfd p{xcb_get_file_descriptor(c_), POLLIN, 0};
                poll(&p, 1, 5);
                continue;
            }
            std::optional<xcb_window_t> found;
            if ((event->response_type & 0x7f) == XCB_MAP_NOTIFY) {
                const auto* map = reinterpret_cast<xcb_map_notify_event_t*>(event);
                if (title(map->window) == wanted)
                    found = map->window;
            }
            std::free(event);
            if (found)
                return found;
        }
        return std::nullopt;
    }

    void drain() {
        while (xcb_generic_event_t* event = xcb_poll_for_event(c_))
            std::free(event);
    }

    std::pair<int, int> origin(xcb_window_t window) {
        xcb_get_geometry_reply_t* g =
            xcb_get_geometry_reply(c_, xcb_get_geometry(c_, window), nullptr);
        std::pair<int, int> at{g ? int{g->x} : 0, g ? int{g->y} : 0};
        std::free(g);
        return at;
    }

    void moveAway(xcb_window_t window) {
        const uint32_t xy[] = {2000, 0};
        xcb_configure_window(c_, window, XCB_CONFIG_WINDOW_X | XCB_CONFIG_WINDOW_Y, xy);
        xcb_flush(c_);
    }

    // What the window manager's close box sends.
    void askToClose(xcb_window_t window) {
        xcb_client_message_event_t message{};
        message.response_type = XCB_CLIENT_MESSAGE;
        message.format = 32;
        message.window = window;
        message.type = protocols_;
        message.data.data32[0] = deleteWindow_;
        message.data.data32[1] = XCB_CURRENT_TIME;
        xcb_send_event(c_, 0, window, XCB_EVENT_MASK_NO_EVENT,
                       reinterpret_cast<const char*>(&message));
        xcb_flush(c_);
    }

  private:
    xcb_atom_t atom(const char* name) {
        auto* reply = xcb_intern_atom_reply(
            c_, xcb_intern_atom(c_, 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr);
        const xcb_atom_t a = reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
        std::free(reply);
        return a;
    }
    xcb_connection_t* c_;
    xcb_window_t root_;
    xcb_atom_t protocols_, deleteWindow_;
};

// A kB figure from /proc/<pid>/status.
long statusKb(pid_t pid, const char* field) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    const std::string prefix = std::string(field) + ":";
    while (std::getline(in, line))
        if (line.rfind(prefix, 0) == 0)
            return std::atol(line.c_str() + prefix.size());
    return -1;
}

pid_t launch(const std::string& program, const std::string& display) {
    const pid_t pid = fork();
    if (pid == 0) {
        setenv("DISPLAY", display.c_str(), 1);
        setenv("QT_QPA_PLATFORM", "xcb", 1);
        unsetenv("WAYLAND_DISPLAY");
        // The panel says once on stderr that this machine has no relay board.
        if (FILE* null = std::fopen("/dev/null", "w"))
            dup2(fileno(null), STDERR_FILENO);
        execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    return pid;
}

void stop(pid_t pid) {
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
}

struct Start {
    double ms;
    long peakKb;
};

Start measureStart(X& x, const std::string& program, const std::string& display) {
    x.drain();
    const auto t0 = Clock::now();
    const pid_t pid = launch(program, display);
    if (!x.waitForMap(PanelTitle))
        die(program + ": no window appeared");
    const double ms = std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
    // Past the first frame and the clock label's first tick.
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    const long peak = statusKb(pid, "VmHWM");
    stop(pid);
    return {ms, peak};
}

void click(const std::string& display, int x, int y) {
    const std::string command = "DISPLAY=" + display + " xdotool mousemove " + std::to_string(x) +
                                " " + std::to_string(y) + " click 1";
    if (std::system(command.c_str()) != 0)
        die("xdotool failed (is it installed?)");
}

struct HelpMemory {
    long aloneKb, openKb, closedKb;
};

HelpMemory measureHelpWindows(X& x, const std::string& panel, const std::string& display) {
    x.drain();
    const pid_t pid = launch(panel, display);
    const auto window = x.waitForMap(PanelTitle);
    if (!window)
        die("the panel did not appear");
    std::this_thread::sleep_for(std::chrono::milliseconds(800));
    const long alone = statusKb(pid, "VmRSS");
    const auto [px, py] = x.origin(*window);

    // Each window opens over the panel, so it is moved aside before the next click.
    struct Opener {
        int cx, cy;
        const std::string& title;
    };
    const Opener openers[] = {
        {168, 136, WiringTitle}, {232, 136, GuideTitle}, {212, 44, AboutTitle}};
    std::vector<xcb_window_t> opened;
    for (const Opener& o : openers) {
        click(display, px + o.cx, py + o.cy);
        const auto help = x.waitForMap(o.title);
        if (!help)
            die("no window \"" + o.title + "\" appeared");
        x.moveAway(*help);
        opened.push_back(*help);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(800));
    const long open = statusKb(pid, "VmRSS");
    for (xcb_window_t help : opened)
        x.askToClose(help);
    std::this_thread::sleep_for(std::chrono::milliseconds(1200));
    const long closed = statusKb(pid, "VmRSS");
    stop(pid);
    return {alone, open, closed};
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

} // namespace

int main(int argc, char** argv) {
    const int pairs = argc > 1 ? std::atoi(argv[1]) : 31;
    const int helpRuns = argc > 2 ? std::atoi(argv[2]) : 5;
    XServer server;
    server.start();
    X x(server.display);

    std::vector<double> floorMs, panelMs, timeRatio, memRatio, floorMb, panelMb;
    for (int i = 0; i < pairs; ++i) {
        // Alternate which goes first, so neither always gets the warmer caches.
        Start f{}, p{};
        if (i % 2 == 0) {
            f = measureStart(x, KAVO_FLOOR, server.display);
            p = measureStart(x, KAVO_PANEL, server.display);
        } else {
            p = measureStart(x, KAVO_PANEL, server.display);
            f = measureStart(x, KAVO_FLOOR, server.display);
        }
        floorMs.push_back(f.ms);
        panelMs.push_back(p.ms);
        floorMb.push_back(f.peakKb / 1024.0);
        panelMb.push_back(p.peakKb / 1024.0);
        timeRatio.push_back(p.ms / f.ms);
        memRatio.push_back(static_cast<double>(p.peakKb) / static_cast<double>(f.peakKb));
    }
    std::printf("Start-up, %d alternating pairs on Xvfb (median; ratio = median of pair ratios)\n",
                pairs);
    std::printf("  %-28s %10s %10s %8s\n", "", "floor", "panel", "ratio");
    std::printf("  %-28s %8.1f ms %7.1f ms %7.2fx\n", "exec to mapped window", median(floorMs),
                median(panelMs), median(timeRatio));
    std::printf("  %-28s %8.1f MB %7.1f MB %7.2fx\n", "peak resident memory", median(floorMb),
                median(panelMb), median(memRatio));

    std::vector<double> above, after;
    for (int i = 0; i < helpRuns; ++i) {
        const HelpMemory m = measureHelpWindows(x, KAVO_PANEL, server.display);
        above.push_back((m.openKb - m.aloneKb) / 1024.0);
        after.push_back((m.closedKb - m.aloneKb) / 1024.0);
    }
    if (helpRuns > 0) {
        std::printf("Help windows, %d runs (resident memory against the panel alone, median)\n",
                    helpRuns);
        std::printf("  %-44s %+7.1f MB\n", "wiring, guide and About open", median(above));
        std::printf("  %-44s %+7.1f MB\n", "after all three closed", median(after));
    }
    return 0;
}
