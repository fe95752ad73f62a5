#pragma once
// TTemplate: template 0 names the ten name fields of every entry; every further
// template lays out one kind of address. TTemplateList holds them with the counter
// that numbers new templates and the index new templates are based on.

#include "core/store/my_list.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace tessaly {

constexpr int kTemplateCaptions = 10;
constexpr int kTemplateShown = 11;
constexpr int kTemplateButtons = 4;

// Address formats.
constexpr int kFormatFreeform = 0;
constexpr int kFormatSeparate = 1;
constexpr int kFormatUS = 2;
constexpr int kFormatUK = 3;

// Kinds of the button beside a telephone field.
constexpr int kButtonNone = 0;
constexpr int kButtonDial = 1;
constexpr int kButtonMail = 2;

// The highest template or category number; a list whose NextId has reached it
// takes no new item, so numbers never wrap and are never reused.
constexpr int kMaxItemId = 32767;

// The values the template dialog edits: the name, ten captions (an address template
// uses 0-6), the shown flags of fields 0-6, include-for-new, the address format and
// the four button kinds.
struct TTemplateValues {
    std::string Name;
    std::array<std::string, kTemplateCaptions> Captions;
    std::array<std::uint8_t, 7> Shown{1, 1, 1, 1, 1, 1, 1};
    bool IncludeForNew = false;
    int AddressFormat = kFormatFreeform;
    std::array<int, kTemplateButtons> ButtonKinds{};
    bool operator==(const TTemplateValues&) const = default;
};

// The button kind after one click on a telephone field's button: none, dial, mail,
// none again.
int NextButtonKind(int kind);

class TTemplate {
public:
    Text Name = std::string();
    std::array<Text, kTemplateCaptions> Captions;
    std::array<std::uint8_t, kTemplateShown> Shown{};
    std::array<std::int16_t, kTemplateButtons> ButtonKinds{};
    std::int16_t Id = 0;
    std::uint8_t IncludeForNew = 0;
    std::uint8_t Deleted = 0; // runtime: marked for deletion, not stored
    std::uint8_t TemplateFlag = 0;
    std::int16_t AddressFormat = kFormatFreeform;

    // Empty captions, fields 0-9 shown, entry 10 not.
    TTemplate();
    explicit TTemplate(int id);

    // Names and captions are trimmed and cut to 255 characters.
    void SetName(std::string_view name);
    void SetCaption(int i, std::string_view caption); // ignored out of 0-9
    std::string Caption(int i) const;                 // empty out of 0-9
    int ShownAt(int i) const;                         // 0 out of 0-10
    int ButtonKind(int i) const;                      // 0 out of 0-3

    static std::unique_ptr<TTemplate> Read(TStreamReader& r, int version);
    void Write(TStreamWriter& w, int version) const;
    bool operator==(const TTemplate&) const = default;
};

class TTemplateList : public TMyList<TTemplate> {
public:
    std::int16_t NextId = 0;    // number the next new template receives
    std::int16_t BaseIndex = 0; // list index of the template new ones are based on

    // Index of the template with a number, searching from index 1; -1 if none.
    int FindTemplateById(int id) const;
    // Case-insensitive, from index 1; -1 if none.
    int FindTemplateByName(std::string_view name) const;
    // By index; out of range gives -1 or an empty string.
    int TemplateId(int i) const;
    std::string TemplateName(int i) const;
    // The template with a number (from index 1), nullptr if none.
    TTemplate* TemplateOfId(int id) const { return At(FindTemplateById(id)); }

    // Appends a template numbered NextId with the given values and advances NextId;
    // returns its index, or -1 (and nothing changes) once NextId has reached 32767.
    int AddTemplate(const TTemplateValues& values);
    // Sets the name, include-for-new (by the rule of SetIncludeForNew), the deleted
    // mark (by SetDeleted), the format, the ten captions, shown flags 0-6 and the
    // button kinds. False (nothing changes) for an index out of range.
    bool UpdateTemplate(int i, const TTemplateValues& values, bool deleted);
    // The values of the template at an index, as the dialog starts from them; the
    // values of a new template for an index out of range.
    TTemplateValues ValuesOf(int i) const;
    // The values a new template starts with: those of the template at BaseIndex,
    // without its name.
    TTemplateValues NewTemplateValues() const;

    // By index; out of range gives 0, an empty string or nothing.
    std::string TemplateCaption(int i, int field) const;
    int TemplateShown(int i, int field) const;
    int TemplateIncludeForNew(int i) const;
    int TemplateDeleted(int i) const;
    int TemplateFormat(int i) const;

    // Setting the flag just sets it. Clearing it clears it and, when no template from
    // index 1 on that is not marked deleted still has it, gives it to index 1, so new
    // entries always get at least one address.
    void SetIncludeForNew(int i, bool include);
    // Marking clears the include flag first (by the rule above) and moves the base to
    // index 1 when the base is marked. Template 0 and index 1 are never marked:
    // false for them and for an index out of range.
    bool SetDeleted(int i, bool deleted);
    // The base of new templates; ignored unless 1 <= i < Count().
    void SetBaseIndex(int i);
    // Removes every template marked deleted. BaseIndex keeps naming the same template,
    // or index 1 when that one went.
    void PurgeTemplates();
    // The list the dialogs edit and commit: the templates marked deleted are left out,
    // NextId is kept and BaseIndex follows its template.
    TTemplateList Copy() const;

    // The built-in templates: the name-field template and "Address 1"; NextId 2,
    // BaseIndex 1.
    static TTemplateList Defaults();

    void Read(TStreamReader& r, int version);
    void Write(TStreamWriter& w, int version) const;
    bool operator==(const TTemplateList& o) const {
        return NextId == o.NextId && BaseIndex == o.BaseIndex && ItemsEqual(o);
    }
};

} // namespace tessaly
