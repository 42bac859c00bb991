// libFuzzer target: any bytes as ~/.xscreensaver. Adding Ripplume and
// removing it again either changes nothing but Ripplume's entry, as
// XScreenSaver reads the file, or is refused with the file as it was; and
// where the file had a list without Ripplume, the removal gives it back byte
// for byte.
#include <cstdlib>
#include <string>

#include "linux/xscreensaver_list/xscreensaver_list.h"
#include "tests/linux/xscreensaver_list/xscreensaver_model.h"

namespace {

const std::string SystemDefaults =
    "*programs:\t\\\n\t\tmaze --root \\n\\\n- GL:\t\tsuperquadrics --root \\n\\\n  GL: squirtorus --root\n";

// An edit of `input`: refused, giving it back, or XScreenSaver sees only
// Ripplume's entry changed from the file as it first was.
void Check(const std::string& input, const ListEdit& edit, const std::string& first, bool listed) {
    if (!edit.Error.empty()) {
        if (edit.Text != input || edit.Changed) abort();
        return;
    }
    if (!WhatElseChanged(first, edit.Text, SystemDefaults, listed).empty()) abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string file(reinterpret_cast<const char*>(data), size);
    const ListEdit added = WithRipplumeListed(file, SystemDefaults);
    Check(file, added, file, true);
    Check(file, WithoutRipplume(file), file, false);
    if (!added.Error.empty()) return 0;
    const ListEdit removed = WithoutRipplume(added.Text);
    Check(added.Text, removed, file, false);
    const Seen seen = SeenByXScreenSaver(file, "");
    const bool ownList = ReadValues(file).count("programs") > 0;
    if (removed.Error.empty() && ownList && RipplumesIn(seen.List, false) == 0 && removed.Text != file) abort();
    return 0;
}
