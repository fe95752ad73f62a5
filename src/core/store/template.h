#pragma once
// TTemplate: template 0 names the ten name fields of every entry; every further
// template lays out one kind of address. TTemplateList holds them with the counter
// that numbers new templates and the index new templates are based on.

#include "store/my_list.h"

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
