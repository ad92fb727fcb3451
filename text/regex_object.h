// A regular expression run over a GBK text, keeping its matches for later questions.
#pragma once

#include <cstddef>
#include <vector>

#include "text/types.h"

struct pcre2_real_jit_stack_16;

namespace lumoset {

// Patterns use the script dialect (close to ECMAScript): \uhhhh and \xhh escapes, a
// backreference to an unset group matches the empty text, "." stops at CR and LF, "$"
// without multiline matches only at the very end. Matching runs on the UTF-16 form of the
// text, with limits on work and memory so that no pattern and no subject hangs or crashes the
// program: an execution that hits them fails like a pattern the engine rejects.
//
// Items are 1-based. Failures are empty results: "" or 0. An object belongs to one thread.
class RegexObject {
  public:
    RegexObject();
    ~RegexObject();
    RegexObject(const RegexObject&) = delete;
    RegexObject& operator=(const RegexObject&) = delete;

    // Runs `pattern` over `subject` and keeps the matches and a copy of `subject`. With
    // `quotePlaceholder` every "#引号" in the pattern stands for a double quote. Returns
    // whether the pattern could be run, whether or not it matched.
    bool execute(const Text& pattern, const Text& subject, bool caseSensitive = false,
                 bool multiline = true, bool global = true, bool quotePlaceholder = false);

    // The pattern of the last execution; "" before the first.
    Text patternText() const;

    // The kept subject with every kept match replaced by `replacement`, in which "$1" to
    // "$99" stand for capture groups, "$&" for the match, "$`" and "$'" for the text before
    // and after it and "$$" for a dollar sign.
    Text replace(const Text& replacement) const;

    int matchCount() const;

    // The text of match `index`; `matchPosition` receives its 0-based byte offset in the
    // subject, or -2 when there is no such match.
    Text matchText(int index, int* matchPosition = nullptr) const;

    // The text of capture group `subIndex` of match `index`, "" for a group that took part in
    // no match; `matchPosition` receives its 0-based byte offset, or -2 when it has none.
    Text subMatchText(int index, int subIndex, int* matchPosition = nullptr) const;

    // The number of capture groups of the first match; 0 when nothing matched.
    int subMatchCount() const;

  private:
    // Byte offsets in `subject_` of one group of one match; `start` is `unset` for a group
    // that took part in no match.
    struct Span {
        std::size_t start;
        std::size_t end;
    };
    static constexpr std::size_t unset = static_cast<std::size_t>(-1);

    const Span* span(int index, int group) const;
    Text textOf(const Span* span, int* matchPosition) const;
    void expandReplacement(const Text& replacement, std::size_t match, Text& out) const;

    pcre2_real_jit_stack_16* jitStack_ = nullptr;
    bool engine_ = false;
    bool succeeded_ = false;
    Text pattern_;
    Text subject_;
    std::size_t groups_ = 0;
    std::vector<Span> spans_;  // groups_ + 1 spans per match, whole match first
};

}  // namespace lumoset
