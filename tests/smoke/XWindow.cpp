// xwindow: what the smoke test asks of the X server ($DISPLAY) beyond xdotool.
//   xwindow drawn WINDOW COMMAND...  runs the command (keys that open a window), then waits
//                                    until another window is drawn in WINDOW: with no menu
//                                    open, its picture has changed in a window's worth of
//                                    pixels since just before the command
//   xwindow close WINDOW             asks the window to close, as a window manager's close
//                                    button does (WM_DELETE_WINDOW); the test has none

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <memory>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// The smallest window covers far more; the live instruments of windows already open
// change far fewer between two pictures.
constexpr size_t kWindowPixels = 20000;
constexpr auto kPatience = std::chrono::seconds(30);
constexpr auto kPollInterval = std::chrono::milliseconds(10);

template <typename Reply>
std::unique_ptr<Reply, decltype(&std::free)> Owned(Reply* reply) {
    return {reply, &std::free};
}

struct Picture {
    uint32_t width = 0;
    uint32_t height = 0;
    std::vector<uint32_t> pixels;  // 32 bits each, as the server sends a depth of 24
};

class Display {
public:
    Display() : connection_(xcb_connect(nullptr, nullptr)) {
        if (xcb_connection_has_error(connection_) != 0) throw std::runtime_error("cannot open the display");
        root_ = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data->root;
    }
    ~Display() { xcb_disconnect(connection_); }
    Display(const Display&) = delete;
    Display& operator=(const Display&) = delete;

    Picture Take(xcb_window_t window) {
        const auto geometry =
            Owned(xcb_get_geometry_reply(connection_, xcb_get_geometry(connection_, window), nullptr));
        if (!geometry) throw std::runtime_error("no such window");
        Picture picture{geometry->width, geometry->height, {}};
        const auto image =
            Owned(xcb_get_image_reply(connection_,
                                      xcb_get_image(connection_, XCB_IMAGE_FORMAT_Z_PIXMAP, window, 0, 0,
                                                    geometry->width, geometry->height, ~0u),
                                      nullptr));
        if (!image) throw std::runtime_error("cannot read the window's picture");
        const auto* data = reinterpret_cast<const uint32_t*>(xcb_get_image_data(image.get()));
        picture.pixels.assign(data, data + xcb_get_image_data_length(image.get()) / sizeof(uint32_t));
        return picture;
    }

    // Menus are override-redirect windows of their own.
    bool MenuOpen() {
        const auto tree =
            Owned(xcb_query_tree_reply(connection_, xcb_query_tree(connection_, root_), nullptr));
        if (!tree) return false;
        const xcb_window_t* children = xcb_query_tree_children(tree.get());
        for (int i = 0; i < xcb_query_tree_children_length(tree.get()); ++i) {
            const auto attributes = Owned(xcb_get_window_attributes_reply(
                connection_, xcb_get_window_attributes(connection_, children[i]), nullptr));
            if (attributes && attributes->override_redirect &&
                attributes->map_state == XCB_MAP_STATE_VIEWABLE)
                return true;
        }
        return false;
    }

    void Close(xcb_window_t window) {
        xcb_client_message_event_t message{};
        message.response_type = XCB_CLIENT_MESSAGE;
        message.format = 32;
        message.window = window;
        message.type = Atom("WM_PROTOCOLS");
        message.data.data32[0] = Atom("WM_DELETE_WINDOW");
        message.data.data32[1] = XCB_CURRENT_TIME;
        xcb_send_event(connection_, 0, window, XCB_EVENT_MASK_NO_EVENT,
                       reinterpret_cast<const char*>(&message));
        // A round trip: the server has sent the message before the connection ends.
        std::free(xcb_get_input_focus_reply(connection_, xcb_get_input_focus(connection_), nullptr));
    }

private:
    xcb_atom_t Atom(const char* name) {
        const auto reply = Owned(xcb_intern_atom_reply(
            connection_, xcb_intern_atom(connection_, 0, static_cast<uint16_t>(std::strlen(name)), name),
            nullptr));
        return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
    }

    xcb_connection_t* connection_;
    xcb_window_t root_ = 0;
};

size_t ChangedPixels(const Picture& before, const Picture& after) {
    if (before.width != after.width || before.height != after.height) return after.pixels.size();
    size_t changed = 0;
    for (size_t i = 0; i < after.pixels.size() && i < before.pixels.size(); ++i)
        if (((before.pixels[i] ^ after.pixels[i]) & 0xFFFFFFu) != 0) ++changed;
    return changed;
}

// Runs the command and waits for it to end; true when it ends with status 0.
bool Run(char* command[]) {
    pid_t child = 0;
    if (posix_spawnp(&child, command[0], nullptr, nullptr, command, environ) != 0) return false;
    int status = 0;
    return waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

bool Drawn(Display& display, xcb_window_t window, char* command[]) {
    const Picture before = display.Take(window);
    if (!Run(command)) {
        std::cerr << "xwindow: " << command[0] << " failed\n";
        return false;
    }
    const Clock::time_point deadline = Clock::now() + kPatience;
    size_t most = 0;
    while (Clock::now() < deadline) {
        std::this_thread::sleep_for(kPollInterval);
        const size_t changed = ChangedPixels(before, display.Take(window));
        most = std::max(most, changed);
        if (changed < kWindowPixels || display.MenuOpen()) continue;
        // Once the menus are shut, a menu is no longer what changed.
        if (ChangedPixels(before, display.Take(window)) >= kWindowPixels) return true;
    }
    std::cerr << "xwindow: no window drawn in " << window << " (at most " << most << " pixels changed)\n";
    return false;
}

}  // namespace

int main(int argc, char* argv[]) {
    const std::string command = argc > 2 ? argv[1] : "";
    if ((command != "drawn" || argc < 4) && (command != "close" || argc != 3)) {
        std::cerr << "usage: xwindow drawn WINDOW COMMAND..., xwindow close WINDOW\n";
        return 2;
    }
    try {
        Display display;
        const auto window = static_cast<xcb_window_t>(std::stoul(argv[2], nullptr, 0));
        if (command == "close") display.Close(window);
        return command == "drawn" && !Drawn(display, window, argv + 3) ? 1 : 0;
    } catch (const std::exception& error) {
        std::cerr << "xwindow: " << error.what() << '\n';
        return 1;
    }
}
