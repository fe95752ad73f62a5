#include "core/diary/event_source.h"

#include <set>

namespace tessaly {

namespace {

const TEventSource* FindOwner(const std::vector<TEventSource>& sources, const void* owner) {
    for (const auto& s : sources)
        if (s.Owner == owner)
            return &s;
    return nullptr;
}

} // namespace

int OwnerSortOrder(const TEventSource& source) {
    if (source.Diary)
        return source.Diary->SortOrder;
    if (source.Book)
        return source.Book->SortOrder;
    return 1;
}

void ForEachEvent(const TEventSource& source,
                  const std::function<void(const TEventRef&, const TReminders&)>& f) {
    if (source.Diary) {
        const TRemindersList& events = source.Diary->Events;
        for (int i = 0; i < events.Count(); ++i)
            if (const TReminders* e = events.At(i))
                f(TEventRef{source.Owner, -1, i}, *e);
    }
    if (source.Book) {
        const TRecordList& entries = source.Book->Entries;
        for (int n = 0; n < entries.Count(); ++n) {
            const TRecord* entry = entries.At(n);
            if (!entry)
                continue;
            for (int i = 0; i < entry->Reminders.Count(); ++i)
                if (const TReminders* e = entry->Reminders.At(i))
                    f(TEventRef{source.Owner, n, i}, *e);
        }
    }
}

const TRecord* ResolveEntry(const std::vector<TEventSource>& sources, const TEventRef& ref) {
    const TEventSource* s = FindOwner(sources, ref.Owner);
    if (!s || !s->Book || ref.Entry < 0)
        return nullptr;
    return s->Book->Entries.At(ref.Entry);
}

const TReminders* ResolveEvent(const std::vector<TEventSource>& sources, const TEventRef& ref) {
    const TEventSource* s = FindOwner(sources, ref.Owner);
    if (!s)
        return nullptr;
    if (ref.Entry < 0)
        return s->Diary ? s->Diary->Events.At(ref.Event) : nullptr;
    const TRecord* entry = ResolveEntry(sources, ref);
    return entry ? entry->Reminders.At(ref.Event) : nullptr;
}

std::vector<std::string> DistinctDescriptions(const std::vector<TEventSource>& sources) {
    std::set<std::string> seen;
    for (const TEventSource& s : sources)
        ForEachEvent(s, [&seen](const TEventRef&, const TReminders& r) {
            std::string d = r.Description.str();
            if (!d.empty())
                seen.insert(std::move(d));
        });
    return {seen.begin(), seen.end()};
}

} // namespace tessaly
