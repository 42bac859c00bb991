#include "renderer/x11/display_mode.h"

#include <unistd.h>

#include <string>

#include "renderer/frame/render_scale.h"

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

struct Parsing {
    DisplayModeOptions Options;
    bool TargetGiven = false;
};

// What the options set; each returns false for a value it refuses.
bool SetTarget(Parsing& parsing, DrawTarget target) {
    parsing.Options.Target = target;
    parsing.TargetGiven = true;
    return true;
}
bool SetWindowId(Parsing& parsing, const std::string& id) {
    return ParseWindowId(id, parsing.Options.WindowId) && SetTarget(parsing, DrawTarget::GivenWindow);
}
bool SetFps(Parsing& parsing, bool show) {
    parsing.Options.ShowFps = show;
    return true;
}
bool SetPictureOut(Parsing& parsing, const std::string& file) {
    parsing.Options.PictureOut = file;
    return true;
}
bool SetScale(Parsing& parsing, const std::string& text) {
    return ParseRenderScale(text, parsing.Options.Scale);
}
bool SetNothing(Parsing&, const std::string&) {
    return true;
}

// One option of the command line, as in XScreenSaver's option tables: its
// name, the value that follows it (null: none) and what it sets.
struct OptionRule {
    const char* Name;
    const char* Value;
    bool (*Set)(Parsing&, const std::string& value);
};

const OptionRule OptionTable[] = {
    {"-window", nullptr, [](Parsing& p, const std::string&) { return SetTarget(p, DrawTarget::OwnWindow); }},
    {"-root", nullptr, [](Parsing& p, const std::string&) { return SetTarget(p, DrawTarget::Root); }},
    {"-window-id", "a window number (decimal, or hexadecimal after 0x; 32 bits)", SetWindowId},
    {"-fps", nullptr, [](Parsing& p, const std::string&) { return SetFps(p, true); }},
    {"-no-fps", nullptr, [](Parsing& p, const std::string&) { return SetFps(p, false); }},
    {"-scale", "a number from 0.5 to 1 (the share of the screen's width and height the water is drawn at)", SetScale},
    // XScreenSaver's colormap options: a TrueColor GL window needs none.
    {"-install", nullptr, SetNothing},
    {"-noinstall", nullptr, SetNothing},
    // XScreenSaver's visual choice: the window it gives has it already.
    {"-visual", "a visual", SetNothing},
    // For tests: the texture picture is written to that file (PPM).
    {"-picture-out", "a file name", SetPictureOut},
};

const OptionRule* RuleFor(const std::string& name) {
    for (const OptionRule& rule : OptionTable)
        if (name == rule.Name) return &rule;
    return nullptr;
}

}  // namespace

DisplayModeOptions ParseDisplayModeOptions(const std::vector<std::string>& arguments, const char* screenSaverWindow) {
    Parsing parsing;
    DisplayModeOptions& options = parsing.Options;
    for (size_t i = 0; i < arguments.size(); ++i) {
        // XScreenSaver's hacks take both -option and --option.
        std::string name = arguments[i];
        if (name.rfind("--", 0) == 0) name.erase(0, 1);
        const OptionRule* rule = RuleFor(name);
        if (!rule) {
            options.Error = "unknown option " + arguments[i];
            return options;
        }
        const bool valueMissing = rule->Value && i + 1 >= arguments.size();
        const std::string value = rule->Value && !valueMissing ? arguments[++i] : "";
        if (valueMissing || !rule->Set(parsing, value)) {
            options.Error = std::string(rule->Name) + " needs " + rule->Value;
            return options;
        }
    }
    // XScreenSaver names its window in the environment. It runs its modes
    // with --root, and that window, which covers the real root, is the root
    // then; its settings preview adds --window-id. Either way the picture
    // comes through XScreenSaver, which honours the user's image settings.
    // A window given by -window-id stays, whatever the variable holds.
    const bool ownWindowAsked = parsing.TargetGiven && options.Target == DrawTarget::OwnWindow;
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

XErrorMeaning MeaningOfXError(RunStage stage, int code) {
    const bool drawableGone = code == XErrorCode::NoSuchWindow || code == XErrorCode::NoSuchDrawable;
    switch (stage) {
    case RunStage::Opening:
        return XErrorMeaning::OpeningFails;
    case RunStage::TakingPicture:
        if (drawableGone || code == XErrorCode::NoSuchPixmap || code == XErrorCode::Mismatch)
            return XErrorMeaning::NoPicture;
        return XErrorMeaning::Reported;
    case RunStage::Drawing:
        return drawableGone ? XErrorMeaning::WindowMayBeGone : XErrorMeaning::Reported;
    case RunStage::Ending:
        return XErrorMeaning::Ignored;
    }
    return XErrorMeaning::Reported;
}
