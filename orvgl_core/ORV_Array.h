#pragma once

#include <algorithm>
#include <cassert>
#include <vector>

// Growable array of values, a thin polymorphic wrapper over std::vector.
// Elements keep insertion order; indices run from 0. Index checking is the
// caller's job (out-of-range indices are asserted, not reported).
template <typename T>
class ORV_Array
{
public:
    ORV_Array() = default;
    ORV_Array(const ORV_Array& other) = default;

    virtual ~ORV_Array() = default;

    // Replaces the contents with a copy of other's elements.
    virtual ORV_Array<T>& operator=(const ORV_Array<T>& other)
    {
        if (this != &other)
            m_Array = other.m_Array;
        return *this;
    }

    // Erases the element at index; later elements move down by one.
    virtual void RemoveAt(int index)
    {
        assert(index >= 0 && index < Count());
        if (index < 0 || index >= Count())
            return;
        m_Array.erase(m_Array.begin() + index);
    }

    int Count() const { return static_cast<int>(m_Array.size()); }

    void Add(const T& element) { m_Array.push_back(element); }

    // Inserts before index; an index at or past the end appends (and a
    // negative one inserts at the front rather than writing out of bounds).
    void InsertAt(int index, const T& element)
    {
        const int at = index < 0 ? 0 : (index > Count() ? Count() : index);
        // Append, then rotate into place: the same result as vector::insert,
        // without the spurious overflow warning g++ 12 gives for insert.
        m_Array.push_back(element);
        std::rotate(m_Array.begin() + at, m_Array.end() - 1, m_Array.end());
    }

    T& operator[](int index)
    {
        assert(index >= 0 && index < Count());
        return m_Array[static_cast<std::size_t>(index)];
    }

    const T& operator[](int index) const
    {
        assert(index >= 0 && index < Count());
        return m_Array[static_cast<std::size_t>(index)];
    }

protected:
    std::vector<T> m_Array;
};
