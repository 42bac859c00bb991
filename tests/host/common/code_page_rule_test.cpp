#include "host/common/code_page_rule.h"

#include <gtest/gtest.h>

namespace {

using namespace WideToMultiByteFlags;

TEST(CodePageRule, EachCodePageIsAskedOnlyWhatWindowsAccepts) {
    struct Case {
        unsigned codePage;
        std::uint32_t flags;
        bool asksUsedDefault, lossless;
    };
    for (const Case c : {
             Case{932, NoBestFit, true, false},         // Japanese
             Case{1252, NoBestFit, true, false},        // Western
             Case{936, NoBestFit, true, false},         // Simplified Chinese
             Case{65001, ErrorOnInvalid, false, true},  // UTF-8: flags 0 or WC_ERR_INVALID_CHARS, no used-default
             Case{54936, ErrorOnInvalid, false, true},  // GB18030, the same
             Case{65000, 0, false, true},               // UTF-7: no flags, no used-default
             Case{50220, 0, true, false},               // ISO-2022-JP: no flags
             Case{57002, 0, true, false},               // ISCII
             Case{57011, 0, true, false}, Case{42, 0, true, false},  // Symbol
         }) {
        SCOPED_TRACE(c.codePage);
        const CodePageRule rule = CodePageRuleFor(c.codePage);
        EXPECT_EQ(rule.Flags, c.flags);
        EXPECT_EQ(rule.AsksUsedDefault, c.asksUsedDefault);
        EXPECT_EQ(rule.Lossless, c.lossless);
    }
}

}  // namespace
