#include "core/store/category.h"

#include "core/common/same_text.h"
#include "core/store/template.h"

#include <algorithm>

namespace tessaly {

TCategory::TCategory(std::string_view name, int id, bool isDefault)
    : Id(static_cast<std::int16_t>(id)), Default(isDefault ? 1 : 0) {
    SetName(name);
}

void TCategory::SetName(std::string_view name) {
    Name = CleanShort(name);
}

std::unique_ptr<TCategory> TCategory::Read(TStreamReader& r, int /*version*/) {
    auto c = std::make_unique<TCategory>();
    r.ReadTextInto(c->Name);
    c->Id = r.ReadInt16();
    c->Default = r.ReadByte();
    return c;
}

void TCategory::Write(TStreamWriter& w, int /*version*/) const {
    w.WriteText(Name);
    w.WriteInt16(Id);
    w.WriteByte(Default);
}

int TCategoryList::AddCategory(std::string_view name, bool isDefault) {
    // The counter only grows: at the last number, or damaged, it gives no more.
    const int next = NextId;
    if (next < 0 || next >= kMaxItemId)
        return -1;
    Add(std::make_unique<TCategory>(name, next, isDefault));
    NextId = static_cast<std::int16_t>(next + 1);
    return Count() - 1;
}

bool TCategoryList::UpdateCategory(int i, std::string_view name, bool isDefault) {
    TCategory* c = At(i);
    if (!c)
        return false;
    c->SetName(name);
    c->Default = isDefault ? 1 : 0;
    return true;
}

bool TCategoryList::SetDeleted(int i, bool deleted) {
    TCategory* c = At(i);
    if (!c)
        return false;
    c->Deleted = deleted ? 1 : 0;
    if (deleted)
        c->Default = 0;
    return true;
}

void TCategoryList::PurgeCategories() {
    std::erase_if(items_, [](const std::unique_ptr<TCategory>& c) { return !c || c->Deleted; });
}

TCategoryList TCategoryList::Copy() const {
    TCategoryList copy(*this); // NextId comes along
    copy.PurgeCategories();
    return copy;
}

int TCategoryList::FindCategoryByName(std::string_view name) const {
    for (int i = 0; i < Count(); ++i)
        if (SameText(TextValue(At(i)->Name), name))
            return i;
    return -1;
}

int TCategoryList::FindCategoryById(int id) const {
    for (int i = 0; i < Count(); ++i)
        if (At(i)->Id == id)
            return i;
    return -1;
}

std::string TCategoryList::NameOfId(int id) const {
    return CategoryName(FindCategoryById(id));
}

int TCategoryList::CategoryId(int i) const {
    const TCategory* c = At(i);
    return c ? c->Id : -1;
}

std::string TCategoryList::CategoryName(int i) const {
    const TCategory* c = At(i);
    return c ? c->Name.str() : std::string();
}

int TCategoryList::CategoryDefault(int i) const {
    const TCategory* c = At(i);
    return c ? c->Default : 0;
}

int TCategoryList::CategoryDeleted(int i) const {
    const TCategory* c = At(i);
    return c ? c->Deleted : 0;
}

TCategoryList TCategoryList::Defaults() {
    TCategoryList list;
    list.AddCategory("Business", false);
    list.AddCategory("Personal", false);
    return list;
}

void TCategoryList::Read(TStreamReader& r, int version) {
    NextId = r.ReadInt16();
    ReadItems(r, version);
}

void TCategoryList::Write(TStreamWriter& w, int version) const {
    w.WriteInt16(NextId);
    WriteItems(w, version);
}

std::unique_ptr<TCategoryInUse> TCategoryInUse::Read(TStreamReader& r, int /*version*/) {
    return std::make_unique<TCategoryInUse>(r.ReadInt16());
}

void TCategoryInUse::Write(TStreamWriter& w, int /*version*/) const {
    w.WriteInt16(CategoryId);
}

int TCategoryInUseList::AddMembership(int id) {
    Add(std::make_unique<TCategoryInUse>(id));
    return Count() - 1;
}

int TCategoryInUseList::Membership(int i) const {
    const TCategoryInUse* m = At(i);
    return m ? m->CategoryId : -1;
}

int TCategoryInUseList::FindMembership(int id) const {
    for (int i = 0; i < Count(); ++i)
        if (At(i)->CategoryId == id)
            return i;
    return -1;
}

} // namespace tessaly
