#include "tests/kit/kit_results.h"

#include <algorithm>
#include <cctype>

namespace {

const char KIT_UNIT_SUFFIX[] = "_tests.exe";
const char KIT_E2E_SUFFIX[] = "_e2e.exe";

std::string lower_ascii(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

bool ends_with(const std::string& text, const std::string& end) {
    return text.size() > end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// The number that follows `start` at the beginning of `line`; -1 if none.
int count_after(const std::string& line, const std::string& start) {
    if (line.compare(0, start.size(), start) != 0)
        return -1;
    size_t at = start.size();
    if (at >= line.size() || !std::isdigit(static_cast<unsigned char>(line[at])))
        return -1;
    long value = 0;
    for (; at < line.size() && std::isdigit(static_cast<unsigned char>(line[at])); ++at) {
        value = std::min(value * 10 + (line[at] - '0'), 1000000000L);
    }
    return static_cast<int>(value);
}

}  // namespace

std::vector<std::string> pick_test_programs(const std::vector<std::string>& file_names) {
    std::vector<std::string> unit, e2e;
    for (const std::string& name : file_names) {
        std::string lower = lower_ascii(name);
        if (ends_with(lower, KIT_UNIT_SUFFIX))
            unit.push_back(name);
        else if (ends_with(lower, KIT_E2E_SUFFIX))
            e2e.push_back(name);
    }
    auto by_name = [](const std::string& a, const std::string& b) {
        return lower_ascii(a) < lower_ascii(b);
    };
    std::sort(unit.begin(), unit.end(), by_name);
    std::sort(e2e.begin(), e2e.end(), by_name);
    unit.insert(unit.end(), e2e.begin(), e2e.end());
    return unit;
}

std::string program_file_name(const std::string& name) {
    return ends_with(lower_ascii(name), ".exe") ? name : name + ".exe";
}

ProgramResult read_test_output(const std::string& output) {
    ProgramResult result;
    int ran = -1, passed = -1, skipped = 0;
    for (size_t start = 0; start < output.size();) {
        size_t end = output.find('\n', start);
        if (end == std::string::npos)
            end = output.size();
        std::string line = output.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        int n = count_after(line, "[==========] ");
        // "[==========] Running N tests" opens a run; only "... ran." closes one.
        if (n >= 0 && line.find(" ran.") != std::string::npos) {
            ran = n;
            passed = -1;
            skipped = 0;
        } else if ((n = count_after(line, "[  PASSED  ] ")) >= 0 && ran >= 0) {
            passed = n;
        } else if ((n = count_after(line, "[  SKIPPED ] ")) >= 0 && passed >= 0) {
            skipped = n;
        }
    }
    if (ran < 0 || passed < 0 || passed + skipped > ran)
        return result;
    result.counted = true;
    result.passed = passed;
    result.skipped = skipped;
    result.failed = ran - passed - skipped;
    return result;
}

ProgramResult judge_program(ProgramResult result, unsigned long exit_code, bool timed_out) {
    if ((exit_code != 0 || timed_out || !result.counted) && result.failed == 0)
        result.failed = 1;
    return result;
}

void add_program(KitTotals& totals, const ProgramResult& result) {
    totals.passed += result.passed;
    totals.failed += result.failed;
    totals.skipped += result.skipped;
    totals.programs += 1;
    if (result.failed != 0)
        totals.failed_programs += 1;
}

bool kit_passed(const KitTotals& totals) {
    return totals.failed == 0 && totals.passed > 0;
}

std::string count_text(int passed, int failed, int skipped) {
    std::string text = std::to_string(passed) + " passed, " + std::to_string(failed) + " failed";
    if (skipped != 0)
        text += ", " + std::to_string(skipped) + " skipped";
    return text;
}

std::string closing_line(const KitTotals& totals) {
    return count_text(totals.passed, totals.failed, totals.skipped);
}
