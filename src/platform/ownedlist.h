#pragma once

#include <memory>
#include <vector>

// An ordered list that owns its elements. Elements keep their address while they live, so
// lists in the windows may point at them. Index errors are not errors here: an operation on
// an index out of range does nothing and says so by its result.
template<typename T>
class OwnedList
{
public:
    OwnedList() = default;
    OwnedList(const OwnedList &other) { Assign(other); }
    OwnedList &operator=(const OwnedList &other)
    {
        Assign(other);
        return *this;
    }
    OwnedList(OwnedList &&) noexcept = default;
    OwnedList &operator=(OwnedList &&) noexcept = default;

    int Count() const { return int(m_items.size()); }

    // nullptr when index is out of range.
    T *Items(int index) { return inRange(index) ? m_items[size_t(index)].get() : nullptr; }
    const T *Items(int index) const { return inRange(index) ? m_items[size_t(index)].get() : nullptr; }

    T &Add()
    {
        m_items.push_back(std::make_unique<T>());
        return *m_items.back();
    }

    // A new element at index (0 to Count); nullptr when index is out of range.
    T *Insert(int index)
    {
        if (index < 0 || index > Count())
            return nullptr;
        return m_items.insert(m_items.begin() + index, std::make_unique<T>())->get();
    }

    // Takes the element out and puts it back at to; the others keep their order.
    bool Move(int from, int to)
    {
        if (!inRange(from) || !inRange(to))
            return false;
        auto item = std::move(m_items[size_t(from)]);
        m_items.erase(m_items.begin() + from);
        m_items.insert(m_items.begin() + to, std::move(item));
        return true;
    }

    bool Delete(int index)
    {
        if (!inRange(index))
            return false;
        m_items.erase(m_items.begin() + index);
        return true;
    }

    void Clear() { m_items.clear(); }

    // Replaces the elements with copies of other's.
    void Assign(const OwnedList &other)
    {
        if (this == &other)
            return;
        std::vector<std::unique_ptr<T>> copies;
        copies.reserve(other.m_items.size());
        for (const auto &item : other.m_items)
            copies.push_back(std::make_unique<T>(*item));
        m_items = std::move(copies);
    }

    bool operator==(const OwnedList &other) const
    {
        if (Count() != other.Count())
            return false;
        for (size_t i = 0; i < m_items.size(); ++i) {
            if (!(*m_items[i] == *other.m_items[i]))
                return false;
        }
        return true;
    }

private:
    bool inRange(int index) const { return index >= 0 && index < Count(); }

    std::vector<std::unique_ptr<T>> m_items;
};
