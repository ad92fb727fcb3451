#include "text/regex_object.h"

#define PCRE2_CODE_UNIT_WIDTH 16
#include <pcre2.h>

#include <memory>
#include <string>

#include "text/convert.h"
#include "text/text_between.h"

namespace lumoset {

namespace {

// Work and memory one execution may spend; past them it fails like a rejected pattern. Every
// item of a pattern reports to `chargeStep` before it is tried, and each report costs one step
// plus the distance the match moved since the last one, so the budget bounds a whole execution
// across all its matches, backtracking and long scans alike.
constexpr std::uint64_t stepBudget = 50'000'000;
constexpr std::uint32_t matchLimit = 10'000'000;
constexpr std::uint32_t heapLimitKiB = 64 * 1024;
constexpr PCRE2_SIZE jitStackStart = 64 * 1024;
constexpr PCRE2_SIZE jitStackMax = 16 * 1024 * 1024;

struct CodeFree {
    void operator()(pcre2_code* code) const { pcre2_code_free(code); }
};
struct CompileContextFree {
    void operator()(pcre2_compile_context* context) const { pcre2_compile_context_free(context); }
};
struct MatchContextFree {
    void operator()(pcre2_match_context* context) const { pcre2_match_context_free(context); }
};
struct MatchDataFree {
    void operator()(pcre2_match_data* data) const { pcre2_match_data_free(data); }
};
using Code = std::unique_ptr<pcre2_code, CodeFree>;

struct Budget {
    std::uint64_t left = stepBudget;
    PCRE2_SIZE lastPosition = 0;
};

int chargeStep(pcre2_callout_block* block, void* data) {
    auto& budget = *static_cast<Budget*>(data);
    const PCRE2_SIZE position = block->current_position;
    const std::uint64_t cost =
        1 + (position > budget.lastPosition ? position - budget.lastPosition
                                            : budget.lastPosition - position);
    budget.lastPosition = position;
    if (cost > budget.left) {
        return PCRE2_ERROR_CALLOUT;
    }
    budget.left -= cost;
    return 0;
}

Code compile(const std::u16string& pattern, bool caseSensitive, bool multiline) {
    std::unique_ptr<pcre2_compile_context, CompileContextFree> context(
        pcre2_compile_context_create(nullptr));
    if (!context) {
        return nullptr;
    }
    pcre2_set_newline(context.get(), PCRE2_NEWLINE_ANYCRLF);
    uint32_t options = PCRE2_UTF | PCRE2_ALT_BSUX | PCRE2_MATCH_UNSET_BACKREF | PCRE2_AUTO_CALLOUT;
    options |= caseSensitive ? 0 : PCRE2_CASELESS;
    options |= multiline ? PCRE2_MULTILINE : PCRE2_DOLLAR_ENDONLY;
    int error = 0;
    PCRE2_SIZE errorOffset = 0;
    return Code(pcre2_compile(reinterpret_cast<PCRE2_SPTR>(pattern.data()), pattern.size(), options,
                              &error, &errorOffset, context.get()));
}

// The offset just past the character at `at`.
std::size_t nextCharacter(const std::u16string& units, std::size_t at) {
    const bool pair = at + 1 < units.size() && (units[at] & 0xFC00) == 0xD800 &&
                      (units[at + 1] & 0xFC00) == 0xDC00;
    return at + (pair ? 2 : 1);
}

enum class Outcome { matched, failed, tryInterpreter };

// One pass over the whole subject with one engine, collecting the group offsets of every match
// (or of the first only) into `spans`, groups + 1 pairs per match.
Outcome findAll(const pcre2_code* code, pcre2_jit_stack* jitStack, bool jit,
                const std::u16string& units, std::size_t groups, bool global,
                std::vector<PCRE2_SIZE>& spans) {
    spans.clear();
    std::unique_ptr<pcre2_match_context, MatchContextFree> context(
        pcre2_match_context_create(nullptr));
    std::unique_ptr<pcre2_match_data, MatchDataFree> data(
        pcre2_match_data_create_from_pattern(code, nullptr));
    if (!context || !data) {
        return Outcome::failed;
    }
    Budget budget;
    pcre2_set_match_limit(context.get(), matchLimit);
    pcre2_set_heap_limit(context.get(), heapLimitKiB);
    pcre2_set_callout(context.get(), chargeStep, &budget);
    if (jitStack != nullptr) {
        pcre2_jit_stack_assign(context.get(), nullptr, jitStack);
    }
    uint32_t options = jit ? 0 : PCRE2_NO_JIT;
    std::size_t offset = 0;
    while (offset <= units.size()) {
        const int result = pcre2_match(code, reinterpret_cast<PCRE2_SPTR>(units.data()),
                                       units.size(), offset, options, data.get(), context.get());
        if (result == PCRE2_ERROR_NOMATCH) {
            break;
        }
        if (result < 0) {
            const bool jitGaveUp =
                result == PCRE2_ERROR_JIT_STACKLIMIT || result == PCRE2_ERROR_CALLOUT;
            return jit && jitGaveUp ? Outcome::tryInterpreter : Outcome::failed;
        }
        options |= PCRE2_NO_UTF_CHECK;  // checked once, on the first attempt
        const PCRE2_SIZE* ovector = pcre2_get_ovector_pointer(data.get());
        spans.insert(spans.end(), ovector, ovector + 2 * (groups + 1));
        if (!global) {
            break;
        }
        // An empty match moves the next attempt on by one character.
        offset = ovector[1] > ovector[0] ? ovector[1] : nextCharacter(units, ovector[1]);
    }
    return Outcome::matched;
}

}  // namespace

RegexObject::RegexObject() = default;

RegexObject::~RegexObject() {
    if (jitStack_ != nullptr) {
        pcre2_jit_stack_free(jitStack_);
    }
}

bool RegexObject::execute(const Text& pattern, const Text& subject, bool caseSensitive,
                          bool multiline, bool global, bool quotePlaceholder) {
    engine_ = true;
    succeeded_ = false;
    groups_ = 0;
    spans_.clear();
    pattern_ = quotePlaceholder ? replaceQuotePlaceholder(pattern) : pattern;
    subject_ = subject;

    const Code code = compile(decodeGbk(pattern_), caseSensitive, multiline);
    if (!code) {
        return false;
    }
    uint32_t captures = 0;
    pcre2_pattern_info(code.get(), PCRE2_INFO_CAPTURECOUNT, &captures);
    const std::size_t groups = captures;

    std::vector<std::int32_t> byteOffsets;
    const std::u16string units = decodeGbk(subject_, &byteOffsets);
    std::vector<PCRE2_SIZE> found;
    // The compiled machine code is fast but keeps its backtracking on a fixed stack and skips
    // some of the interpreter's shortcuts; when it gives up, the interpreter, which keeps its
    // backtracking on the heap, runs the execution again.
    Outcome outcome = Outcome::tryInterpreter;
    if (pcre2_jit_compile(code.get(), PCRE2_JIT_COMPLETE) == 0) {
        if (jitStack_ == nullptr) {
            jitStack_ = pcre2_jit_stack_create(jitStackStart, jitStackMax, nullptr);
        }
        outcome = findAll(code.get(), jitStack_, true, units, groups, global, found);
    }
    if (outcome == Outcome::tryInterpreter) {
        outcome = findAll(code.get(), nullptr, false, units, groups, global, found);
    }
    if (outcome != Outcome::matched) {
        return false;
    }
    groups_ = groups;
    spans_.reserve(found.size() / 2);
    for (std::size_t i = 0; i < found.size(); i += 2) {
        spans_.push_back(found[i] == PCRE2_UNSET
                             ? Span{unset, unset}
                             : Span{static_cast<std::size_t>(byteOffsets[found[i]]),
                                    static_cast<std::size_t>(byteOffsets[found[i + 1]])});
    }
    succeeded_ = true;
    return true;
}

Text RegexObject::patternText() const {
    return engine_ ? pattern_ : Text();
}

int RegexObject::matchCount() const {
    return static_cast<int>(spans_.size() / (groups_ + 1));
}

int RegexObject::subMatchCount() const {
    return spans_.empty() ? 0 : static_cast<int>(groups_);
}

const RegexObject::Span* RegexObject::span(int index, int group) const {
    if (index < 1 || index > matchCount() || group < 0 ||
        static_cast<std::size_t>(group) > groups_) {
        return nullptr;
    }
    const Span& found = spans_[(static_cast<std::size_t>(index) - 1) * (groups_ + 1) +
                               static_cast<std::size_t>(group)];
    return found.start == unset ? nullptr : &found;
}

Text RegexObject::textOf(const Span* found, int* matchPosition) const {
    if (matchPosition != nullptr) {
        *matchPosition = found != nullptr ? static_cast<int>(found->start) : -2;
    }
    return found != nullptr ? subject_.substr(found->start, found->end - found->start) : Text();
}

Text RegexObject::matchText(int index, int* matchPosition) const {
    return textOf(span(index, 0), matchPosition);
}

Text RegexObject::subMatchText(int index, int subIndex, int* matchPosition) const {
    return textOf(subIndex >= 1 ? span(index, subIndex) : nullptr, matchPosition);
}

Text RegexObject::replace(const Text& replacement) const {
    if (!succeeded_) {
        return {};
    }
    Text out;
    out.reserve(subject_.size());
    std::size_t copied = 0;
    for (int match = 1; match <= matchCount(); ++match) {
        const Span& whole = *span(match, 0);
        out.append(subject_, copied, whole.start - copied);
        expandReplacement(replacement, static_cast<std::size_t>(match), out);
        copied = whole.end;
    }
    out.append(subject_, copied);
    return out;
}

// "$" and the characters after it are ASCII, which never occurs inside a GBK double-byte
// character, so the replacement can be read byte by byte.
void RegexObject::expandReplacement(const Text& replacement, std::size_t match, Text& out) const {
    const Span& whole = *span(static_cast<int>(match), 0);
    const auto digit = [&](std::size_t at) {
        return at < replacement.size() && replacement[at] >= '0' && replacement[at] <= '9'
                   ? static_cast<std::size_t>(replacement[at] - '0')
                   : unset;
    };
    std::size_t i = 0;
    while (i < replacement.size()) {
        const char c = replacement[i];
        if (c != '$' || i + 1 == replacement.size()) {
            out.push_back(c);
            ++i;
            continue;
        }
        const char next = replacement[i + 1];
        if (next == '$') {
            out.push_back('$');
        } else if (next == '&') {
            out.append(subject_, whole.start, whole.end - whole.start);
        } else if (next == '`') {
            out.append(subject_, 0, whole.start);
        } else if (next == '\'') {
            out.append(subject_, whole.end);
        } else if (const std::size_t first = digit(i + 1); first != unset) {
            const std::size_t second = digit(i + 2);
            std::size_t group = first;
            std::size_t length = 2;
            if (second != unset && first * 10 + second >= 1 && first * 10 + second <= groups_) {
                group = first * 10 + second;
                length = 3;
            }
            if (group >= 1 && group <= groups_) {
                const Span* found = span(static_cast<int>(match), static_cast<int>(group));
                if (found != nullptr) {
                    out.append(subject_, found->start, found->end - found->start);
                }
            } else {
                out.append(replacement, i, length);
            }
            i += length;
            continue;
        } else {
            out.push_back('$');
            ++i;
            continue;
        }
        i += 2;
    }
}

}  // namespace lumoset
