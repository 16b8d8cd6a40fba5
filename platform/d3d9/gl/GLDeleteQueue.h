// GL object names waiting to be deleted. GL calls need the context current;
// an object freed while no window can make it current (a texture released
// after the last view is gone) waits here until the device next makes the
// context current.
#pragma once

#include <cstddef>
#include <functional>
#include <vector>

class GLDeleteQueue
{
public:
    enum class Kind { Texture, Buffer, Framebuffer, Renderbuffer, Program };

    void Add(Kind kind, unsigned int name);
    // Deletes every queued name and tells deleted about each; the context
    // must be current.
    void Flush(const std::function<void(Kind, unsigned int)>& deleted);
    // Forgets every queued name without a GL call (the context is gone).
    void Drop() { m_Entries.clear(); }
    std::size_t Size() const { return m_Entries.size(); }

    // Deletes one object now; the context must be current.
    static void DeleteNow(Kind kind, unsigned int name);

private:
    struct Entry
    {
        Kind kind;
        unsigned int name;
    };
    std::vector<Entry> m_Entries;
};
