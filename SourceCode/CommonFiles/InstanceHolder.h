// Holder of a process-wide engine object: made by the first Get, deleted when the process
// ends. The holder is built on that first call, so it is destroyed after every static object
// that was complete before the first call and never before an object that used it while being
// built. A caller that comes after the holder is gone (another static object's destructor)
// gets null instead of a deleted object.
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
        if (holder.m_instance == nullptr)
            holder.m_instance = new (std::nothrow) T();
        return holder.m_instance;
    }

private:
    CInstanceHolder() = default;
    ~CInstanceHolder()
    {
        delete m_instance;
        m_instance = nullptr;
        s_gone = true;
    }

    T* m_instance = nullptr;
    // Outside the holder, so it may be read after the holder's destruction.
    inline static bool s_gone = false;
};
