#include "renderer/x11/display_mode.h"

#include <unistd.h>

#include <string>

namespace {

// A window number as the manual gives it: decimal, or hexadecimal after 0x
// (not octal); X's ids have 32 bits, so a larger number is no window.
bool ParseWindowId(const std::string& text, unsigned long& id) {
    const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    const std::string digits = hex ? text.substr(2) : text;
    if (digits.empty() || digits.size() > 16 ||
        digits.find_first_not_of(hex ? "0123456789abcdefABCDEF" : "0123456789") != std::string::npos) {
        return false;
    }
    const unsigned long long value = std::stoull(digits, nullptr, hex ? 16 : 10);
    if (value == 0 || value > 0xFFFFFFFFull) return false;
    id = static_cast<unsigned long>(value);
    return true;
}

}  // namespace

DisplayModeOptions ParseDisplayModeOptions(const std::vector<std::string>& arguments, const char* screenSaverWindow) {
    DisplayModeOptions options;
    bool targetGiven = false;
    for (size_t i = 0; i < arguments.size(); ++i) {
        // XScreenSaver's hacks take both -option and --option.
        std::string option = arguments[i];
        if (option.rfind("--", 0) == 0) option.erase(0, 1);
        if (option == "-window") {
            options.Target = DrawTarget::OwnWindow;
            targetGiven = true;
        } else if (option == "-root") {
            options.Target = DrawTarget::Root;
            targetGiven = true;
        } else if (option == "-window-id") {
            if (i + 1 >= arguments.size() || !ParseWindowId(arguments[i + 1], options.WindowId)) {
                options.Error = "-window-id needs a window number (decimal, or hexadecimal after 0x; 32 bits)";
                return options;
            }
            options.Target = DrawTarget::GivenWindow;
            targetGiven = true;
            ++i;
        } else if (option == "-fps" || option == "-no-fps") {
            options.ShowFps = option == "-fps";
        } else if (option == "-install" || option == "-noinstall") {
            // XScreenSaver's colormap options: a TrueColor GL window needs none.
        } else if (option == "-visual") {
            // XScreenSaver's visual choice: the window it gives has it already.
            if (i + 1 >= arguments.size()) {
                options.Error = "-visual needs a visual";
                return options;
            }
            ++i;
        } else if (option == "-picture-out") {
            if (i + 1 >= arguments.size()) {
                options.Error = "-picture-out needs a file name";
                return options;
            }
            options.PictureOut = arguments[++i];
        } else {
            options.Error = "unknown option " + arguments[i];
            return options;
        }
    }
    // XScreenSaver names its window in the environment. It runs its modes
    // with --root, and that window, which covers the real root, is the root
    // then; its settings preview adds --window-id. Either way the picture
    // comes through XScreenSaver, which honours the user's image settings.
    // A window given by -window-id stays, whatever the variable holds.
    const bool ownWindowAsked = targetGiven && options.Target == DrawTarget::OwnWindow;
    if (!ownWindowAsked && screenSaverWindow && *screenSaverWindow) {
        unsigned long id = 0;
        const bool valid = ParseWindowId(screenSaverWindow, id);
        if (options.Target != DrawTarget::GivenWindow) {
            if (!valid) {
                options.Error = "XSCREENSAVER_WINDOW is not a window number";
                return options;
            }
            options.Target = DrawTarget::GivenWindow;
            options.WindowId = id;
        }
        options.UnderXScreenSaver = valid;
    }
    return options;
}

bool StirsWater(unsigned state) {
    using namespace PointerState;
    return (state & (ShiftHeld | ControlHeld | LeftHeld | MiddleHeld | RightHeld)) == LeftHeld;
}

std::vector<uint8_t> MirroredBottomUp(const uint8_t* topDownRgb, int width, int height) {
    if (width <= 0 || height <= 0) return {};
    std::vector<uint8_t> picture(size_t(width) * size_t(height) * 3);
    for (int y = 0; y < height; ++y) {
        const uint8_t* source = topDownRgb + size_t(y) * width * 3;
        uint8_t* row = picture.data() + size_t(height - 1 - y) * width * 3;
        for (int x = 0; x < width; ++x) {
            const uint8_t* from = source + size_t(width - 1 - x) * 3;
            row[x * 3 + 0] = from[0];
            row[x * 3 + 1] = from[1];
            row[x * 3 + 2] = from[2];
        }
    }
    return picture;
}

std::string GetImageHelper(const char* overridePath, const char* searchPath) {
    const auto runnable = [](const std::string& path) { return !path.empty() && access(path.c_str(), X_OK) == 0; };
    if (overridePath && *overridePath) return runnable(overridePath) ? overridePath : "";
    std::string folders = searchPath ? searchPath : "";
    folders += ":/usr/libexec/xscreensaver";
    size_t start = 0;
    while (start <= folders.size()) {
        const size_t end = folders.find(':', start);
        const std::string folder = folders.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (!folder.empty() && runnable(folder + "/xscreensaver-getimage")) return folder + "/xscreensaver-getimage";
        if (end == std::string::npos) break;
        start = end + 1;
    }
    return "";
}
