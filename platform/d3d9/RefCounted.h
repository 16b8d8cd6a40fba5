// Reference counting for the realisations of the Direct3D-style interfaces,
// and a small owning pointer for our own code that holds such objects.
#pragma once

#include <utility>

#include "wintypes.h"

// Implements AddRef/Release of Interface: the object starts with one
// reference (the creator's) and deletes itself when the last is released.
template <class Interface>
class RefCounted : public Interface
{
public:
    ULONG AddRef() override { return ++m_RefCount; }
    ULONG Release() override
    {
        const ULONG count = --m_RefCount;
        if (count == 0)
            delete this;
        return count;
    }

protected:
    RefCounted() = default;
    ~RefCounted() override = default;

private:
    ULONG m_RefCount = 1;
};

// Holds one reference; releases it when destroyed or reset.
template <class T>
class ComPtr
{
public:
    ComPtr() = default;
    ComPtr(std::nullptr_t) {}
    // Takes over a reference the caller already holds.
    explicit ComPtr(T* adopted) : m_Ptr(adopted) {}
    ComPtr(const ComPtr& other) : m_Ptr(other.m_Ptr)
    {
        if (m_Ptr)
            m_Ptr->AddRef();
    }
    ComPtr(ComPtr&& other) noexcept : m_Ptr(std::exchange(other.m_Ptr, nullptr)) {}
    ComPtr& operator=(ComPtr other) noexcept
    {
        std::swap(m_Ptr, other.m_Ptr);
        return *this;
    }
    ~ComPtr() { Reset(); }

    void Reset()
    {
        if (T* p = std::exchange(m_Ptr, nullptr))
            p->Release();
    }
    // For out-parameters of Create/Get calls: releases what is held first.
    T** Out()
    {
        Reset();
        return &m_Ptr;
    }
    T* Get() const { return m_Ptr; }
    T* operator->() const { return m_Ptr; }
    explicit operator bool() const { return m_Ptr != nullptr; }

private:
    T* m_Ptr = nullptr;
};
