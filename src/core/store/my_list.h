#pragma once
// TMyList: the owning list every stored class has. It owns its items, copies deeply,
// and reads and writes itself as an int16 count followed by the items.
//
// An item class T provides:
//   static std::unique_ptr<T> Read(TStreamReader&, int version);
//   void Write(TStreamWriter&, int version) const;
//   a copy constructor and operator==.

#include "core/store/stream.h"

#include <algorithm>
#include <memory>
#include <utility>
#include <vector>

namespace tessaly {

template <class T> class TMyList {
public:
    TMyList() = default;
    TMyList(const TMyList& other) { CopyItemsFrom(other); }
    TMyList& operator=(const TMyList& other) {
        if (this != &other)
            CopyItemsFrom(other);
        return *this;
    }
    TMyList(TMyList&&) noexcept = default;
    TMyList& operator=(TMyList&&) noexcept = default;
    virtual ~TMyList() = default;

    int Count() const { return static_cast<int>(items_.size()); }
    bool Empty() const { return items_.empty(); }
    bool InRange(int i) const { return i >= 0 && i < Count(); }

    // The item at an index, or nullptr when the index is out of range.
    T* At(int i) const { return InRange(i) ? items_[static_cast<std::size_t>(i)].get() : nullptr; }

    T* Add(std::unique_ptr<T> item) {
        items_.push_back(std::move(item));
        return items_.back().get();
    }
    T* Insert(int i, std::unique_ptr<T> item) {
        i = std::clamp(i, 0, Count());
        return items_.insert(items_.begin() + i, std::move(item))->get();
    }
    // Removes and frees the item at an index; out of range does nothing.
    void Delete(int i) {
        if (InRange(i))
            items_.erase(items_.begin() + i);
    }
    // Removes the item at an index and hands it to the caller.
    std::unique_ptr<T> Extract(int i) {
        if (!InRange(i))
            return nullptr;
        auto item = std::move(items_[static_cast<std::size_t>(i)]);
        items_.erase(items_.begin() + i);
        return item;
    }
    // Moves the item at `from` so that it stands at `to`; out of range does nothing.
    void Move(int from, int to) {
        if (!InRange(from) || !InRange(to) || from == to)
            return;
        auto item = std::move(items_[static_cast<std::size_t>(from)]);
        items_.erase(items_.begin() + from);
        items_.insert(items_.begin() + to, std::move(item));
    }
    int IndexOf(const T* item) const {
        for (std::size_t i = 0; i < items_.size(); ++i)
            if (items_[i].get() == item)
                return static_cast<int>(i);
        return -1;
    }
    void Clear() { items_.clear(); }
    // Drops the empty slots, as is done before every write.
    void Pack() {
        std::erase_if(items_, [](const std::unique_ptr<T>& p) { return p == nullptr; });
    }

    auto begin() const { return items_.begin(); }
    auto end() const { return items_.end(); }

    // Writes the count and the items (empty slots are not written).
    void WriteItems(TStreamWriter& w, int version) const {
        std::size_t count = 0;
        for (const auto& item : items_)
            if (item)
                ++count;
        w.WriteCount(count);
        for (const auto& item : items_)
            if (item)
                item->Write(w, version);
    }
    // Replaces the items by those read from the stream.
    void ReadItems(TStreamReader& r, int version) {
        struct TNoWatch {
            bool Keeps() const { return true; }
            void Begin(std::size_t) {}
            void Read(T&) {}
        } none;
        ReadItemsWatched(r, version, none);
    }
    // The same, with `watch.Begin(count)` called once the count is known and
    // `watch.Read(item)` for each item as soon as it is read; `watch.Keeps()` false
    // drops each item once the watch has seen it. The items kept stay where they are
    // while the list is read, as room for all of them is made first.
    template <class Watch> void ReadItemsWatched(TStreamReader& r, int version, Watch& watch) {
        ReadItemsWatchedWith(r, watch,
                             [version](TStreamReader& in, int) { return T::Read(in, version); });
    }
    // The same with each item read by `read(r, i)`, for i from 0.
    template <class Watch, class ReadOne>
    void ReadItemsWatchedWith(TStreamReader& r, Watch& watch, ReadOne read) {
        items_.clear();
        const int count = r.ReadCount();
        const bool keep = watch.Keeps();
        if (keep)
            items_.reserve(static_cast<std::size_t>(count));
        watch.Begin(static_cast<std::size_t>(count));
        for (int i = 0; i < count; ++i) {
            items_.push_back(read(r, i));
            if (items_.back())
                watch.Read(*items_.back());
            // A watch that keeps no items has each one dropped as soon as it is read.
            if (!keep)
                items_.pop_back();
        }
    }

    bool ItemsEqual(const TMyList& other) const {
        return std::equal(items_.begin(), items_.end(), other.items_.begin(), other.items_.end(),
                          [](const auto& a, const auto& b) { return a && b ? *a == *b : a == b; });
    }
    bool operator==(const TMyList& other) const { return ItemsEqual(other); }

protected:
    std::vector<std::unique_ptr<T>> items_;

private:
    void CopyItemsFrom(const TMyList& other) {
        std::vector<std::unique_ptr<T>> copy;
        copy.reserve(other.items_.size());
        for (const auto& item : other.items_)
            if (item)
                copy.push_back(std::make_unique<T>(*item));
        items_ = std::move(copy);
    }
};

} // namespace tessaly
