#pragma once
// TCategory: a named group of entries; TCategoryList holds a book's categories with
// the counter that numbers new ones. TCategoryInUse is one membership (a category
// number), held by entries and by saved searches.

#include "core/store/my_list.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace tessaly {

class TCategory {
public:
    Text Name = std::string();
    std::int16_t Id = 0;
    std::uint8_t Default = 0;
    std::uint8_t Deleted = 0; // runtime: marked for deletion, not stored

    TCategory() = default;
    TCategory(std::string_view name, int id, bool isDefault);

    // Names are trimmed and cut to 255 characters.
    void SetName(std::string_view name);

    static std::unique_ptr<TCategory> Read(TStreamReader& r, int version);
    void Write(TStreamWriter& w, int version) const;
    bool operator==(const TCategory&) const = default;
};

class TCategoryList : public TMyList<TCategory> {
public:
    std::int16_t NextId = 0; // number the next new category receives; never goes down

    // Appends a category numbered NextId and advances NextId; returns its index, or
    // -1 (and nothing changes) once NextId has reached 32767.
    int AddCategory(std::string_view name, bool isDefault);
    // Sets the name (trimmed) and the default flag; false for an index out of range.
    bool UpdateCategory(int i, std::string_view name, bool isDefault);
    // Marking a category deleted clears its default flag; false out of range.
    bool SetDeleted(int i, bool deleted);
    // Removes every category marked deleted.
    void PurgeCategories();
    // The list the dialogs edit and commit: categories marked deleted are left out,
    // NextId is kept.
    TCategoryList Copy() const;
    // Case-insensitive; -1 if none.
    int FindCategoryByName(std::string_view name) const;
    // Index of the category with a number, -1 if none.
    int FindCategoryById(int id) const;
    // The name of the category with a number; empty if none.
    std::string NameOfId(int id) const;
    // By index; out of range gives -1, 0 or an empty string.
    int CategoryId(int i) const;
    std::string CategoryName(int i) const;
    int CategoryDefault(int i) const;
    int CategoryDeleted(int i) const;

    // The built-in categories: "Business" (0) and "Personal" (1), NextId 2.
    static TCategoryList Defaults();

    void Read(TStreamReader& r, int version);
    void Write(TStreamWriter& w, int version) const;
    bool operator==(const TCategoryList& o) const { return NextId == o.NextId && ItemsEqual(o); }
};

class TCategoryInUse {
public:
    std::int16_t CategoryId = 0;

    TCategoryInUse() = default;
    explicit TCategoryInUse(int id) : CategoryId(static_cast<std::int16_t>(id)) {}

    static std::unique_ptr<TCategoryInUse> Read(TStreamReader& r, int version);
    void Write(TStreamWriter& w, int version) const;
    bool operator==(const TCategoryInUse&) const = default;
};

class TCategoryInUseList : public TMyList<TCategoryInUse> {
public:
    // Appends a membership; returns its index.
    int AddMembership(int id);
    // The category number at an index, -1 when out of range.
    int Membership(int i) const;
    // Index of a category number, -1 if absent.
    int FindMembership(int id) const;

    void Read(TStreamReader& r, int version) { ReadItems(r, version); }
    void Write(TStreamWriter& w, int version) const { WriteItems(w, version); }
};

} // namespace tessaly
