#include "host/common/code_page_rule.h"

namespace {

constexpr unsigned Utf7 = 65000, Utf8 = 65001, Gb18030 = 54936, Symbol = 42;

// The code pages for which Windows documents that the flags must be 0:
// the ISO-2022 family, ISCII, UTF-7 and Symbol.
bool TakesNoFlags(unsigned codePage) {
    switch (codePage) {
    case 50220:
    case 50221:
    case 50222:
    case 50225:
    case 50227:
    case 50229:
    case Utf7:
    case Symbol:
        return true;
    default:
        return codePage >= 57002 && codePage <= 57011;
    }
}

}  // namespace

CodePageRule CodePageRuleFor(unsigned codePage) {
    using namespace WideToMultiByteFlags;
    if (codePage == Utf8 || codePage == Gb18030) return {ErrorOnInvalid, false, true};
    // UTF-7 also takes no used-default flag; the others are not documented to refuse it.
    if (TakesNoFlags(codePage)) return {0, codePage != Utf7, codePage == Utf7};
    return {NoBestFit, true, false};
}
