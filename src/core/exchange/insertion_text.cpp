#include "core/exchange/insertion_text.h"

#include "core/organise/entry_text.h"

#include <algorithm>

namespace tessaly {

namespace {

constexpr int kAddressCode = 20 + kFieldAddress;
constexpr int kFirstPhoneCode = 20 + kFirstPhoneField;
constexpr int kLastPhoneCode = kFirstPhoneCode + kPhoneFields - 1;
constexpr const char* kLineBreak = "\r\n";

// A text that takes no more than its capacity.
class TCappedText {
public:
    explicit TCappedText(std::size_t capacity) : capacity_(capacity) {}
    void Append(std::string_view s) {
        if (text_.size() < capacity_)
            text_.append(s.substr(0, capacity_ - text_.size()));
    }
    // Whether a field has been taken, empty or not: with blank fields kept, a field
    // with no value still has its line.
    bool Started() const { return started_; }
    void Start() { started_ = true; }
    const std::string& Str() const { return text_; }

private:
    std::size_t capacity_;
    std::string text_;
    bool started_ = false;
};

struct TInsertion {
    const TTemplate* Template = nullptr;
    bool Blanks = false;
    bool Labels = false;
    int Previous = -1;

    // A single-line field value.
    void AppendField(TCappedText& out, int id, std::string_view value) {
        if (value.empty() && !Blanks)
            return;
        if (id < 3 && Previous >= 0 && Previous <= 2)
            out.Append(" ");
        else if (out.Started())
            out.Append(kLineBreak);
        out.Start();
        Previous = id;
        if (id >= kFirstPhoneCode && id <= kLastPhoneCode && Template &&
            Template->ShownAt(id - 16) == 1 && Labels) {
            out.Append(Template->Caption(id - 20));
            out.Append(":\t");
        }
        out.Append(value);
    }

    std::string AddressBlock(const TAddress* address) const {
        const std::string freeform = address ? address->Field(kFieldAddress) : std::string();
        const int format = Template ? Template->AddressFormat : kFormatFreeform;
        if (format != kFormatSeparate && format != kFormatUK && format != kFormatUS)
            return freeform;
        std::string lines[5];
        for (int n = 0; n < 5; ++n)
            lines[n] = AddressLine(freeform, n + 1);
        TCappedText block(kAddressBlockCapacity);
        TInsertion inner{Template, Blanks, false, -1};
        if (format == kFormatUS) {
            inner.AppendField(block, kAddressCode, lines[0]);
            inner.AppendField(block, kAddressCode, lines[1]);
            std::string state = lines[3];
            if (state.empty() || state.back() != ',')
                state += ',';
            inner.AppendField(block, kAddressCode, lines[2] + "  " + state + "  " + lines[4]);
        } else {
            for (const std::string& line : lines)
                inner.AppendField(block, kAddressCode, line);
        }
        return block.Str();
    }
};

} // namespace

std::string InsertionText(const TRecord& entry, const TAddress* address, const TTemplate* tmpl,
                          const TIndexList& fields, bool blankFields, bool labelPhoneFields) {
    TCappedText out(kInsertionCapacity);
    TInsertion ins{tmpl, blankFields, labelPhoneFields, -1};
    for (const TIndex& key : fields) {
        const int id = key.Code;
        if (id == kFieldNotes) {
            const std::string_view notes = entry.Notes();
            if (notes.empty() && !blankFields)
                continue;
            if (out.Started())
                out.Append(kLineBreak);
            out.Start();
            ins.Previous = kFieldNotes;
            out.Append(notes);
        } else if (id == kAddressCode) {
            const std::string block = ins.AddressBlock(address);
            if (block.empty() && !blankFields)
                continue;
            if (out.Started())
                out.Append(kLineBreak);
            out.Start();
            ins.Previous = kAddressCode;
            out.Append(block);
        } else if (id >= 20) {
            ins.AppendField(out, id, address ? address->Field(id - 20) : std::string());
        } else {
            ins.AppendField(out, id, entry.NameField(id));
        }
    }
    if (!out.Started())
        return std::string();
    out.Append(kLineBreak);
    return out.Str();
}

std::string InsertionText(const TBookData& book, const TRecord& entry, const TAddress* address,
                          const TTemplate* tmpl) {
    return InsertionText(entry, address, tmpl, book.InsertFields, book.InsertBlankFields != 0,
                         book.LabelPhoneFields != 0);
}

} // namespace tessaly
