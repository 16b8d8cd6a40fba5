#include "GLDeleteQueue.h"

#include "GLApi.h"

void GLDeleteQueue::Add(Kind kind, unsigned int name)
{
    if (name != 0)
        m_Entries.push_back(Entry{kind, name});
}

void GLDeleteQueue::Flush(const std::function<void(Kind, unsigned int)>& deleted)
{
    // Taken out first: the callback may queue nothing, but must not see a
    // half-flushed list either way.
    const std::vector<Entry> entries = std::move(m_Entries);
    m_Entries.clear();
    for (const Entry& e : entries) {
        DeleteNow(e.kind, e.name);
        if (deleted)
            deleted(e.kind, e.name);
    }
}

void GLDeleteQueue::DeleteNow(Kind kind, unsigned int name)
{
    if (name == 0)
        return;
    const GLuint n = name;
    switch (kind) {
    case Kind::Texture: glDeleteTextures(1, &n); break;
    case Kind::Buffer: glDeleteBuffers(1, &n); break;
    case Kind::Framebuffer: glDeleteFramebuffers(1, &n); break;
    case Kind::Renderbuffer: glDeleteRenderbuffers(1, &n); break;
    case Kind::Program: glDeleteProgram(n); break;
    }
}
