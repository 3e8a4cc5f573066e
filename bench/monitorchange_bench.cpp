// From a change of monitors to the bar's new struts: the time the bar takes to give its old
// band back and reserve the new one, against its goal of 50 ms.
//
//   pindrel_monitorchange_bench --pindrel PROGRAM --folder DIR [--runs N]
//
// Runs on the X display of DISPLAY, which must have two RandR monitors M1 (with the screen's
// output) and M2, as run-benchmarks.sh makes them. A private copy of the program is started
// docked at the top; each run moves the primary monitor to the other side (xrandr
// --delmonitor and --setmonitor, in the background). The server tells every client of a change
// of its monitors with a ConfigureNotify of the root window (and of a change of outputs and
// modes with the RandR notifications); the clock starts at the last such news this process
// receives before the bar's _NET_WM_STRUT_PARTIAL (watched through its PropertyNotify) spans
// the new primary monitor, and stops there.

#include "childprocess.h"

#include <poll.h>
#include <xcb/randr.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
constexpr double kGoalMs = 50.0;

struct FreeDeleter
{
    void operator()(void *pPointer) const { std::free(pPointer); }
};
template<typename T>
using Reply = std::unique_ptr<T, FreeDeleter>;

xcb_atom_t atom(xcb_connection_t *pConnection, const char *pName)
{
    const Reply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(
        pConnection,
        xcb_intern_atom(pConnection, 0, static_cast<uint16_t>(std::strlen(pName)), pName),
        nullptr));
    return reply ? reply->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
}

std::vector<uint32_t> cardinals(xcb_connection_t *pConnection, xcb_window_t pWindow,
                                xcb_atom_t pProperty, xcb_atom_t pType = XCB_ATOM_CARDINAL)
{
    const Reply<xcb_get_property_reply_t> reply(xcb_get_property_reply(
        pConnection, xcb_get_property(pConnection, 0, pWindow, pProperty, pType, 0, 64), nullptr));
    if (!reply || reply->format != 32)
        return {};
    const auto *values = static_cast<const uint32_t *>(xcb_get_property_value(reply.get()));
    return {values, values + xcb_get_property_value_length(reply.get()) / 4};
}

// The client of pPid that reserves space: the bar.
std::optional<xcb_window_t> barOf(xcb_connection_t *pConnection, xcb_window_t pRoot, pid_t pPid,
                                  xcb_atom_t pClients, xcb_atom_t pPidAtom, xcb_atom_t pStrut)
{
    for (const uint32_t window : cardinals(pConnection, pRoot, pClients, XCB_ATOM_WINDOW)) {
        const auto pid = cardinals(pConnection, window, pPidAtom);
        if (!pid.empty() && static_cast<pid_t>(pid.front()) == pPid
            && cardinals(pConnection, window, pStrut).size() == 12)
            return window;
    }
    return std::nullopt;
}

bool run(const std::string &pCommand)
{
    return std::system(pCommand.c_str()) == 0;
}

double median(std::vector<double> pValues)
{
    std::sort(pValues.begin(), pValues.end());
    return pValues.empty() ? 0.0 : pValues[pValues.size() / 2];
}

} // namespace

int main(int argc, char **argv)
{
    std::string program;
    std::string folder;
    int runs = 21;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string option = argv[i];
        if (option == "--pindrel")
            program = argv[i + 1];
        else if (option == "--folder")
            folder = argv[i + 1];
        else if (option == "--runs")
            runs = std::max(1, std::atoi(argv[i + 1]));
    }
    if (program.empty() || folder.empty()) {
        std::fprintf(stderr, "usage: %s --pindrel PROGRAM --folder DIR [--runs N]\n", argv[0]);
        return 2;
    }

    // A portable copy of its own: config.ini and the single-instance key beside it.
    namespace fs = std::filesystem;
    const fs::path copy = fs::path(folder) / "monitorchange";
    fs::create_directories(copy / "bin");
    fs::copy_file(program, copy / "bin" / "pindrel", fs::copy_options::overwrite_existing);
    fs::remove(copy / "lib");
    fs::create_directory_symlink(fs::canonical(fs::path(program).parent_path() / ".." / "lib"),
                                 copy / "lib");
    std::ofstream(copy / "bin" / "config.ini")
        << "[MAIN]\nPOSITION=TOP\n[GRAL]\nCANTBOT=1\n[BUTTON1]\nCAPTION=Temp\nPATH=/tmp\n";

    xcb_connection_t *connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection) != 0) {
        std::fprintf(stderr, "monitorchange: no X display\n");
        return 1;
    }
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    const xcb_query_extension_reply_t *randr = xcb_get_extension_data(connection, &xcb_randr_id);
    if (randr == nullptr || randr->present == 0) {
        std::fprintf(stderr, "monitorchange: no RandR\n");
        return 1;
    }
    free(xcb_randr_query_version_reply(connection, xcb_randr_query_version(connection, 1, 5),
                                       nullptr));
    xcb_randr_select_input(connection, root,
                           XCB_RANDR_NOTIFY_MASK_SCREEN_CHANGE | XCB_RANDR_NOTIFY_MASK_OUTPUT_CHANGE
                               | XCB_RANDR_NOTIFY_MASK_CRTC_CHANGE);
    const xcb_atom_t clients = atom(connection, "_NET_CLIENT_LIST");
    const xcb_atom_t pidAtom = atom(connection, "_NET_WM_PID");
    const xcb_atom_t strut = atom(connection, "_NET_WM_STRUT_PARTIAL");

    ChildProcess pindrel((copy / "bin" / "pindrel").string(), {}, ChildProcess::Output::Discarded);
    std::optional<xcb_window_t> bar;
    const auto deadline = Clock::now() + std::chrono::seconds(20);
    while (!bar && Clock::now() < deadline && pindrel.isRunning()) {
        bar = barOf(connection, root, pindrel.pid(), clients, pidAtom, strut);
        if (!bar)
            run("sleep 0.05");
    }
    if (!bar) {
        std::fprintf(stderr, "monitorchange: the bar never reserved its band\n");
        return 1;
    }
    const uint32_t barMask = XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_change_window_attributes(connection, *bar, XCB_CW_EVENT_MASK, &barMask);
    const uint32_t rootMask = XCB_EVENT_MASK_STRUCTURE_NOTIFY;
    xcb_change_window_attributes(connection, root, XCB_CW_EVENT_MASK, &rootMask);
    xcb_flush(connection);

    // The primary monitor on the right, then on the left, and so on. A monitor cannot be
    // defined again under its name, so each change takes it away first; the step in between
    // leaves the bar's strut elsewhere than where the change ends. M1 holds the screen's
    // output.
    const char *layouts[2] = {
        "xrandr --delmonitor M2 && xrandr --setmonitor '*M2' 1280/338x1080/285+1280+0 none",
        "xrandr --delmonitor M1 && xrandr --setmonitor '*M1' 1280/338x800/211+0+0 screen",
    };
    // The top strut's range on the new primary: first and last column.
    const uint32_t expectedRange[2][2] = {{1280, 2559}, {0, 1279}};
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const int layout = i % 2;
        // In the background: the clock runs on the server's notifications, not on xrandr.
        if (!run(std::string("(") + layouts[layout] + ") >/dev/null 2>&1 &")) {
            std::fprintf(stderr, "monitorchange: xrandr failed\n");
            return 1;
        }
        std::optional<Clock::time_point> notified;
        std::optional<double> took;
        const auto giveUp = Clock::now() + std::chrono::seconds(5);
        while (!took) {
            xcb_generic_event_t *event = xcb_poll_for_event(connection);
            if (event == nullptr) {
                if (Clock::now() > giveUp || xcb_connection_has_error(connection) != 0) {
                    std::fprintf(stderr,
                                 "monitorchange: no news of the change and new strut "
                                 "within 5 s\n");
                    return 1;
                }
                // Woken by the next event at once: each event is stamped when it arrives.
                pollfd descriptor{xcb_get_file_descriptor(connection), POLLIN, 0};
                poll(&descriptor, 1, 50);
                continue;
            }
            const auto now = Clock::now();
            const int type = event->response_type & 0x7f;
            const bool rootConfigured = type == XCB_CONFIGURE_NOTIFY
                && reinterpret_cast<xcb_configure_notify_event_t *>(event)->window == root;
            if (rootConfigured || type == randr->first_event + XCB_RANDR_SCREEN_CHANGE_NOTIFY
                || type == randr->first_event + XCB_RANDR_NOTIFY)
                notified = now;
            if (type == XCB_PROPERTY_NOTIFY && notified) {
                const auto *property = reinterpret_cast<xcb_property_notify_event_t *>(event);
                if (property->atom == strut) {
                    const auto values = cardinals(connection, *bar, strut);
                    if (values.size() == 12 && values[8] == expectedRange[layout][0]
                        && values[9] == expectedRange[layout][1])
                        took = std::chrono::duration<double, std::milli>(now - *notified).count();
                }
            }
            std::free(event);
        }
        // The window manager's answer to the change (its new work area) is let through before
        // the next run.
        run("sleep 0.3");
        while (xcb_generic_event_t *stale = xcb_poll_for_event(connection))
            std::free(stale);
        times.push_back(*took);
    }
    const double middle = median(times);
    const double worst = *std::max_element(times.begin(), times.end());
    std::printf("monitor change to new struts: median %.2f ms, worst %.2f ms over %d runs\n",
                middle, worst, runs);
    std::printf("ratio against the goal of %.0f ms: median %.2f, worst %.2f (%s)\n", kGoalMs,
                middle / kGoalMs, worst / kGoalMs, worst <= kGoalMs ? "met" : "NOT met");
    xcb_disconnect(connection);
    return worst <= kGoalMs ? 0 : 1;
}
