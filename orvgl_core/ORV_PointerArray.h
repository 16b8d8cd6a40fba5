#pragma once

#include "ORV_Array.h"

// Array of pointers (T is a pointer type) that may own what they point to.
// An owning array deletes every element when it is destroyed. RemoveAt
// deletes the removed object whether or not the array owns its elements.
// Copying a pointer array is forbidden: two owning copies would delete the
// same objects twice. Assigning from a plain ORV_Array of pointers still
// copies the pointers.
template <typename T>
class ORV_PointerArray : public ORV_Array<T>
{
public:
    explicit ORV_PointerArray(bool owns) : m_Owns(owns) {}

    ORV_PointerArray(const ORV_PointerArray&) = delete;
    ORV_PointerArray& operator=(const ORV_PointerArray&) = delete;
    using ORV_Array<T>::operator=;

    ~ORV_PointerArray() override
    {
        if (!m_Owns)
            return;
        for (T element : this->m_Array)
            delete element;
    }

    void RemoveAt(int index) override
    {
        assert(index >= 0 && index < this->Count());
        if (index < 0 || index >= this->Count())
            return;
        T element = this->m_Array[static_cast<std::size_t>(index)];
        ORV_Array<T>::RemoveAt(index);
        delete element;
    }

    bool OwnsElements() const { return m_Owns; }

private:
    bool m_Owns;
};
