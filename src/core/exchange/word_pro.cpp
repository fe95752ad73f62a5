#include "core/exchange/word_pro.h"

#include "core/common/same_text.h"
#include "core/store/stream.h"

#include <array>
#include <utility>

namespace tessaly {

std::unique_ptr<TWordPro> TWordPro::Read(TStreamReader& r, int) {
    auto w = std::make_unique<TWordPro>();
    w->Name = r.ReadText();
    w->TitleBarText = r.ReadText();
    return w;
}

void TWordPro::Write(TStreamWriter& w, int) const {
    w.WriteText(Name);
    w.WriteText(TitleBarText);
}

std::string TWordProList::TitleBarTextOf(std::string_view name) const {
    std::string title;
    for (const auto& item : *this)
        if (item && SameText(TextValue(item->Name), name))
            title = std::string(TextValue(item->TitleBarText));
    return title;
}

int TWordProList::IndexOfName(std::string_view name) const {
    for (int i = 0; i < Count(); ++i)
        if (At(i) && SameText(TextValue(At(i)->Name), name))
            return i;
    return -1;
}

int TWordProList::AddOrChangeWordProcessor(std::string_view name, std::string_view title,
                                           int item) {
    if (TWordPro* w = At(item)) {
        if (SameText(TextValue(w->Name), TextValue(Selected)))
            Selected = Text(name);
        w->Name = Text(name);
        w->TitleBarText = Text(title);
        return item;
    }
    Add(std::make_unique<TWordPro>(name, title));
    return Count() - 1;
}

std::string TWordProList::NameAt(int i) const {
    return At(i) ? std::string(TextValue(At(i)->Name)) : std::string();
}

std::string TWordProList::TitleAt(int i) const {
    return At(i) ? std::string(TextValue(At(i)->TitleBarText)) : std::string();
}

bool TWordProList::operator==(const TWordProList& o) const {
    return Selected == o.Selected && ItemsEqual(o);
}

TWordProList DefaultWordProcessors() {
    static constexpr std::array<std::pair<const char*, const char*>, 14> kDefaults = {{
        {"Microsoft Notepad", "Notepad"},
        {"Microsoft Word for Windows", "Microsoft Word"},
        {"Microsoft WordPad", "WordPad"},
        {"Microsoft Works", "Microsoft Works"},
        {"Microsoft Write", "Write"},
        {"WordPerfect for Windows", "WordPerfect"},
        {"Lotus Ami Pro", "Ami Pro"},
        {"Symantec Q&A Write", "Symantec Q&A Write"},
        {"Word Express", "WordExpress"},
        // What a Linux desktop brings.
        {"LibreOffice Writer", "LibreOffice Writer"},
        {"AbiWord", "AbiWord"},
        {"Text Editor", "Text Editor"},
        {"Kate", "Kate"},
        {"Mousepad", "Mousepad"},
    }};
    TWordProList list;
    for (const auto& [name, title] : kDefaults)
        list.Add(std::make_unique<TWordPro>(name, title));
    return list;
}

} // namespace tessaly
