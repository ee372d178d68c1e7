// Holder of a process-wide engine object: made by the first Get, deleted when the process
// ends. The object is made inside the holder's constructor, so the process-wide objects it takes
// while being built (the log manager) are complete first and outlive it. A caller that comes
// after the holder is gone (another static object's destructor) gets null instead of a deleted
// object.
#pragma once

#include <new>

template <class T>
class CInstanceHolder {
public:
    CInstanceHolder(const CInstanceHolder&) = delete;
    CInstanceHolder& operator=(const CInstanceHolder&) = delete;

    // Null once the holder is gone or when the object cannot be allocated.
    static T* Get()
    {
        if (s_gone)
            return nullptr;
        static CInstanceHolder holder;
        return holder.m_instance;
    }

private:
    CInstanceHolder() : m_instance(new (std::nothrow) T()) {}
    ~CInstanceHolder()
    {
        delete m_instance;
        m_instance = nullptr;
        s_gone = true;
    }

    T* m_instance;
    // Outside the holder, so it may be read after the holder's destruction.
    inline static bool s_gone = false;
};
