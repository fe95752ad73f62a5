#include "core/diary/agenda.h"

#include "core/diary/alarms.h"
#include "core/diary/occurrences.h"

#include <algorithm>
#include <cstdint>
#include <string_view>

namespace tessaly {

namespace {

int EventMinutes(const TReminders& e) {
    if (e.NoTime)
        return -1;
    const TTimeParts t = DecodeTime(e.When);
    return t.Hour * 60 + t.Minute;
}

// Where a line goes: its day and minute as one number, and its place in file order.
struct TSortKey {
    std::uint64_t Slot;
    std::uint64_t Head;
    std::uint32_t HeadLength;
    std::uint32_t Index;
};

constexpr std::uint32_t kHeadBytes = 8;

// The descriptions by their bytes as unsigned characters, as std::string compares
// them: by their heads, and only two texts that agree in their first 8 bytes and are
// both longer are read again. Less than, equal to or more than 0.
int CompareDescriptions(std::uint64_t headA, std::uint32_t lengthA, const TReminders* a,
                        std::uint64_t headB, std::uint32_t lengthB, const TReminders* b) {
    if (headA != headB)
        return headA < headB ? -1 : 1;
    if (lengthA <= kHeadBytes || lengthB <= kHeadBytes) {
        // The shorter one is the start of the other (the zeros of its head agree with
        // the other's bytes).
        return lengthA == lengthB ? 0 : (lengthA < lengthB ? -1 : 1);
    }
    return TextValue(a->Description).compare(TextValue(b->Description));
}

// Description, then file order.
struct TKeyBefore {
    const std::vector<TAgendaLine>& Lines;
    bool operator()(const TSortKey& a, const TSortKey& b) const {
        const int c = CompareDescriptions(a.Head, a.HeadLength, Lines[a.Index].Event, b.Head,
                                          b.HeadLength, Lines[b.Index].Event);
        return c != 0 ? c < 0 : a.Index < b.Index;
    }
};

bool LineBefore(const TAgendaLine& a, const TAgendaLine& b) {
    if (a.Day != b.Day)
        return a.Day < b.Day;
    if (a.Minutes != b.Minutes)
        return a.Minutes < b.Minutes;
    return CompareDescriptions(a.Head, a.HeadLength, a.Event, b.Head, b.HeadLength, b.Event) < 0;
}

// A least-significant-digit radix sort by Slot: each pass is stable, so the keys of
// one slot stay in file order.
void SortBySlot(std::vector<TSortKey>& keys, std::uint64_t top) {
    constexpr int kDigitBits = 11;
    constexpr std::size_t kBuckets = std::size_t{1} << kDigitBits;
    std::vector<TSortKey> other(keys.size());
    std::vector<std::size_t> starts(kBuckets + 1);
    for (int shift = 0; shift == 0 || (top >> shift) != 0; shift += kDigitBits) {
        std::fill(starts.begin(), starts.end(), 0);
        for (const auto& key : keys)
            ++starts[((key.Slot >> shift) & (kBuckets - 1)) + 1];
        for (std::size_t b = 1; b <= kBuckets; ++b)
            starts[b] += starts[b - 1];
        for (const auto& key : keys)
            other[starts[(key.Slot >> shift) & (kBuckets - 1)]++] = key;
        keys.swap(other);
    }
}

} // namespace

TAgendaLine MakeAgendaLine(TDateTime day, int minutes, const TReminders& event,
                           const TEventRef& ref) {
    TAgendaLine line;
    line.Day = day;
    line.Minutes = minutes;
    line.Event = &event;
    line.Ref = ref;
    const std::string_view text = TextValue(event.Description);
    const std::size_t n = std::min<std::size_t>(text.size(), kHeadBytes);
    for (std::size_t i = 0; i < kHeadBytes; ++i)
        line.Head = (line.Head << 8) | (i < n ? static_cast<unsigned char>(text[i]) : 0u);
    line.HeadLength =
        static_cast<std::uint32_t>(std::min<std::size_t>(text.size(), kHeadBytes + 1));
    return line;
}

void SortAgendaLines(std::vector<TAgendaLine>& lines) {
    if (lines.size() < 2)
        return;
    // The day and the minute as one small number counted from the earliest day; a day
    // outside any calendar (a damaged file) takes the plain comparing sort instead.
    constexpr std::int64_t kSlotsPerDay = 24 * 60 + 1; // "--:--" and every minute
    constexpr double kFarDay = 1e9;
    double lowest = lines[0].Day, highest = lines[0].Day;
    for (const auto& line : lines) {
        lowest = std::min(lowest, line.Day);
        highest = std::max(highest, line.Day);
    }
    if (!(lowest > -kFarDay && highest < kFarDay) || lines.size() > UINT32_MAX) {
        std::stable_sort(lines.begin(), lines.end(), LineBefore);
        return;
    }
    const auto base = static_cast<std::int64_t>(lowest);
    std::vector<TSortKey> keys(lines.size());
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const TAgendaLine& line = lines[i];
        TSortKey& key = keys[i];
        key.Slot = static_cast<std::uint64_t>(
            (static_cast<std::int64_t>(line.Day) - base) * kSlotsPerDay + line.Minutes + 1);
        key.Head = line.Head;
        key.HeadLength = line.HeadLength;
        key.Index = static_cast<std::uint32_t>(i);
    }
    SortBySlot(keys, static_cast<std::uint64_t>((static_cast<std::int64_t>(highest) - base + 1) *
                                                kSlotsPerDay));
    // Then each day and minute by description; mostly a run is in order already (one
    // yearly reminder's text on many entries).
    const TKeyBefore before{lines};
    for (auto run = keys.begin(); run != keys.end();) {
        auto end = run + 1;
        while (end != keys.end() && end->Slot == run->Slot)
            ++end;
        if (end - run > 1 && !std::is_sorted(run, end, before))
            std::sort(run, end, before);
        run = end;
    }
    std::vector<TAgendaLine> sorted;
    sorted.reserve(lines.size());
    for (const TSortKey& key : keys)
        sorted.push_back(lines[key.Index]);
    lines = std::move(sorted);
}

std::vector<TAgendaLine> MergeAgendaLines(std::vector<std::vector<TAgendaLine>> files) {
    std::vector<TAgendaLine> merged;
    std::vector<TAgendaLine> next;
    for (auto& file : files) {
        if (merged.empty()) {
            merged = std::move(file);
            continue;
        }
        // std::merge takes from the first range on a tie: the earlier files' lines first.
        next.resize(merged.size() + file.size());
        std::merge(merged.begin(), merged.end(), file.begin(), file.end(), next.begin(),
                   LineBefore);
        merged.swap(next);
    }
    return merged;
}

void CollectAgendaLines(const TEventSource& source, TDateTime first, TDateTime last,
                        std::vector<TAgendaLine>& lines) {
    TOccurrenceRange range;
    range.First = DateOf(first);
    range.Last = DateOf(last);
    ForEachEvent(source, [&](const TEventRef& ref, const TReminders& event) {
        TAgendaLine line = MakeAgendaLine(0, EventMinutes(event), event, ref);
        ForEachOccurrence(event, range, [&](TDateTime day, bool) {
            line.Day = day;
            lines.push_back(line);
        });
    });
}

std::vector<TAgendaLine> AgendaLines(const std::vector<TEventSource>& sources, TDateTime first,
                                     TDateTime last) {
    std::vector<TAgendaLine> lines;
    for (const auto& source : sources)
        CollectAgendaLines(source, first, last, lines);
    SortAgendaLines(lines);
    return lines;
}

std::vector<TAgendaLine> DueLines(const std::vector<TEventSource>& sources, TDateTime now) {
    std::vector<TAgendaLine> lines;
    for (const auto& source : sources)
        ForEachEvent(source, [&](const TEventRef& ref, const TReminders& event) {
            if (IsAlarmDue(event, now))
                lines.push_back(
                    MakeAgendaLine(DateOf(event.When), EventMinutes(event), event, ref));
        });
    SortAgendaLines(lines);
    return lines;
}

namespace {

void AppendDigits(std::string& out, int value, int width) {
    char digits[12];
    for (int i = width - 1; i >= 0; --i) {
        digits[i] = static_cast<char>('0' + value % 10);
        value /= 10;
    }
    out.append(digits, static_cast<std::size_t>(width));
}

void AppendDate(std::string& out, TDateTime day) {
    const TDateParts d = DecodeDate(day);
    AppendDigits(out, d.Year, 4);
    out += '-';
    AppendDigits(out, d.Month, 2);
    out += '-';
    AppendDigits(out, d.Day, 2);
    out += '\t';
}

// The time and the description.
void AppendRest(std::string& out, const TAgendaLine& line) {
    if (line.Minutes < 0) {
        out += "--:--";
    } else {
        AppendDigits(out, line.Minutes / 60, 2);
        out += ':';
        AppendDigits(out, line.Minutes % 60, 2);
    }
    out += '\t';
    if (line.Event)
        out += TextValue(line.Event->Description);
}

} // namespace

std::string FormatAgendaLine(const TAgendaLine& line) {
    std::string text;
    AppendDate(text, line.Day);
    AppendRest(text, line);
    return text;
}

void AppendAgendaLines(std::string& out, std::span<const TAgendaLine> lines) {
    out.reserve(out.size() + lines.size() * 40);
    // Lines come by day: each day's date is written out once and copied after.
    std::string date;
    TDateTime day = -1e9;
    for (const auto& line : lines) {
        if (line.Day != day) {
            day = line.Day;
            date.clear();
            AppendDate(date, day);
        }
        out += date;
        AppendRest(out, line);
        out += '\n';
    }
}

} // namespace tessaly
