#include "core/diary/alarm_view.h"

#include "core/common/file_paths.h"
#include "core/organise/entry_text.h"

#include <algorithm>

namespace tessaly {

namespace {

const TEventSource* FindSource(const std::vector<TEventSource>& sources, const void* owner) {
    const auto it = std::find_if(sources.begin(), sources.end(),
                                 [owner](const TEventSource& s) { return s.Owner == owner; });
    return it == sources.end() ? nullptr : &*it;
}

constexpr int kNoticeLines = 5;

} // namespace

TAlarmRowText AlarmRowText(const TReminders& r, const std::string& eventFormat,
                           const TFormatSettings& fs) {
    TAlarmRowText t;
    t.Date = FormatDateTime(eventFormat, r.When, fs);
    if (!r.NoTime)
        t.Time = FormatDateTime("t", r.When, fs);
    t.Description = TextValue(r.Description);
    return t;
}

std::string OwnerName(const TEventSource& source) {
    if (source.Diary)
        return UpperCase(FileNameOf(source.Diary->FileName));
    if (source.Book)
        return UpperCase(FileNameOf(source.Book->FileName));
    return std::string();
}

TAlarmOwnerText AlarmOwnerText(const std::vector<TEventSource>& sources, const TEventRef& ref) {
    TAlarmOwnerText t;
    const TEventSource* s = FindSource(sources, ref.Owner);
    if (!s)
        return t;
    t.Name = OwnerName(*s);
    if (s->Diary) {
        t.Label = "Diary File:";
        return t;
    }
    t.Label = "Address Book:";
    t.ShowEntry = true;
    if (const TRecord* entry = ResolveEntry(sources, ref))
        t.Entry = DisplayText(*entry, s->Book->IndexKeys);
    return t;
}

TAlarmRaise PlanAlarmRaise(const TAlarmRaiseState& state) {
    TAlarmRaise r;
    if (state.ListEmpty)
        return r;
    r.Show = true;
    r.MinimiseApp = !state.AppActive && !state.FrameMinimised;
    r.GoToEnabled = !state.PreviewOrDesignerOpen;
    r.Notify = !state.AppActive || state.FrameMinimised;
    return r;
}

TAlarmNotice AlarmNotification(const TAlarmList& list, const std::vector<TEventSource>& sources,
                               const std::string& eventFormat, const TFormatSettings& fs) {
    TAlarmNotice n;
    n.Summary = list.Title();
    int shown = 0;
    for (int i = 0; i < list.Count() && shown < kNoticeLines; ++i) {
        const TReminders* r = ResolveEvent(sources, list.At(i)->Ref);
        if (!r)
            continue;
        const TAlarmRowText row = AlarmRowText(*r, eventFormat, fs);
        if (!n.Body.empty())
            n.Body += '\n';
        n.Body += row.Date;
        if (!row.Time.empty())
            n.Body += ' ' + row.Time;
        n.Body += "  " + row.Description;
        ++shown;
    }
    if (list.Count() > shown)
        n.Body += "\nand " + std::to_string(list.Count() - shown) + " more";
    return n;
}

TDialogMessage BookBeingUpdatedMessage(const std::string& bookName) {
    return TDialogMessage{kMsgTitleRequestDenied,
                          "Address Book: " + bookName +
                              " \n\nUnable to action Request, as the Address Book is currently "
                              "being Updated.\nPlease complete the outstanding Update and try "
                              "again",
                          kMsgKindInformation, kMsgButtonsOk};
}

} // namespace tessaly
