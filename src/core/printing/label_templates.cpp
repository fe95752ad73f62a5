#include "core/printing/label_templates.h"

#include "core/common/codepage.h"
#include "core/common/same_text.h"
#include "core/common/text.h"
#include "core/printing/xml_tags.h"
#include "core/system/file_io.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <filesystem>
#include <map>
#include <optional>
#include <set>

namespace tessaly {

const char kLabelTemplateFolder[] = "/usr/share/libglabels-3.0/templates";

namespace {

// A database file larger than this is not a label-template file.
constexpr std::size_t kMaxTemplateFile = 16u << 20;
constexpr int kMaxGrid = 1000;

struct TPageSize {
    const char* Id;
    int Code;
    double Width, Height;
};

// The page sizes the templates name, with the printing system's paper codes.
constexpr TPageSize kPageSizes[] = {
    {"A4", 9, 210, 297},
    {"US-Letter", 1, 215.9, 279.4},
    {"US-Legal", 5, 215.9, 355.6},
    {"A3", 8, 297, 420},
    {"A5", 11, 148, 210},
    {"A6", 70, 105, 148},
    {"US-Executive", 7, 184.15, 266.7},
    {"B4", 42, 250, 353},
};

struct TShape {
    bool Usable = false;
    double Width = 0, Height = 0;
    int Labels = 0, Layouts = 0;
    int Across = 0, Down = 0;
    double X0 = 0, Y0 = 0, Dx = 0, Dy = 0;
};

struct TTemplate {
    std::string Brand, Part, Size, Description, Equiv;
    std::optional<double> Width, Height;
    bool BadSize = false;
    TShape Shape;
};

bool ParseInt(const std::string* text, int& out) {
    if (!text)
        return false;
    const std::string t = Trim(*text);
    const auto r = std::from_chars(t.data(), t.data() + t.size(), out);
    return r.ec == std::errc() && r.ptr == t.data() + t.size();
}

bool Length(const TXmlTag& tag, std::string_view name, double& mm) {
    const std::string* v = tag.Attribute(name);
    return v && ParseTemplateLength(*v, mm);
}

std::string NameOf(const TTemplate& t, const std::string& part) {
    std::string name = Trim(t.Brand);
    for (const std::string& piece : {part, t.Description}) {
        const std::string p = Trim(piece);
        if (!p.empty())
            name += (name.empty() ? "" : " ") + p;
    }
    return CutShort(Utf8ToCp1252(name));
}

// The sheet of a finished template, when it is one this program takes.
std::optional<TLabelSheet> SheetOf(const TTemplate& t, const TShape& s, const std::string& part,
                                   const std::string& description) {
    if (!s.Usable || s.Labels != 1 || s.Layouts != 1 || t.BadSize)
        return std::nullopt;
    TLabelSheet sheet;
    const TPageSize* page = nullptr;
    for (const auto& p : kPageSizes)
        if (t.Size == p.Id)
            page = &p;
    if (page) {
        sheet.SystemCode = page->Code;
        sheet.PageWidth = page->Width;
        sheet.PageHeight = page->Height;
    } else if (t.Width && t.Height) {
        sheet.SystemCode = 256;
        sheet.PageWidth = *t.Width;
        sheet.PageHeight = *t.Height;
    } else {
        return std::nullopt;
    }
    if (s.Width <= 0 || s.Height <= 0 || s.Across < 1 || s.Down < 1 || s.Across > kMaxGrid ||
        s.Down > kMaxGrid || sheet.PageWidth <= 0 || sheet.PageHeight <= 0)
        return std::nullopt;
    // A grid of one column or row needs no step; otherwise the step holds the label.
    const double hgap = s.Across > 1 ? s.Dx - s.Width : 0;
    const double vgap = s.Down > 1 ? s.Dy - s.Height : 0;
    constexpr double kSlack = 0.01;
    if (hgap < -kSlack || vgap < -kSlack || s.X0 < -kSlack || s.Y0 < -kSlack)
        return std::nullopt;
    TTemplate named = t;
    named.Description = description;
    sheet.Name = NameOf(named, part);
    if (sheet.Name.empty())
        return std::nullopt;
    sheet.LabelWidth = s.Width;
    sheet.LabelHeight = s.Height;
    sheet.LeftMargin = std::max(0.0, s.X0);
    sheet.TopMargin = std::max(0.0, s.Y0);
    sheet.HorizontalGap = std::max(0.0, hgap);
    sheet.VerticalGap = std::max(0.0, vgap);
    sheet.Across = s.Across;
    sheet.Down = s.Down;
    return sheet;
}

class TReader {
public:
    explicit TReader(std::map<std::string, TTemplate>& known) : known_(known) {}

    void Read(std::string_view xml, std::vector<TLabelSheet>& out) {
        TXmlTags tags(xml);
        TXmlTag tag;
        std::optional<TTemplate> current;
        bool inLabel = false;
        while (tags.Next(tag)) {
            if (tag.Name == "Template") {
                if (tag.End) {
                    if (current)
                        Finish(*current, out);
                    current.reset();
                    inLabel = false;
                    continue;
                }
                current = Begin(tag);
                inLabel = false;
                if (tag.SelfClosing) {
                    Finish(*current, out);
                    current.reset();
                }
                continue;
            }
            if (!current)
                continue;
            TShape& s = current->Shape;
            if (tag.Name.starts_with("Label-")) {
                if (tag.End) {
                    inLabel = false;
                    continue;
                }
                ++s.Labels;
                inLabel = !tag.SelfClosing;
                if (tag.Name == "Label-rectangle") {
                    s.Usable = Length(tag, "width", s.Width) && Length(tag, "height", s.Height);
                } else if (tag.Name == "Label-round") {
                    double r = 0;
                    s.Usable = Length(tag, "radius", r);
                    s.Width = s.Height = 2 * r;
                } else {
                    s.Usable = false;
                }
            } else if (tag.Name == "Layout" && inLabel && !tag.End) {
                ++s.Layouts;
                s.Usable = s.Usable && ParseInt(tag.Attribute("nx"), s.Across) &&
                           ParseInt(tag.Attribute("ny"), s.Down) && Length(tag, "x0", s.X0) &&
                           Length(tag, "y0", s.Y0);
                // One column or row may leave its step out.
                if (!Length(tag, "dx", s.Dx))
                    s.Dx = 0;
                if (!Length(tag, "dy", s.Dy))
                    s.Dy = 0;
            }
        }
    }

private:
    static TTemplate Begin(const TXmlTag& tag) {
        TTemplate t;
        const auto text = [&tag](const char* name) {
            const std::string* v = tag.Attribute(name);
            return v ? *v : std::string();
        };
        t.Brand = text("brand");
        t.Part = text("part");
        t.Size = text("size");
        t.Equiv = text("equiv");
        t.Description = tag.Attribute("_description") ? text("_description") : text("description");
        double w = 0, h = 0;
        if (tag.Attribute("width"))
            t.BadSize |= !Length(tag, "width", w);
        if (tag.Attribute("height"))
            t.BadSize |= !Length(tag, "height", h);
        if (tag.Attribute("width"))
            t.Width = w;
        if (tag.Attribute("height"))
            t.Height = h;
        return t;
    }

    void Finish(const TTemplate& t, std::vector<TLabelSheet>& out) {
        const std::string key = t.Brand + '\n' + t.Part;
        if (!t.Equiv.empty()) {
            const auto original = known_.find(t.Brand + '\n' + t.Equiv);
            if (original == known_.end())
                return;
            if (auto sheet = SheetOf(original->second, original->second.Shape, t.Part,
                                     original->second.Description))
                out.push_back(std::move(*sheet));
            return;
        }
        known_[key] = t;
        if (auto sheet = SheetOf(t, t.Shape, t.Part, t.Description))
            out.push_back(std::move(*sheet));
    }

    std::map<std::string, TTemplate>& known_;
};

} // namespace

bool ParseTemplateLength(std::string_view text, double& millimetres) {
    const std::string t = Trim(text);
    double value = 0;
    const auto r = std::from_chars(t.data(), t.data() + t.size(), value);
    if (r.ec != std::errc() || !std::isfinite(value))
        return false;
    const std::string_view unit(r.ptr, static_cast<std::size_t>(t.data() + t.size() - r.ptr));
    double factor = 0;
    if (unit.empty() || unit == "pt")
        factor = 25.4 / 72;
    else if (unit == "mm")
        factor = 1;
    else if (unit == "cm")
        factor = 10;
    else if (unit == "in")
        factor = 25.4;
    else if (unit == "pc")
        factor = 25.4 / 6;
    else
        return false;
    millimetres = value * factor;
    return true;
}

std::vector<TLabelSheet> ReadLabelTemplates(std::string_view xml) {
    std::map<std::string, TTemplate> known;
    std::vector<TLabelSheet> out;
    TReader(known).Read(xml, out);
    return out;
}

std::vector<TLabelSheet> ReadLabelTemplateFolder(const std::string& folder) {
    std::vector<std::string> names;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end;
         it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.ends_with("-templates.xml"))
            names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    std::map<std::string, TTemplate> known;
    std::vector<TLabelSheet> sheets;
    std::set<std::string> seen;
    for (const auto& name : names) {
        std::vector<std::uint8_t> bytes;
        const std::string path = (std::filesystem::path(folder) / name).string();
        TFileStat st;
        if (RealFileSystem().Stat(path, st) != 0 ||
            st.Size > static_cast<std::int64_t>(kMaxTemplateFile))
            continue;
        if (!ReadWholeFile(path, bytes).Ok)
            continue;
        std::vector<TLabelSheet> read;
        TReader(known).Read(
            std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()), read);
        for (auto& sheet : read) {
            if (seen.insert(UpperCase1252(sheet.Name)).second)
                sheets.push_back(std::move(sheet));
        }
    }
    return sheets;
}

} // namespace tessaly
