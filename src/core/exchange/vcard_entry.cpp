#include "core/exchange/vcard_entry.h"

#include "core/common/codepage.h"
#include "core/common/same_text.h"
#include "core/common/text.h"
#include "core/diary/recurrence.h"
#include "core/exchange/vcard_kept.h"
#include "core/store/book.h"
#include "core/store/record.h"
#include "core/store/template.h"

#include <charconv>
#include <cmath>
#include <map>

namespace tessaly {

namespace {

constexpr std::string_view kFieldParam = "X-TESSALY-FIELD";
// The slot of a line that was read and is not to be kept.
const std::string kDropped = "-";

std::string U(std::string_view cp1252) {
    return Cp1252ToUtf8(cp1252);
}

// A UTF-8 text as the entry holds it: Windows-1252 with CRLF line breaks.
std::string Local(std::string_view utf8) {
    std::string crlf;
    crlf.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        if (utf8[i] == '\r' || utf8[i] == '\n') {
            if (utf8[i] == '\r' && i + 1 < utf8.size() && utf8[i + 1] == '\n')
                ++i;
            crlf += "\r\n";
        } else {
            crlf += utf8[i];
        }
    }
    return Utf8ToCp1252(crlf);
}

std::string Num(double v) {
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, r.ptr);
}

bool ParseNum(std::string_view s, double& v) {
    if (s.empty())
        return false;
    const auto r = std::from_chars(s.data(), s.data() + s.size(), v);
    return r.ec == std::errc() && r.ptr == s.data() + s.size() && std::isfinite(v);
}

bool ParseInt(std::string_view s, long long lo, long long hi, long long& v) {
    if (s.empty())
        return false;
    const auto r = std::from_chars(s.data(), s.data() + s.size(), v);
    return r.ec == std::errc() && r.ptr == s.data() + s.size() && v >= lo && v <= hi;
}

bool StartsWithNoCase(std::string_view s, std::string_view prefix) {
    return s.size() >= prefix.size() && SameText(s.substr(0, prefix.size()), prefix);
}

bool ContainsNoCase(std::string_view s, std::string_view what) {
    const std::string a = UpperCase1252(s);
    return a.find(UpperCase1252(what)) != std::string::npos;
}

// One line of a card as the entry makes it. The slot names what of the entry the
// line stands for; the fingerprint is that of the line's version-free form.
struct TGen {
    std::string Slot;
    std::string Line;
    std::string Fingerprint;
};

// Whether this program's own property holds a list (components and values), which
// goes out escaped as one text value: a server that knows nothing of the property
// keeps a text value whole, but may cut a bare list at its first comma.
bool IsOwnList(const TVCardProperty& p) {
    return p.Name.size() > 10 && StartsWithNoCase(p.Name, "X-TESSALY-") && !p.Is("X-TESSALY-NAME");
}

bool HasBareSeparator(std::string_view v) {
    for (std::size_t i = 0; i < v.size(); ++i) {
        if (v[i] == '\\')
            ++i;
        else if (v[i] == ';' || v[i] == ',')
            return true;
    }
    return false;
}

TVCardProperty Prop(std::string name, std::vector<TVCardParam> params, std::string value) {
    TVCardProperty p;
    p.Name = std::move(name);
    p.Params = std::move(params);
    p.Value = std::move(value);
    if (IsOwnList(p))
        p.Value = EscapeText(p.Value);
    p.Line = PropertyLine(p);
    return p;
}

// The fingerprint names the slot too: two lines the entry makes alike (two equal
// reminders) each stand only for the card's lines of their own.
void Add(std::vector<TGen>& out, std::string slot, const TVCardProperty& p,
         std::string_view canonical = {}) {
    const std::string print =
        slot + '\n' + std::string(canonical.empty() ? std::string_view(p.Line) : canonical);
    out.push_back({std::move(slot), p.Line, VCardFingerprint(print)});
}

std::string Structured(std::initializer_list<std::vector<std::string>> parts) {
    return JoinStructured(std::vector<std::vector<std::string>>(parts));
}

const TTemplate* TemplateOf(const TBookData& book, int id) {
    return book.Templates.TemplateOfId(id);
}

// The vCard type a telephone caption stands for, if any.
std::string StandardType(std::string_view caption) {
    static const std::pair<const char*, const char*> kTypes[] = {
        {"Home", "home"},   {"Work", "work"},   {"Fax", "fax"},     {"Mobile", "cell"},
        {"Cell", "cell"},   {"Pager", "pager"}, {"Voice", "voice"}, {"Business", "work"},
        {"Office", "work"}, {"Private", "home"}};
    for (const auto& [c, t] : kTypes)
        if (SameText(caption, c))
            return t;
    return std::string();
}

enum class TPhoneKind { Tel, Email, Url };

bool PlainUrl(std::string_view v) {
    if (!(StartsWithNoCase(v, "http://") || StartsWithNoCase(v, "https://") ||
          StartsWithNoCase(v, "www.")))
        return false;
    for (char c : v)
        if (static_cast<unsigned char>(c) < 0x21 || c == '\\')
            return false;
    return true;
}

TPhoneKind KindOf(const TTemplate* tpl, int field, std::string_view value) {
    if (tpl && tpl->ButtonKind(field - kFirstPhoneField) == 2)
        return TPhoneKind::Email;
    return PlainUrl(value) ? TPhoneKind::Url : TPhoneKind::Tel;
}

std::string SlotOfField(int k, int f) {
    return "F " + std::to_string(k) + '.' + std::to_string(f);
}

std::string BirthdayKind(const TReminders& r) {
    if (r.Frequency != kYearly || r.Interval != 1)
        return std::string();
    if (StartsWithNoCase(r.Description.view(), "Birthday"))
        return "BDAY";
    if (StartsWithNoCase(r.Description.view(), "Anniversary"))
        return "ANNIVERSARY";
    return std::string();
}

std::string TwoDigits(int v) {
    std::string s = std::to_string(v);
    return s.size() < 2 ? '0' + s : s;
}

void GenerateDays(const TRecord& e, int version, std::vector<TGen>& out) {
    for (const char* kind : {"BDAY", "ANNIVERSARY"}) {
        for (const auto& r : e.Reminders) {
            if (BirthdayKind(*r) != kind)
                continue;
            const TDateParts d = DecodeDate(r->When);
            const std::string monthDay = TwoDigits(d.Month) + TwoDigits(d.Day);
            const std::string canonical = std::string(kind) + ":--" + monthDay;
            std::string name = kind;
            std::string value;
            if (version == kVCard40) {
                value = "--" + monthDay;
            } else {
                if (name == "ANNIVERSARY")
                    name = "X-ANNIVERSARY";
                value = std::to_string(d.Year) + '-' + TwoDigits(d.Month) + '-' + TwoDigits(d.Day);
            }
            Add(out, kind, Prop(name, {}, value), canonical);
            break;
        }
    }
}

std::vector<TGen> Generate(const TRecord& e, const TBookData& book, int version) {
    std::vector<TGen> out;
    const std::string title = e.NameField(kFieldTitle);
    const std::string first = e.NameField(kFieldFirstName);
    const std::string surname = e.NameField(kFieldSurname);
    Add(out, "N", Prop("N", {}, Structured({{U(surname)}, {U(first)}, {""}, {U(title)}, {""}})));
    std::string fn;
    for (const std::string* part : {&title, &first, &surname}) {
        const std::string t = Trim(*part);
        if (!t.empty())
            fn += (fn.empty() ? "" : " ") + t;
    }
    for (int i = 0; fn.empty() && i < e.Addresses.Count(); ++i)
        fn = Trim(e.Addresses.FieldOf(i, kFieldCompany));
    Add(out, "FN", Prop("FN", {}, EscapeText(U(fn))));
    for (int i = kFieldSalutation; i < kFieldNotes; ++i) {
        const std::string v = e.NameField(i);
        if (!v.empty())
            Add(out, "NAME " + std::to_string(i),
                Prop("X-TESSALY-NAME", {{std::string(kFieldParam), {std::to_string(i)}}},
                     EscapeText(U(v))));
    }
    for (int a = 0; a < e.Addresses.Count(); ++a) {
        const TAddress& address = *e.Addresses.At(a);
        const int k = a + 1;
        const TTemplate* tpl = TemplateOf(book, address.TemplateId);
        const std::string tplName = tpl ? U(tpl->Name.view()) : std::string();
        std::vector<std::vector<std::string>> parts = {{std::to_string(k)},
                                                       {std::to_string(address.TemplateId)},
                                                       {tplName},
                                                       {std::to_string(address.AddressFlag)}};
        for (int p = 0; p < kPhoneFields; ++p) {
            const auto pi = static_cast<std::size_t>(p);
            parts.push_back({std::to_string(address.UseDefaultDialling[pi]),
                             std::to_string(address.PrefixOn[pi]),
                             std::to_string(address.ChargeCard[pi]),
                             std::to_string(address.LogCall[pi]), U(address.Prefix[pi].view())});
        }
        Add(out, "ADDR " + std::to_string(k), Prop("X-TESSALY-ADDRESS", {}, JoinStructured(parts)));
        const auto params = [&](int f, const std::string& extraType) {
            std::vector<TVCardParam> ps;
            std::vector<std::string> types;
            if (!tplName.empty())
                types.push_back(tplName);
            if (!extraType.empty())
                types.push_back(extraType);
            if (!types.empty())
                ps.push_back({"TYPE", types});
            ps.push_back({std::string(kFieldParam), {std::to_string(k) + '.' + std::to_string(f)}});
            return ps;
        };
        const std::string position = address.Field(kFieldPosition);
        if (!position.empty())
            Add(out, SlotOfField(k, kFieldPosition),
                Prop("TITLE", params(kFieldPosition, ""), EscapeText(U(position))));
        const std::string company = address.Field(kFieldCompany);
        if (!company.empty())
            Add(out, SlotOfField(k, kFieldCompany),
                Prop("ORG", params(kFieldCompany, ""), EscapeText(U(company))));
        const std::string street = address.Field(kFieldAddress);
        if (!street.empty())
            Add(out, SlotOfField(k, kFieldAddress),
                Prop("ADR", params(kFieldAddress, ""),
                     Structured({{""}, {""}, {U(street)}, {""}, {""}, {""}, {""}})));
        for (int f = kFirstPhoneField; f <= kLastPhoneField; ++f) {
            const std::string v = address.Field(f);
            if (v.empty())
                continue;
            const std::string type = tpl ? StandardType(tpl->Caption(f)) : std::string();
            switch (KindOf(tpl, f, v)) {
            case TPhoneKind::Email:
                Add(out, SlotOfField(k, f), Prop("EMAIL", params(f, ""), EscapeText(U(v))));
                break;
            case TPhoneKind::Url:
                Add(out, SlotOfField(k, f), Prop("URL", params(f, ""), U(v)));
                break;
            case TPhoneKind::Tel:
                Add(out, SlotOfField(k, f), Prop("TEL", params(f, type), EscapeText(U(v))));
                break;
            }
        }
    }
    const std::string notes = NotesWithoutKept(e.Notes());
    if (!notes.empty())
        Add(out, "NOTE", Prop("NOTE", {}, EscapeText(U(notes))));
    if (!e.CategoriesInUse.Empty()) {
        std::vector<std::string> names;
        std::vector<std::string> ids;
        for (const auto& m : e.CategoriesInUse) {
            ids.push_back(std::to_string(m->CategoryId));
            if (book.Categories.FindCategoryById(m->CategoryId) >= 0)
                names.push_back(U(book.Categories.NameOfId(m->CategoryId)));
        }
        if (!names.empty())
            Add(out, "CATEGORIES", Prop("CATEGORIES", {}, JoinStructured({names})));
        Add(out, "XCATEGORIES", Prop("X-TESSALY-CATEGORIES", {}, JoinStructured({ids})));
    }
    GenerateDays(e, version, out);
    for (int i = 0; i < e.Reminders.Count(); ++i) {
        const TReminders& r = *e.Reminders.At(i);
        Add(out, "REM " + std::to_string(i),
            Prop("X-TESSALY-REMINDER", {},
                 Structured({{Num(r.When)},
                             {Num(r.Until)},
                             {std::to_string(r.Completed)},
                             {std::to_string(r.Frequency)},
                             {std::to_string(r.Interval)},
                             {std::to_string(r.AdvanceDays)},
                             {std::to_string(r.AlarmSet)},
                             {std::to_string(r.NoTime)},
                             {Num(r.AlarmTime)},
                             {std::to_string(r.Priority)},
                             {U(r.Description.view())},
                             {U(r.Notes.view())}})));
    }
    for (int i = 0; i < e.Attachments.Count(); ++i) {
        const TDocument& d = *e.Attachments.At(i);
        Add(out, "ATT " + std::to_string(i),
            Prop("X-TESSALY-ATTACHMENT", {},
                 Structured({{std::to_string(d.IsDocument)},
                             {U(d.Description.view())},
                             {U(d.FileName.view())}})));
    }
    for (int i = 0; i < e.CallLogs.Count(); ++i) {
        const TLog& l = *e.CallLogs.At(i);
        Add(out, "CALL " + std::to_string(i),
            Prop("X-TESSALY-CALL", {},
                 Structured(
                     {{Num(l.Start)}, {Num(l.End)}, {U(l.Number.view())}, {U(l.Comment.view())}})));
    }
    std::vector<std::vector<std::string>> keys = {{std::to_string(e.UseDefaultKeys)}};
    for (const TIndex& key : e.Keys)
        keys.push_back({std::to_string(key.Code), std::to_string(key.SortBy)});
    Add(out, "KEYS", Prop("X-TESSALY-KEYS", {}, JoinStructured(keys)));
    if (e.Tagged)
        Add(out, "TAG", Prop("X-TESSALY-TAG", {}, std::to_string(e.Tagged)));
    Add(out, "STAMP", Prop("X-TESSALY-STAMP", {}, Num(e.Stamp)));
    Add(out, "DATES",
        Prop("X-TESSALY-DATES", {},
             Structured({{Num(e.Created)}, {Num(e.Updated)}, {Num(e.LastCalled)}})));
    return out;
}

// ---- reading ----

struct TImport {
    const TVCard& Card;
    TBookData& Book;
    TRecord& E;
    const TVCardImportOptions& Options;
    std::vector<std::string>* Problems;
    std::vector<std::string> SlotOf;                     // per property; empty: not mapped
    std::map<long long, int> AddressOfNumber;            // the card's address number -> index
    std::vector<std::array<bool, kAddressFields>> Taken; // per address: field mapped
    std::vector<std::size_t> ReminderLine;               // per reminder: the line it came from

    void Note(const std::string& s) const {
        if (Problems)
            Problems->push_back(s);
    }

    int NewAddress(int templateId) {
        if (E.Addresses.Count() >= kMaxListCount)
            return -1;
        const int a = E.Addresses.AddAddress(templateId);
        Taken.push_back({});
        return a;
    }

    void Place(std::size_t i, int a, int f, const std::string& value) {
        E.Addresses.SetFieldOf(a, f, value);
        Taken[static_cast<std::size_t>(a)][static_cast<std::size_t>(f)] = true;
        SlotOf[i] = SlotOfField(a + 1, f);
    }
};

// The local value of an address property: TITLE, ORG, ADR, TEL, EMAIL or URL.
std::string AddressValue(const TVCardProperty& p) {
    if (p.Is("ADR")) {
        std::string text;
        for (const auto& component : SplitStructured(p.Value)) {
            std::string joined;
            for (const auto& v : component)
                if (!v.empty())
                    joined += (joined.empty() ? "" : "\n") + v;
            if (!joined.empty())
                text += (text.empty() ? "" : "\n") + joined;
        }
        return Local(text);
    }
    if (p.Is("ORG")) {
        std::string text;
        for (const auto& unit : SplitComponents(p.Value))
            if (!unit.empty())
                text += (text.empty() ? "" : ", ") + unit;
        return Local(text);
    }
    if (p.Is("URL"))
        return Local(p.Value);
    return Local(UnescapeText(p.Value));
}

int FixedField(const TVCardProperty& p) {
    if (p.Is("TITLE"))
        return kFieldPosition;
    if (p.Is("ORG"))
        return kFieldCompany;
    if (p.Is("ADR"))
        return kFieldAddress;
    return -1;
}

bool IsAddressProperty(const TVCardProperty& p) {
    return p.Is("TITLE") || p.Is("ORG") || p.Is("ADR") || p.Is("TEL") || p.Is("EMAIL") ||
           p.Is("URL");
}

bool KindFits(const TVCardProperty& p, TPhoneKind kind) {
    return (p.Is("TEL") && kind == TPhoneKind::Tel) ||
           (p.Is("EMAIL") && kind == TPhoneKind::Email) || (p.Is("URL") && kind == TPhoneKind::Url);
}

// The property's "k.f" parameter, if well-formed.
bool FieldParamOf(const TVCardProperty& p, long long& k, long long& f) {
    const auto values = p.ParamValues(kFieldParam);
    if (values.size() != 1)
        return false;
    const std::string& v = values[0];
    const std::size_t dot = v.find('.');
    return dot != std::string::npos &&
           ParseInt(std::string_view(v).substr(0, dot), 1, kMaxListCount, k) &&
           ParseInt(std::string_view(v).substr(dot + 1), 0, kAddressFields - 1, f);
}

bool ReadAddressLine(TImport& im, std::size_t i) {
    const auto parts = SplitStructured(im.Card.Properties[i].Value);
    if (parts.size() != 8)
        return false;
    long long k = 0, id = 0, flag = 0;
    if (!ParseInt(parts[0][0], 1, kMaxListCount, k) || im.AddressOfNumber.count(k) ||
        !ParseInt(parts[1][0], -32768, 32767, id) || !ParseInt(parts[3][0], 0, 255, flag))
        return false;
    std::array<std::array<long long, 4>, kPhoneFields> dial{};
    for (int p = 0; p < kPhoneFields; ++p) {
        const auto& d = parts[static_cast<std::size_t>(4 + p)];
        if (d.size() != 5)
            return false;
        for (std::size_t s = 0; s < 4; ++s)
            if (!ParseInt(d[s], 0, 255, dial[static_cast<std::size_t>(p)][s]))
                return false;
    }
    // The template of that name in this book; a template this book lacks gives way to
    // one the entry has no address of yet, so that the address stays in sight. An
    // address without a template (its name empty) keeps its number.
    int templateId = static_cast<int>(id);
    const std::string name = Local(parts[2][0]);
    if (!name.empty()) {
        const TTemplateList& templates = im.Book.Templates;
        int t = templates.FindTemplateByName(name);
        for (int u = 1; t < 1 && u < templates.Count(); ++u)
            if (im.E.Addresses.FindAddress(templates.TemplateId(u)) < 0)
                t = u;
        if (t >= 1)
            templateId = templates.TemplateId(t);
    }
    const int a = im.NewAddress(templateId);
    if (a < 0)
        return false;
    TAddress& address = *im.E.Addresses.At(a);
    address.AddressFlag = static_cast<std::uint8_t>(flag);
    for (int p = 0; p < kPhoneFields; ++p) {
        const auto pi = static_cast<std::size_t>(p);
        address.UseDefaultDialling[pi] = static_cast<std::uint8_t>(dial[pi][0]);
        address.PrefixOn[pi] = static_cast<std::uint8_t>(dial[pi][1]);
        address.ChargeCard[pi] = static_cast<std::uint8_t>(dial[pi][2]);
        address.LogCall[pi] = static_cast<std::uint8_t>(dial[pi][3]);
        address.SetPrefix(kFirstPhoneField + p, Local(parts[4 + pi][4]));
    }
    im.AddressOfNumber[k] = a;
    im.SlotOf[i] = "ADDR " + std::to_string(a + 1);
    return true;
}

bool ReadReminderLine(TImport& im, std::size_t i) {
    const auto c = SplitComponents(im.Card.Properties[i].Value);
    if (c.size() != 12 || im.E.Reminders.Count() >= kMaxListCount)
        return false;
    auto r = std::make_unique<TReminders>();
    long long completed, frequency, interval, advance, alarm, noTime, priority;
    if (!ParseNum(c[0], r->When) || !ParseNum(c[1], r->Until) ||
        !ParseInt(c[2], 0, 255, completed) || !ParseInt(c[3], -32768, 32767, frequency) ||
        !ParseInt(c[4], -32768, 32767, interval) || !ParseInt(c[5], -32768, 32767, advance) ||
        !ParseInt(c[6], 0, 255, alarm) || !ParseInt(c[7], 0, 255, noTime) ||
        !ParseNum(c[8], r->AlarmTime) || !ParseInt(c[9], -32768, 32767, priority))
        return false;
    r->Completed = static_cast<std::uint8_t>(completed);
    r->Frequency = static_cast<std::int16_t>(frequency);
    r->Interval = static_cast<std::int16_t>(interval);
    r->AdvanceDays = static_cast<std::int16_t>(advance);
    r->AlarmSet = static_cast<std::uint8_t>(alarm);
    r->NoTime = static_cast<std::uint8_t>(noTime);
    r->Priority = static_cast<std::int16_t>(priority);
    r->SetDescription(Local(c[10]));
    r->SetNotes(Local(c[11]));
    im.SlotOf[i] = "REM " + std::to_string(im.E.Reminders.Count());
    im.E.Reminders.Add(std::move(r));
    im.ReminderLine.push_back(i);
    return true;
}

bool ReadTessalyLine(TImport& im, std::size_t i) {
    const TVCardProperty& p = im.Card.Properties[i];
    TRecord& e = im.E;
    if (p.Is("X-TESSALY-NAME")) {
        long long field = 0;
        const auto v = p.ParamValues(kFieldParam);
        const std::string slot = v.size() == 1 ? "NAME " + v[0] : std::string();
        if (v.size() != 1 || !ParseInt(v[0], kFieldSalutation, kFieldNotes - 1, field) ||
            std::find(im.SlotOf.begin(), im.SlotOf.end(), slot) != im.SlotOf.end())
            return false;
        e.SetNameField(static_cast<int>(field), Local(UnescapeText(p.Value)));
        im.SlotOf[i] = slot;
        return true;
    }
    if (p.Is("X-TESSALY-ADDRESS"))
        return ReadAddressLine(im, i);
    if (p.Is("X-TESSALY-REMINDER"))
        return ReadReminderLine(im, i);
    if (p.Is("X-TESSALY-ATTACHMENT")) {
        const auto c = SplitComponents(p.Value);
        long long isDocument = 0;
        if (c.size() != 3 || !ParseInt(c[0], 0, 255, isDocument) ||
            e.Attachments.Count() >= kMaxListCount)
            return false;
        im.SlotOf[i] = "ATT " + std::to_string(e.Attachments.Count());
        const int at = e.Attachments.AppendAttachment(Local(c[1]), Local(c[2]), isDocument != 0);
        e.Attachments.At(at)->IsDocument = static_cast<std::uint8_t>(isDocument);
        return true;
    }
    if (p.Is("X-TESSALY-CALL")) {
        const auto c = SplitComponents(p.Value);
        double start = 0, end = 0;
        if (c.size() != 4 || !ParseNum(c[0], start) || !ParseNum(c[1], end) ||
            e.CallLogs.Count() >= kMaxListCount)
            return false;
        im.SlotOf[i] = "CALL " + std::to_string(e.CallLogs.Count());
        e.CallLogs.AddLog(Local(c[2]), Local(c[3]), start, end);
        return true;
    }
    const auto once = [&](const char* slot) {
        if (std::find(im.SlotOf.begin(), im.SlotOf.end(), slot) != im.SlotOf.end())
            return false;
        im.SlotOf[i] = slot;
        return true;
    };
    if (p.Is("X-TESSALY-KEYS")) {
        const auto parts = SplitStructured(p.Value);
        long long useDefault = 0;
        if (!ParseInt(parts[0][0], 0, 255, useDefault) ||
            parts.size() > static_cast<std::size_t>(kMaxListCount) + 1)
            return false;
        TIndexList keys;
        for (std::size_t k = 1; k < parts.size(); ++k) {
            long long code = 0, sortBy = 0;
            if (parts[k].size() != 2 || !ParseInt(parts[k][0], -32768, 32767, code) ||
                !ParseInt(parts[k][1], 0, 255, sortBy))
                return false;
            TIndex key(static_cast<int>(code), false);
            key.SortBy = static_cast<std::uint8_t>(sortBy);
            keys.AddKey(key);
        }
        if (!once("KEYS"))
            return false;
        e.UseDefaultKeys = static_cast<std::uint8_t>(useDefault);
        e.Keys = keys;
        return true;
    }
    if (p.Is("X-TESSALY-TAG")) {
        long long tag = 0;
        if (!ParseInt(p.Value, 0, 255, tag) || !once("TAG"))
            return false;
        e.Tagged = static_cast<std::uint8_t>(tag);
        return true;
    }
    if (p.Is("X-TESSALY-STAMP")) {
        double stamp = 0;
        if (!ParseNum(p.Value, stamp) || !once("STAMP"))
            return false;
        e.Stamp = stamp;
        return true;
    }
    if (p.Is("X-TESSALY-DATES")) {
        const auto c = SplitComponents(p.Value);
        double created = 0, updated = 0, called = 0;
        if (c.size() != 3 || !ParseNum(c[0], created) || !ParseNum(c[1], updated) ||
            !ParseNum(c[2], called) || !once("DATES"))
            return false;
        e.Created = created;
        e.Updated = updated;
        e.LastCalled = called;
        return true;
    }
    return false;
}

// Month and day (and the year, 0 when none) of a BDAY or ANNIVERSARY value.
bool ParseMonthDay(std::string_view v, int& year, int& month, int& day) {
    const std::size_t t = v.find('T');
    if (t != std::string_view::npos)
        v = v.substr(0, t);
    std::string digits;
    bool noYear = v.size() >= 2 && v[0] == '-' && v[1] == '-';
    for (char c : v) {
        if (c >= '0' && c <= '9')
            digits += c;
        else if (c != '-')
            return false;
    }
    long long y = 0, m = 0, d = 0;
    if (noYear && digits.size() == 4) {
        y = 0;
    } else if (!noYear && digits.size() == 8) {
        ParseInt(std::string_view(digits).substr(0, 4), 1, 9999, y);
        digits = digits.substr(4);
        if (y == 0)
            return false;
    } else {
        return false;
    }
    if (!ParseInt(std::string_view(digits).substr(0, 2), 1, 12, m) ||
        !ParseInt(std::string_view(digits).substr(2, 2), 1, 31, d))
        return false;
    if (d > DaysInMonth(y ? static_cast<int>(y) : 2000, static_cast<int>(m)))
        return false;
    year = static_cast<int>(y);
    month = static_cast<int>(m);
    day = static_cast<int>(d);
    return true;
}

// The date of (month, day) in a year, the last day of February standing for the 29th.
TDateTime DayInYear(int year, int month, int day) {
    return EncodeDate(year, month, std::min(day, DaysInMonth(year, month)));
}

bool ReadDay(TImport& im, std::size_t i, const std::string& kind) {
    const TVCardProperty& p = im.Card.Properties[i];
    int year = 0, month = 0, day = 0;
    if (!ParseMonthDay(p.Value, year, month, day) ||
        std::find(im.SlotOf.begin(), im.SlotOf.end(), kind) != im.SlotOf.end())
        return false;
    TReminders* found = nullptr;
    int foundAt = -1;
    for (int r = 0; r < im.E.Reminders.Count() && !found; ++r)
        if (BirthdayKind(*im.E.Reminders.At(r)) == kind) {
            found = im.E.Reminders.At(r);
            foundAt = r;
        }
    if (found) {
        const TDateParts d = DecodeDate(found->When);
        if (d.Month != month || d.Day != day) {
            // The day was changed elsewhere: the reminder follows, and its own line
            // of the card, which still has the old day, is not kept.
            found->When = ComposeDateTime(DayInYear(d.Year, month, day), TimeOf(found->When));
            found->KeepUntilInRange();
            if (static_cast<std::size_t>(foundAt) < im.ReminderLine.size())
                im.SlotOf[im.ReminderLine[static_cast<std::size_t>(foundAt)]] = kDropped;
        }
    } else {
        if (im.E.Reminders.Count() >= kMaxListCount)
            return false;
        const TDateParts today = DecodeDate(im.Options.Today);
        TDateTime when = DayInYear(today.Year, month, day);
        if (when < DateOf(im.Options.Today) && today.Year < 9999)
            when = DayInYear(today.Year + 1, month, day);
        auto r = std::make_unique<TReminders>();
        r->When = when;
        r->AlarmTime = when;
        r->Until = std::max(when, EncodeDate(2100, 12, 31));
        r->Frequency = kYearly;
        r->Interval = 1;
        r->NoTime = 1;
        r->SetDescription(kind == "BDAY" ? "Birthday" : "Anniversary");
        im.E.Reminders.Add(std::move(r));
    }
    im.SlotOf[i] = kind;
    return true;
}

// The address field a property without a field parameter goes to: an empty field of
// the kind it needs, in the address of the template its TYPE names, then in the
// entry's addresses, then in an address of a template the entry has none of yet.
bool PlaceForeign(TImport& im, std::size_t i) {
    const TVCardProperty& p = im.Card.Properties[i];
    const std::string value = AddressValue(p);
    if (value.empty())
        return false;
    std::vector<std::string> types;
    for (const auto& t : p.ParamValues("TYPE")) {
        const auto pieces = SplitStructured(t);
        for (const auto& piece : pieces[0])
            types.push_back(Local(piece));
    }
    const auto fieldIn = [&](int a) {
        const TAddress& address = *im.E.Addresses.At(a);
        const auto& taken = im.Taken[static_cast<std::size_t>(a)];
        const int fixed = FixedField(p);
        if (fixed >= 0)
            return taken[static_cast<std::size_t>(fixed)] || !address.Field(fixed).empty() ? -1
                                                                                           : fixed;
        const TTemplate* tpl = TemplateOf(im.Book, address.TemplateId);
        if (!tpl)
            return -1;
        int best = -1;
        for (int f = kFirstPhoneField; f <= kLastPhoneField; ++f) {
            if (taken[static_cast<std::size_t>(f)] || !address.Field(f).empty())
                continue;
            const std::string caption = tpl->Caption(f);
            const bool mail = tpl->ButtonKind(f - kFirstPhoneField) == 2;
            bool fits;
            if (p.Is("EMAIL"))
                fits = mail || ContainsNoCase(caption, "mail");
            else if (p.Is("URL"))
                fits = !mail && (ContainsNoCase(caption, "web") || ContainsNoCase(caption, "url") ||
                                 ContainsNoCase(caption, "internet"));
            else
                fits = !mail && !ContainsNoCase(caption, "mail");
            if (!fits)
                continue;
            bool named = false;
            for (const auto& t : types)
                named = named || (!t.empty() &&
                                  (SameText(t, caption) || SameText(StandardType(caption), t)));
            if (named)
                return f;
            if (best < 0)
                best = f;
        }
        return best;
    };
    std::vector<int> tried;
    const auto tryAddress = [&](int a) {
        if (a < 0 || std::find(tried.begin(), tried.end(), a) != tried.end())
            return false;
        tried.push_back(a);
        const int f = fieldIn(a);
        if (f < 0)
            return false;
        im.Place(i, a, f, value);
        return true;
    };
    // A new address is made only where it takes the value.
    const auto tryTemplate = [&](int templateId) {
        const int existing = im.E.Addresses.FindAddress(templateId);
        if (existing >= 0)
            return tryAddress(existing);
        const int a = im.NewAddress(templateId);
        if (a < 0)
            return false;
        if (tryAddress(a))
            return true;
        im.E.Addresses.Delete(a);
        im.Taken.pop_back();
        tried.pop_back();
        return false;
    };
    for (const auto& t : types) {
        const int ti = im.Book.Templates.FindTemplateByName(t);
        if (ti >= 1 && tryTemplate(im.Book.Templates.TemplateId(ti)))
            return true;
    }
    for (int a = 0; a < im.E.Addresses.Count(); ++a)
        if (tryAddress(a))
            return true;
    for (int ti = 1; ti < im.Book.Templates.Count(); ++ti) {
        const int id = im.Book.Templates.TemplateId(ti);
        if (im.E.Addresses.FindAddress(id) < 0 && tryTemplate(id))
            return true;
    }
    return false;
}

void ReadCategories(TImport& im, const std::vector<std::size_t>& lines,
                    const std::vector<std::size_t>& idLines) {
    TRecord& e = im.E;
    TCategoryList& categories = im.Book.Categories;
    std::vector<std::string> names;
    for (std::size_t i : lines) {
        const auto parts = SplitStructured(im.Card.Properties[i].Value);
        for (const auto& n : parts[0]) {
            const std::string name = CleanShort(Local(n));
            if (!name.empty())
                names.push_back(name);
        }
    }
    std::vector<int> given;
    bool idsValid = idLines.size() == 1;
    const auto idParts = idsValid ? SplitStructured(im.Card.Properties[idLines[0]].Value)
                                  : decltype(SplitStructured(""))();
    if (idsValid)
        for (const auto& v : idParts[0]) {
            long long id = 0;
            if (!ParseInt(v, -32768, 32767, id) || given.size() >= kMaxListCount) {
                idsValid = false;
                break;
            }
            given.push_back(static_cast<int>(id));
        }
    // The numbers stand as given while they name the same categories in this book.
    bool consistent = idsValid;
    for (int id : given)
        if (consistent && categories.FindCategoryById(id) >= 0) {
            const std::string name = categories.NameOfId(id);
            consistent = std::any_of(names.begin(), names.end(),
                                     [&](const std::string& n) { return SameText(n, name); });
        }
    for (const auto& n : names)
        if (consistent)
            consistent = std::any_of(given.begin(), given.end(), [&](int id) {
                return categories.FindCategoryById(id) >= 0 && SameText(categories.NameOfId(id), n);
            });
    if (consistent) {
        for (int id : given)
            e.CategoriesInUse.AddMembership(id);
        for (std::size_t i : lines)
            im.SlotOf[i] = "CATEGORIES";
        for (std::size_t i : idLines)
            im.SlotOf[i] = "XCATEGORIES";
        return;
    }
    bool allFound = true;
    for (const auto& n : names) {
        int at = categories.FindCategoryByName(n);
        if (at < 0 && im.Options.AddCategories)
            at = categories.AddCategory(n, false);
        if (at < 0) {
            allFound = false;
            continue;
        }
        const int id = categories.CategoryId(at);
        if (e.CategoriesInUse.FindMembership(id) < 0)
            e.CategoriesInUse.AddMembership(id);
    }
    // A name the entry could not take keeps its line in the card.
    if (allFound)
        for (std::size_t i : lines)
            im.SlotOf[i] = "CATEGORIES";
}

} // namespace

TVCard EntryToVCard(const TRecord& entry, const TBookData& book, int version) {
    TVCard card;
    card.Version = version == kVCard40 ? kVCard40 : kVCard30;
    const auto kept = KeptOfNotes(entry.Notes());
    const auto emit = [&](const std::string& line) {
        card.Properties.push_back(ParsePropertyLine(line));
    };
    // Each line the entry makes is replaced by the card's own lines of its fingerprint.
    // The card's lines go out in the card's order, whichever of the entry's lines they
    // stand in for: read again, they then fill the same fields as before.
    const std::vector<TGen> generated = Generate(entry, book, card.Version);
    std::vector<bool> used(kept.size(), false);
    std::vector<int> claimed(generated.size(), 0);
    for (std::size_t g = 0; g < generated.size(); ++g)
        for (std::size_t k = 0; k < kept.size(); ++k)
            if (!used[k] && !kept[k].Fingerprint.empty() &&
                kept[k].Fingerprint == generated[g].Fingerprint) {
                used[k] = true;
                ++claimed[g];
            }
    std::size_t next = 0; // the next claimed line of the card, in its order
    for (std::size_t g = 0; g < generated.size(); ++g) {
        if (claimed[g] == 0) {
            emit(generated[g].Line);
            continue;
        }
        for (int c = 0; c < claimed[g]; ++c) {
            while (!used[next])
                ++next;
            emit(kept[next++].Line);
        }
    }
    for (const auto& k : kept)
        if (k.Fingerprint.empty())
            emit(k.Line);
    return card;
}

std::unique_ptr<TRecord> VCardToEntry(const TVCard& given, TBookData& book,
                                      const TVCardImportOptions& options,
                                      std::vector<std::string>* problems) {
    TVCard card = given; // its lines may lose a field parameter that names no field
    // An own list written as one text value (no bare separator) is read as the list
    // it holds; one written bare, as older cards have it, is read as it stands.
    for (auto& p : card.Properties)
        if (IsOwnList(p) && !HasBareSeparator(p.Value))
            p.Value = UnescapeText(p.Value);
    auto entry = std::make_unique<TRecord>();
    entry->Keys = book.IndexKeys;
    TImport im{card, book, *entry, options, problems, {}, {}, {}, {}};
    const std::size_t n = card.Properties.size();
    im.SlotOf.assign(n, std::string());
    const bool hasN = std::any_of(card.Properties.begin(), card.Properties.end(),
                                  [](const TVCardProperty& p) { return p.Is("N"); });
    std::vector<std::size_t> categoryLines;
    std::vector<std::size_t> categoryIdLines;
    std::vector<std::size_t> dayLines;
    // First what the card says of itself: the entry's own properties and its addresses.
    for (std::size_t i = 0; i < n; ++i) {
        const TVCardProperty& p = card.Properties[i];
        if (p.Name.size() > 10 && StartsWithNoCase(p.Name, "X-TESSALY-")) {
            if (p.Is("X-TESSALY-CATEGORIES"))
                categoryIdLines.push_back(i);
            else
                ReadTessalyLine(im, i);
        } else if (p.Is("N") &&
                   im.SlotOf.end() == std::find(im.SlotOf.begin(), im.SlotOf.end(), "N")) {
            const auto c = SplitStructured(p.Value);
            const auto part = [&](std::size_t k) {
                std::string joined;
                if (k < c.size())
                    for (const auto& v : c[k])
                        if (!v.empty())
                            joined += (joined.empty() ? "" : " ") + v;
                return Local(joined);
            };
            entry->SetNameField(kFieldSurname, part(0));
            entry->SetNameField(kFieldFirstName, part(1));
            entry->SetNameField(kFieldTitle, part(3));
            im.SlotOf[i] = "N";
        } else if (p.Is("FN") &&
                   im.SlotOf.end() == std::find(im.SlotOf.begin(), im.SlotOf.end(), "FN")) {
            if (!hasN)
                entry->SetNameField(kFieldSurname, Local(UnescapeText(p.Value)));
            im.SlotOf[i] = "FN";
        } else if (p.Is("NOTE") &&
                   im.SlotOf.end() == std::find(im.SlotOf.begin(), im.SlotOf.end(), "NOTE")) {
            entry->SetNotes(NotesWithoutKept(Local(UnescapeText(p.Value))));
            im.SlotOf[i] = "NOTE";
        } else if (p.Is("CATEGORIES")) {
            categoryLines.push_back(i);
        } else if (p.Is("BDAY") || p.Is("ANNIVERSARY") || p.Is("X-ANNIVERSARY")) {
            dayLines.push_back(i);
        }
    }
    // The address properties this program wrote, to the fields they came from.
    for (std::size_t i = 0; i < n; ++i) {
        const TVCardProperty& p = card.Properties[i];
        long long k = 0, f = 0;
        if (!IsAddressProperty(p) || p.ParamValues(kFieldParam).empty())
            continue;
        // A field parameter that names no field of this card is dropped, so that the
        // line, kept as the card's own, never lands in a field on a later reading.
        const auto unplaced = [&] {
            TVCardProperty& line = card.Properties[i];
            std::erase_if(line.Params,
                          [](const TVCardParam& q) { return SameText(q.Name, kFieldParam); });
            line.Line = PropertyLine(line);
        };
        const auto a =
            FieldParamOf(p, k, f) ? im.AddressOfNumber.find(k) : im.AddressOfNumber.end();
        if (a == im.AddressOfNumber.end()) {
            unplaced();
            continue;
        }
        const int field = static_cast<int>(f);
        const int fixed = FixedField(p);
        const TTemplate* tpl = TemplateOf(book, entry->Addresses.AddressTemplateId(a->second));
        const std::string value = AddressValue(p);
        // A telephone field takes a TEL whatever it holds; without a template to say
        // which field is for mail, any of the three.
        const bool fits = fixed >= 0
                              ? fixed == field
                              : field >= kFirstPhoneField &&
                                    (!tpl || p.Is("TEL") || KindFits(p, KindOf(tpl, field, value)));
        if (!fits ||
            im.Taken[static_cast<std::size_t>(a->second)][static_cast<std::size_t>(field)]) {
            unplaced();
            continue;
        }
        im.Place(i, a->second, field, value);
        // The line, should it be kept, names the field by the entry's own numbering.
        if (k != a->second + 1) {
            TVCardProperty& line = card.Properties[i];
            for (auto& q : line.Params)
                if (SameText(q.Name, kFieldParam))
                    q.Values = {std::to_string(a->second + 1) + '.' + std::to_string(field)};
            line.Line = PropertyLine(line);
        }
    }
    for (std::size_t i : dayLines)
        ReadDay(im, i, card.Properties[i].Is("BDAY") ? "BDAY" : "ANNIVERSARY");
    ReadCategories(im, categoryLines, categoryIdLines);
    // Then the address properties of other programs, into the fields left.
    for (std::size_t i = 0; i < n; ++i)
        if (im.SlotOf[i].empty() && IsAddressProperty(card.Properties[i]))
            PlaceForeign(im, i);

    // What the entry cannot give back as the card had it is kept in its notes.
    // A line is the entry's own when it is what the entry makes in either version, so
    // that a card keeps the same lines whichever version it was last written in.
    std::map<std::string, const TGen*> made;
    std::map<std::string, std::vector<std::string>> madeLines;
    const auto generated3 = Generate(*entry, book, kVCard30);
    const auto generated4 = Generate(*entry, book, kVCard40);
    for (const TGen& g : card.Version == kVCard40 ? generated4 : generated3)
        made.emplace(g.Slot, &g);
    for (const auto* lines : {&generated3, &generated4})
        for (const TGen& g : *lines)
            madeLines[g.Slot].push_back(g.Line);
    // Lines that share a slot (two CATEGORIES) stand in for the entry's one line
    // together: all are kept when one of them is not the entry's own.
    std::map<std::string, bool> slotKept;
    for (std::size_t i = 0; i < n; ++i) {
        const auto& own = madeLines[im.SlotOf[i]];
        if (!im.SlotOf[i].empty() && im.SlotOf[i] != kDropped &&
            std::find(own.begin(), own.end(), card.Properties[i].Line) == own.end())
            slotKept[im.SlotOf[i]] = true;
    }
    std::vector<TVCardKept> kept;
    for (std::size_t i = 0; i < n; ++i) {
        const TVCardProperty& p = card.Properties[i];
        if (im.SlotOf[i] == kDropped)
            continue;
        const bool ours = StartsWithNoCase(p.Name, "X-TESSALY-");
        const auto g = im.SlotOf[i].empty() ? made.end() : made.find(im.SlotOf[i]);
        if (g == made.end() && ours) {
            // This program's own line that says nothing this entry can hold: it is made
            // again from the entry on the next export.
            if (im.SlotOf[i].empty() && !p.Is("X-TESSALY-CATEGORIES"))
                im.Note("an X-TESSALY property that could not be read was left out: " +
                        p.Line.substr(0, 80));
            continue;
        }
        if (g == made.end())
            kept.push_back({std::string(), p.Line});
        else if (slotKept[g->first] &&
                 (!ours || std::any_of(p.Line.begin(), p.Line.end(), [](char c) {
                     return static_cast<unsigned char>(c) >= 0x80;
                 })))
            // This program's own lines are kept only for the characters the entry
            // cannot hold; their numbers are made again as the entry has them.
            kept.push_back({g->second->Fingerprint, p.Line});
    }
    int dropped = 0;
    entry->SetNotes(NotesWithKept(entry->Notes(), kept, &dropped));
    if (dropped)
        im.Note(std::to_string(dropped) +
                " properties did not fit in the entry's notes and were left out");
    return entry;
}

} // namespace tessaly
